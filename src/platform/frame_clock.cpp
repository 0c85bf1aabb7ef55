// frame_clock.cpp — frame deadlines on the performance counter.
#include "platform/frame_clock.h"

namespace plat::detail {

static uint64_t DeadlineOf(const FrameClock &clock, uint64_t frame) {
  // frame * frequency / fps without the overflow of the plain product:
  // with frame = q * fps + r it is q * frequency + r * frequency / fps.
  uint64_t fps = static_cast<uint64_t>(clock.fps);
  uint64_t q = frame / fps, r = frame % fps;
  return clock.base + q * clock.frequency + r * clock.frequency / fps;
}

uint64_t NextFrameDeadline(FrameClock &clock, uint64_t now) {
  if (clock.fps <= 0)
    clock.fps = 60;
  if (!clock.started) {
    clock.started = true;
    clock.base = now;
    clock.frames = 0;
    return now;
  }
  ++clock.frames;
  uint64_t due = DeadlineOf(clock, clock.frames);
  uint64_t slack = DeadlineOf(clock, clock.frames + kMaxFramesLate) - due;
  if (now > due && now - due > slack) {
    // Far behind (a stall, a debugger, a suspended laptop): racing through
    // the missed frames would run the game fast, so start afresh.
    clock.base = now;
    clock.frames = 0;
    return now;
  }
  return due;
}

void SetFrameClockRate(FrameClock &clock, int fps) {
  clock.fps = fps > 0 ? fps : 60;
  clock.started = false;
}

} // namespace plat::detail
