// flip.cpp — presenting a frame and pacing the frames to the set rate on
// the performance counter, whatever the display's refresh rate.
#include "platform/display.h"
#include "platform/internal.h"

namespace plat {

using detail::State;

namespace {

// Sleeping is coarse; the last stretch before the deadline is spun.
constexpr double kSpinMs = 1.5;

void WaitUntil(uint64_t deadline) {
  const double ticksPerMs = double(SDL_GetPerformanceFrequency()) / 1000.0;
  for (;;) {
    uint64_t now = SDL_GetPerformanceCounter();
    if (now >= deadline)
      return;
    double left = double(deadline - now) / ticksPerMs;
    if (left > kSpinMs + 0.5)
      SDL_Delay(static_cast<Uint32>(left - kSpinMs));
  }
}

} // namespace

void SetFrameRate(int fps) {
  detail::DisplayState &d = State().display;
  detail::SetFrameClockRate(d.clock, fps);
}

void Flip() {
  detail::DisplayState &d = State().display;
  if (!d.unpaced) {
    d.clock.frequency = SDL_GetPerformanceFrequency();
    WaitUntil(detail::NextFrameDeadline(d.clock, SDL_GetPerformanceCounter()));
  }
  detail::FlushBackdrop();
  if (d.renderer)
    SDL_RenderPresent(d.renderer.get());
  detail::ForgetUnusedBackdrop();
  detail::ForgetUnshownZoomedCopies();
  detail::RefillWarmReserve();
}

} // namespace plat
