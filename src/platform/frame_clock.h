// frame_clock.h — the frame pacing arithmetic: when the next frame is due on
// a performance counter, with a reset instead of a catch-up race after a
// long stall. Pure, so that tests can drive it with made-up times.
#pragma once

#include <cstdint>

namespace plat::detail {

struct FrameClock {
  uint64_t frequency = 1; // counter ticks per second
  int fps = 60;
  bool started = false;
  uint64_t base = 0;   // counter value of frame 0
  uint64_t frames = 0; // frames since base
};

// Frames later than this start a new schedule rather than being caught up.
constexpr uint64_t kMaxFramesLate = 4;

// Counter value at which the next frame is due, given the counter now, and
// advances the schedule. Deadlines lie exactly base + n * frequency / fps, so
// no rounding error accumulates.
uint64_t NextFrameDeadline(FrameClock &clock, uint64_t now);

// Restarts the schedule at the given rate (the next frame is due at once).
void SetFrameClockRate(FrameClock &clock, int fps);

} // namespace plat::detail
