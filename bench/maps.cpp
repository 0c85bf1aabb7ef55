// maps.cpp — map figures on the shipped archive, headless on SDL's dummy
// video driver and software renderer: loading the map archive, and drawing
// a level per frame at 1920 x 1080 and 3840 x 2160 (with the cache of
// unchanging cells, and cell by cell for comparison).
#include "maps/catalogue.h"
#include "maps/draw.h"
#include "platform/core.h"
#include "platform/display.h"
#include "platform/sprites.h"
#include "settings/display.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace {

const std::string kArchive =
    std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.maps";

bool OpenScreen(int w, int h) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_RENDER_DRIVER", "software", 0);
  return plat::Init() && plat::InitSprites() &&
         plat::OpenWindow(w, h, "bench", plat::WindowStyle::Windowed) &&
         plat::OpenScreenInWindow();
}

void LoadMapsBench(benchmark::State &state) {
  if (!OpenScreen(1920, 1080)) {
    state.SkipWithError("no screen");
    return;
  }
  for (auto _ : state) {
    auto cat = std::make_unique<MapCatalogue>();
    LoadMaps(*cat, kArchive);
    if (cat->maps.size() != 21)
      state.SkipWithError("the archive does not hold the 21 maps");
    benchmark::DoNotOptimize(cat.get());
  }
  plat::Shutdown();
}
BENCHMARK(LoadMapsBench)
    ->Name("LoadMaps/shipped")
    ->Unit(benchmark::kMillisecond);

// Draws level "05" (pickups taken every 16 frames, as in play) or "M0".
void DrawMapBench(benchmark::State &state, int width, int height,
                  const char *id, bool cache) {
  if (!OpenScreen(width, height)) {
    state.SkipWithError("no screen");
    return;
  }
  auto cat = std::make_unique<MapCatalogue>();
  LoadMaps(*cat, kArchive);
  MapView view;
  view.allowCache = cache;
  const ScreenGeometry g =
      ComputeScreenGeometry(width, height, ClassifyAspectRatio(width, height));
  SetMapTileSize(*cat, view, g.tileSize);
  const bool menu = std::string(id) == "M0";
  SetMapOffsetX(view, menu ? g.menuOriginX : g.playOriginX);
  SetMapOffsetY(view, menu ? g.menuOriginY : g.playOriginY);
  int frame = 0, x = 2, y = 2;
  for (auto _ : state) {
    if (!menu && ++frame % 16 == 0) {
      // A pickup somewhere: the cell changes as when the player takes it.
      SetTile(*cat, id, 3, x, y, 0);
      x = x % 38 + 2;
      y = (y + 3) % 19 + 2;
    }
    DrawMap(*cat, view, id);
  }
  ResetMapView(view);
  plat::Shutdown();
}

BENCHMARK_CAPTURE(DrawMapBench, level_1920, 1920, 1080, "05", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawMapBench, level_1920_cell_by_cell, 1920, 1080, "05",
                  false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawMapBench, menu_1920, 1920, 1080, "M0", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawMapBench, level_3840, 3840, 2160, "05", true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(DrawMapBench, level_3840_cell_by_cell, 3840, 2160, "05",
                  false)
    ->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
