// cards.cpp — rendering every dialog card afresh, as after a change of
// language, at 1920 x 1080 and 3840 x 2160 on the software renderer.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "platform/core.h"
#include "platform/display.h"
#include "platform/sprites.h"
#include "platform/text.h"
#include "settings/display.h"
#include "settings/languages.h"
#include "ui/dialogs.h"

namespace {

void RenderEveryCard(benchmark::State &state) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  const int w = static_cast<int>(state.range(0));
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
  LoadLanguage(lang, source, "de_DE");
  FindLanguage(lang, "de_DE");
  const Display d = DisplayForSize(w, h);
  const DialogLayout layout = LayoutDialogs(d);
  CreateCardSprites(layout);
  Progress progress;
  Play play;
  const CardSources src{lang, d, layout, progress, play};
  const PendingSettings pending;
  for (auto _ : state) {
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
  plat::Shutdown();
}

} // namespace

BENCHMARK(RenderEveryCard)->Arg(1920)->Arg(3840)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
