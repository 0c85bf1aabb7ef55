// cards.cpp — rendering every dialog card afresh, as after a change of
// language, in every shipped language at 1920 x 1080 and 3840 x 2160 on the
// software renderer. "first_ms" is the first rendering in the language,
// which also finds and loads the fonts of its script.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <string>

#include "platform/core.h"
#include "platform/display.h"
#include "platform/sprites.h"
#include "platform/text.h"
#include "settings/display.h"
#include "settings/languages.h"
#include "ui/dialogs.h"

namespace {

void RenderAll(const CardSources &src, const PendingSettings &pending) {
  RenderSettings(src, 1, pending);
  RenderMainMenu(src, 1);
  RenderCredits(src);
  RenderHelp(src);
  RenderLevelSelect(src, 1);
  RenderQuit(src, 1, false);
  RenderPause(src, 1);
  RenderComplete(src, 1);
  RenderCaught(src, 1);
}

void RenderEveryCard(benchmark::State &state, const std::string &file, int w) {
  const int h = w * 9 / 16;
  if (!plat::Init() || !plat::InitSprites() ||
      !plat::OpenWindow(w, h, "bench", plat::WindowStyle::Windowed) ||
      !plat::OpenScreenInWindow() || plat::LoadFont(0, "Arial", 30, true) < 0) {
    state.SkipWithError("no screen");
    return;
  }
  Languages lang;
  const std::string source = LanguageSource(WARRENFOLD_GAME_DIR);
  ScanLanguages(lang, source);
  LoadLanguage(lang, source, file);
  FindLanguage(lang, file);
  const Display d = DisplayForSize(w, h);
  const DialogLayout layout = LayoutDialogs(d);
  CreateCardSprites(layout);
  Progress progress;
  Play play;
  const CardSources src{lang, d, layout, progress, play};
  const PendingSettings pending;
  const auto start = std::chrono::steady_clock::now();
  RenderAll(src, pending);
  state.counters["first_ms"] = std::chrono::duration<double, std::milli>(
                                   std::chrono::steady_clock::now() - start)
                                   .count();
  for (auto _ : state)
    RenderAll(src, pending);
  plat::Shutdown();
}

} // namespace

int main(int argc, char **argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  benchmark::Initialize(&argc, argv);
  Languages lang;
  ScanLanguages(lang, LanguageSource(WARRENFOLD_GAME_DIR));
  for (const auto &choice : lang.choices)
    for (int w : {1920, 3840})
      benchmark::RegisterBenchmark(
          ("RenderEveryCard/" + choice.first + "/" + std::to_string(w)).c_str(),
          RenderEveryCard, choice.first, w)
          ->Unit(benchmark::kMillisecond);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
}
