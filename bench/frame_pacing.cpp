// frame_pacing.cpp — the platform's timing figures, headless on SDL's dummy
// video driver and software renderer: frame pacing over 10 seconds, the
// cost of a zoomed blended tile with and without its pre-scaled copy, and
// decoding plus uploading the banner frames on one and on two threads.
#include "platform/core.h"
#include "platform/display.h"
#include "platform/pictures.h"
#include "platform/sprites.h"
#include "platform/test_hooks.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

void Headless() {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
}

bool OpenScreen(int w, int h) {
  Headless();
  return plat::Init() &&
         plat::OpenWindow(w, h, "bench", plat::WindowStyle::Windowed) &&
         plat::OpenScreenInWindow();
}

double ResidentMiB() {
  std::ifstream in("/proc/self/statm");
  long pages = 0, resident = 0;
  in >> pages >> resident;
  return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1 << 20);
}

// 10 seconds of paced flips of a cleared 1920x1080 screen: the mean frame
// interval and how far the intervals stray from 1/60 s.
void BM_FramePacing(benchmark::State &state) {
  if (!OpenScreen(1920, 1080)) {
    state.SkipWithError("no screen");
    return;
  }
  plat::SetFrameRate(60);
  const double seconds = double(state.range(0));
  for (auto _ : state) {
    std::vector<double> intervals;
    plat::Flip();
    auto last = Clock::now();
    const auto end = last + std::chrono::duration<double>(seconds);
    while (last < end) {
      plat::ClearScreen({20, 30, 40, 255});
      plat::Flip();
      auto now = Clock::now();
      intervals.push_back(
          std::chrono::duration<double, std::milli>(now - last).count());
      last = now;
    }
    double sum = 0;
    std::vector<double> deviation;
    for (double v : intervals) {
      sum += v;
      deviation.push_back(std::fabs(v - 1000.0 / 60.0));
    }
    std::sort(deviation.begin(), deviation.end());
    const double mean = sum / double(intervals.size());
    state.counters["frames"] = double(intervals.size());
    state.counters["mean_ms"] = mean;
    state.counters["p99_dev_ms"] = deviation[deviation.size() * 99 / 100];
    state.counters["max_dev_ms"] = deviation.back();
    state.SetIterationTime(sum / 1000.0);
  }
  plat::Shutdown();
}
BENCHMARK(BM_FramePacing)
    ->Arg(10)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// A 96-pixel animation strip shown at 48x48 and blended, as the monsters
// and the player are on a 1920x1080 screen; 4,300 copies a pass (one map's
// worth). Arg 1 draws from the pre-scaled copy, 0 lets the renderer scale.
void BM_ZoomedBlendedTile(benchmark::State &state) {
  if (!OpenScreen(1920, 1080)) {
    state.SkipWithError("no screen");
    return;
  }
  plat::Picture strip;
  strip.width = 384;
  strip.height = 96;
  strip.pixels.resize(size_t(384) * 96 * 4);
  for (int y = 0; y < 96; ++y)
    for (int x = 0; x < 384; ++x) {
      uint8_t *p = &strip.pixels[(size_t(y) * 384 + x) * 4];
      const int dx = x % 96 - 48, dy = y - 48;
      const bool inside = dx * dx + dy * dy < 40 * 40;
      p[0] = uint8_t(x), p[1] = uint8_t(y * 2), p[2] = 200;
      p[3] = inside ? 255 : 0;
    }
  plat::SetSpritePrescale(state.range(0) != 0);
  plat::SetSpriteQuality(1);
  const int s =
      plat::CreateSpriteFromPicture(1, std::move(strip), plat::kSpriteAlpha);
  plat::ClipSprite(s, 0, 0, 96, 96);
  plat::ZoomSprite(s, 48, 48);
  constexpr int kCopies = 4300;
  int frame = 0;
  for (auto _ : state) {
    plat::ClipSprite(s, (frame++ % 4) * 96, 0, 96, 96);
    for (int i = 0; i < kCopies; ++i)
      plat::DisplaySpriteTransparent(s, (i % 43) * 48 - 72, (i / 43 % 25) * 48);
    benchmark::ClobberMemory();
  }
  // Seconds per copy (shown with an SI prefix: 1.5u is 1.5 microseconds).
  state.counters["per_copy"] = benchmark::Counter(
      double(state.iterations()) * kCopies,
      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  plat::Shutdown();
}
BENCHMARK(BM_ZoomedBlendedTile)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

// 185 banner frames of 1400x800, mostly transparent: a soft, busy blob in
// the middle that moves from frame to frame.
const std::vector<std::vector<uint8_t>> &BannerPngs() {
  static std::vector<std::vector<uint8_t>> pngs = [] {
    std::vector<std::vector<uint8_t>> out(185);
    for (int f = 0; f < 185; ++f) {
      plat::Picture p;
      p.width = 1400;
      p.height = 800;
      p.pixels.assign(size_t(1400) * 800 * 4, 0);
      const double cx = 700 + 200 * std::sin(f * 0.1), cy = 400;
      for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 1400; ++x) {
          const double dx = (x - cx) / 420, dy = (y - cy) / 190;
          const double d = dx * dx + dy * dy;
          if (d >= 1)
            continue;
          uint8_t *q = &p.pixels[(size_t(y) * 1400 + x) * 4];
          q[0] = uint8_t(x * 3 + f), q[1] = uint8_t((x ^ y) + f * 5);
          q[2] = uint8_t(y * 2), q[3] = uint8_t(d > 0.9 ? (1 - d) * 2550 : 255);
        }
      plat::EncodePng(p, out[f]);
    }
    return out;
  }();
  return pngs;
}

