// draw.h — drawing a map at the tile size and offset, and stepping the
// animated tiles.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct MapCatalogue;

struct MapView {
  double tileSize = 0.0; // MapTileSize
  int32_t offsetX = 0;
  int32_t offsetY = 0;
  int32_t animation = 1;
  bool allowCache = true; // off: every cell every frame (for comparisons)
  // Cache of the cells whose tiles never change picture, so a frame only
  // redraws the animated ones (same pixels as drawing every cell).
  int cacheSprite = -1;
  std::string cacheMap;
  uint64_t cacheRevision = 0, cacheTileRevision = 0;
  double cacheTileSize = 0.0;
  int32_t cacheOffsetX = 0, cacheOffsetY = 0;
  bool cacheValid = false;
  std::vector<int> dynamicCells; // x * 256 + y of cells drawn every frame
  // A cache made a part at a time ahead of its screen: the static cells
  // still to draw into it, from cacheNext on.
  bool cacheStarted = false;
  std::vector<int> staticCells;
  size_t cacheNext = 0;
};

// Sets the tile size and scales every tile picture to it.
void SetMapTileSize(MapCatalogue &cat, MapView &view, double size);
void SetMapOffsetX(MapView &view, int32_t x);
void SetMapOffsetY(MapView &view, int32_t y);
// Draws every visible layer of the map, then steps the tile animations.
// -1 without drawing or stepping when the map is not loaded.
int32_t DrawMap(MapCatalogue &cat, MapView &view, const std::string &id);
// Draws up to `cells` more cells of the map into its cache, as DrawMap
// would show it now, without showing anything or stepping the animations:
// a screen about to show the map spreads the cache's making over the
// passes before it. True when the cache is whole (or the map cannot be
// cached, when there is nothing to prepare).
bool PrepareMapCache(MapCatalogue &cat, MapView &view, const std::string &id,
                     int cells);
// Forgets the cache (the screen was closed or the catalogue reloaded).
void ResetMapView(MapView &view);
