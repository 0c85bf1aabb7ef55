// present_clock.cpp — preloaded into the game program (LD_PRELOAD) to time
// its frames from outside, with no hook in the game: it wraps
// SDL_RenderPresent and, when the program exits, writes one line per
// present to the file named by WF_PRESENT_LOG: the monotonic clock, the
// presenting thread's CPU clock and the wall clock (to compare with a time
// taken outside, before the program started), in nanoseconds, all read
// just before the real present. The game links SDL dynamically, so every
// present comes through here. Nothing is written while the game runs, so the
// log costs the frames no file access.
#include <dlfcn.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

struct SDL_Renderer;

namespace {

struct Present {
  int64_t wall, cpu, date;
};

int64_t Nanoseconds(clockid_t clock) {
  timespec t{};
  clock_gettime(clock, &t);
  return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

struct Log {
  std::vector<Present> presents;
  // Room for hours of frames up front: no reallocation in a frame.
  Log() { presents.reserve(1 << 20); }
  ~Log() {
    const char *path = std::getenv("WF_PRESENT_LOG");
    std::FILE *f = path ? std::fopen(path, "w") : nullptr;
    if (!f)
      return;
    for (const Present &p : presents)
      std::fprintf(f, "%lld %lld %lld\n", static_cast<long long>(p.wall),
                   static_cast<long long>(p.cpu),
                   static_cast<long long>(p.date));
    std::fclose(f);
  }
};

Log &TheLog() {
  static Log log;
  return log;
}

} // namespace

extern "C" void SDL_RenderPresent(SDL_Renderer *renderer) {
  using Real = void (*)(SDL_Renderer *);
  static const Real real =
      reinterpret_cast<Real>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
  TheLog().presents.push_back({Nanoseconds(CLOCK_MONOTONIC),
                               Nanoseconds(CLOCK_THREAD_CPUTIME_ID),
                               Nanoseconds(CLOCK_REALTIME)});
  if (real)
    real(renderer);
}
