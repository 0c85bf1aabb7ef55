// loadmaps.cpp — fuzz target: the map loader on arbitrary archive bytes,
// then every map drawn and its cells read, as the game would.
#include "assets/pack.h"
#include "maps/catalogue.h"
#include "maps/draw.h"
#include "platform/core.h"
#include "platform/display.h"
#include "platform/sprites.h"

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

bool ScreenUp() {
  static const bool up = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    return plat::Init() && plat::InitSprites() &&
           plat::OpenWindow(64, 64, "fuzz", plat::WindowStyle::Windowed) &&
           plat::OpenScreenInWindow();
  }();
  return up;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (!ScreenUp())
    return 0;
  pack::Archive archive;
  if (!pack::OpenMemory(archive, std::vector<uint8_t>(data, data + size)))
    return 0;
  auto cat = std::make_unique<MapCatalogue>();
  MapView view;
  LoadMapsFrom(*cat, archive);
  SetMapTileSize(*cat, view, 16);
  for (const std::string &id : cat->mapIds) {
    DrawMap(*cat, view, id);
    StoreMap(*cat, id);
    for (int layer = -1; layer <= 17; ++layer)
      for (int xy = -1; xy <= 130; xy += 13) {
        GetTile(*cat, id, layer, xy, xy);
        IsTileEmpty(*cat, id, layer, xy, 0);
        SetTile(*cat, id, layer, 0, xy, 5);
      }
    RestoreMap(*cat);
    DropStoredMap(*cat);
  }
  ResetMapView(view);
  for (const std::string &id : cat->tileOrder)
    plat::FreeSprite(cat->tiles[id].sprite);
  return 0;
}
