// timing.h — what the frame benchmarks run on (the headless drivers,
// unpaced) and the clocks and the percentile they report with.
#pragma once

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace bench {

// SDL's dummy drivers and the software renderer (unless the caller set
// others), and passes as fast as they run.
inline void HeadlessUnpaced() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  setenv("WARRENFOLD_UNPACED", "1", 1);
}

// CPU time of the calling thread: the main loop's own work.
inline double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

inline double WallMs() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// The value below which p % of the samples lie; 0 for no samples.
inline double Percentile(std::vector<double> v, int p) {
  if (v.empty())
    return 0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, v.size() * size_t(p) / 100)];
}

} // namespace bench