// One banner frame shrunk to a 1280-pixel-wide screen's size: what a
// smooth resampling would cost once, against showing it zoomed by the
// renderer once a frame (the platform does the latter for pictures this
// large).
void BM_BannerShrink(benchmark::State &state) {
  const auto &pngs = BannerPngs();
  if (!OpenScreen(1280, 720)) {
    state.SkipWithError("no screen");
    return;
  }
  plat::Picture pic;
  plat::DecodePng(pngs[0].data(), pngs[0].size(), pic);
  auto start = Clock::now();
  plat::Picture small = plat::ResamplePicture(pic, 933, 533);
  state.counters["resample_ms"] =
      std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  plat::SetSpriteQuality(1);
  const int s = plat::CreateSpriteFromPicture(
      1, std::move(pic), plat::kSpriteAlpha | plat::kSpriteTrim);
  plat::ZoomSprite(s, 933, 533);
  for (auto _ : state)
    plat::DisplaySpriteTransparent(s, 173, 93);
  plat::Shutdown();
}
BENCHMARK(BM_BannerShrink)->Unit(benchmark::kMillisecond);

// Decoding on `threads` workers (a few frames ahead at most) while the
// main thread makes the sprites in order, as the asset loader does; with
// no workers the main thread decodes too.
void LoadBanners(int threads, unsigned flags, std::vector<int> &sprites) {
  const auto &pngs = BannerPngs();
  const int n = int(pngs.size());
  if (threads == 0) {
    for (const auto &png : pngs) {
      plat::Picture pic;
      plat::DecodePng(png.data(), png.size(), pic);
      sprites.push_back(plat::CreateSpriteFromPicture(plat::kAnyNumber,
                                                      std::move(pic), flags));
    }
    return;
  }
  std::vector<plat::Picture> slots(n);
  std::vector<char> ready(n, 0);
  std::mutex m;
  std::condition_variable cv;
  std::atomic<int> next{0};
  int made = 0;
  auto worker = [&] {
    for (;;) {
      int i = next++;
      if (i >= n)
        return;
      {
        std::unique_lock lock(m);
        cv.wait(lock, [&] { return i < made + 2 * threads + 2; });
      }
      plat::Picture pic;
      plat::DecodePng(pngs[i].data(), pngs[i].size(), pic);
      std::lock_guard lock(m);
      slots[i] = std::move(pic);
      ready[i] = 1;
      cv.notify_all();
    }
  };
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t)
    pool.emplace_back(worker);
  for (int i = 0; i < n; ++i) {
    plat::Picture pic;
    {
      std::unique_lock lock(m);
      cv.wait(lock, [&] { return ready[i] != 0; });
      pic = std::move(slots[i]);
    }
    sprites.push_back(
        plat::CreateSpriteFromPicture(plat::kAnyNumber, std::move(pic), flags));
    std::lock_guard lock(m);
    made = i + 1;
    cv.notify_all();
  }
  for (auto &t : pool)
    t.join();
}

// Args: decoding threads besides the main one (0: all on the main thread);
// 1 to trim the frames. The CPU column counts every thread.
void BM_BannerDecodeUpload(benchmark::State &state) {
  BannerPngs();
  if (!OpenScreen(1920, 1080)) {
    state.SkipWithError("no screen");
    return;
  }
  const unsigned flags =
      plat::kSpriteAlpha | (state.range(1) ? plat::kSpriteTrim : 0u);
  double mib = 0;
  for (auto _ : state) {
    const double before = ResidentMiB();
    std::vector<int> sprites;
    LoadBanners(int(state.range(0)), flags, sprites);
    mib = ResidentMiB() - before;
    state.PauseTiming();
    for (int s : sprites)
      plat::FreeSprite(s);
    state.ResumeTiming();
  }
  state.counters["resident_MiB"] = mib;
  plat::Shutdown();
}
BENCHMARK(BM_BannerDecodeUpload)
    ->Args({0, 0})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({0, 1})
    ->Args({2, 1})
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(2)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
