// core.cpp — bringing the libraries up and down, and the platform's one
// state record.
#include "platform/core.h"
#include "platform/internal.h"
#include "platform/random.h"
#include "platform/sprites.h"

#include <malloc.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <set>

namespace plat {

namespace detail {

PlatformState &State() {
  static PlatformState state;
  return state;
}

void ReportFailure(const char *what, const char *reason) {
  if (!reason || !*reason)
    reason = SDL_GetError();
  std::string line = std::string("Warrenfold: ") + (what ? what : "?") + ": " +
                     (reason && *reason ? reason : "unknown error");
  // Lines already written; past the cap, new kinds are dropped too rather
  // than let a stream of varying messages grow without end.
  constexpr size_t kMaxLines = 64;
  static std::mutex mutex;
  static std::set<std::string> written;
  std::lock_guard<std::mutex> lock(mutex);
  if (written.size() >= kMaxLines || !written.insert(line).second)
    return;
  std::fprintf(stderr, "%s\n", line.c_str());
}

bool EnsureVideo(bool report) {
  PlatformState &st = State();
  if (st.videoUp)
    return true;
  if (!st.initialised)
    return false;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    if (report)
      ReportFailure("SDL_InitSubSystem(video)");
    return false;
  }
  st.videoUp = true;
  return true;
}

} // namespace detail

using detail::State;

bool Init() {
  detail::PlatformState &st = State();
  if (st.initialised)
    return true;
  // UTF-8 names from libarchive and pango; LC_CTYPE only, so that numbers
  // keep their decimal point.
  setlocale(LC_CTYPE, "C.UTF-8");
  // Loading, and the banner frames decoded as they are first shown, go
  // through short-lived buffers of megabytes: keep freed memory for reuse
  // instead of handing it back to the system, which would make every new
  // buffer fault its pages in again.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_ARENA_MAX, 1);
  // Loading grows the heap by a hundred megabytes at 1920 x 1080: faulted
  // in ahead by a helper, in steps of this margin.
  detail::FollowHeap(uint64_t(32) << 20);
  // Events first: from here on SIGINT and SIGTERM arrive as a quit event.
  if (SDL_Init(SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    detail::ReportFailure("SDL_Init");
    return false;
  }
  st.initialised = true;
  // Video now when it can come up; otherwise the screen calls try again.
  detail::EnsureVideo();

  const char *unpaced = std::getenv("WARRENFOLD_UNPACED");
  st.display.unpaced = unpaced && std::strcmp(unpaced, "1") == 0;
  const char *seed = std::getenv("WARRENFOLD_SEED");
  if (seed && *seed) {
    char *end = nullptr;
    unsigned long long value = std::strtoull(seed, &end, 10);
    if (end && *end == '\0')
      SeedRandom(value);
  }
  return true;
}

void Shutdown() {
  detail::PlatformState &st = State();
  if (!st.initialised)
    return;
  detail::EndDrawing();
  detail::FreeAllSprites();
  detail::CloseScreenAndWindow();
  detail::DropWarmReserve();
  detail::StopFollowingHeap();
  st.images.Clear();
  st.fonts.Clear();
  detail::ReleaseText();
  if (st.audioUp) {
    Mix_HaltChannel(-1);
    st.sounds.Clear();
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  st.sounds.Clear();
  detail::ClosePads();
  st.input.virtualPad.reset();
  SDL_Quit();
  st = detail::PlatformState{};
}

bool InitSprites() {
  if (!detail::EnsureVideo(true))
    return false;
  const int drivers = SDL_GetNumRenderDrivers();
  if (drivers <= 0) {
    detail::ReportFailure("SDL_GetNumRenderDrivers",
                          drivers == 0 ? "no render driver" : nullptr);
    return false;
  }
  return true;
}

bool HeadlessVideo() {
  detail::PlatformState &st = State();
  const char *driver = nullptr;
  if (st.videoUp || detail::EnsureVideo())
    driver = SDL_GetCurrentVideoDriver();
  if (!driver)
    driver = SDL_GetHint("SDL_VIDEODRIVER");
  if (!driver)
    return false;
  return std::strcmp(driver, "dummy") == 0 ||
         std::strcmp(driver, "offscreen") == 0;
}

} // namespace plat
