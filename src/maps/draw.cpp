// draw.cpp — drawing a map cell by cell and stepping the animated tiles.
//
// Tiles never overlap, so a frame may draw the cells in any order, and the
// cells whose tiles never change picture can be kept in a screen-sized
// cache: a frame then copies the cache and redraws only the animated cells.
// The cache is used only where every visible cell is covered by an opaque
// tile, so the pixels are exactly those of drawing every cell.
#include "maps/draw.h"

#include <algorithm>
#include <cmath>

#include "maps/catalogue.h"
#include "platform/display.h"
#include "platform/sprites.h"

namespace {

int Round(double v) { return static_cast<int>(std::lround(v)); }

const TileRecord *TileFor(const MapCatalogue &cat, int16_t v) {
  auto it = cat.tiles.find(std::to_string(v));
  return it == cat.tiles.end() ? nullptr : &it->second;
}

// A tile whose picture changes from frame to frame. A single frame changes
// at most when a step clips it differently, which counts as a change of the
// tile pictures (see StepAnimations).
bool Animated(const TileRecord &t) { return t.entry.frameCount > 1; }

void DrawTile(const TileRecord &t, int px, int py) {
  if (t.sprite < 0)
    return;
  if (t.entry.transparent)
    plat::DisplaySpriteTransparent(t.sprite, px, py, 255);
  else
    plat::DisplaySprite(t.sprite, px, py);
}

// A cell of a layer (cells stored column by column); 0 where the layer
// holds no cells.
int16_t CellOf(const MapRecord &m, const mapfile::Layer &l, int x, int y) {
  const size_t at =
      static_cast<size_t>(x) * static_cast<size_t>(m.entry.heightTiles) +
      static_cast<size_t>(y);
  return at < l.cells.size() ? l.cells[at] : 0;
}

struct Span {
  int x0, x1, y0, y1; // visible columns and rows, half-open
};

Span VisibleCells(const MapRecord &m, const MapView &v) {
  const double ts = v.tileSize;
  const int sw = plat::ScreenWidth(), sh = plat::ScreenHeight();
  Span s{0, m.entry.widthTiles, 0, m.entry.heightTiles};
  if (ts <= 0)
    return s;
  const int edge = Round(ts) + 1;
  while (s.x0 < s.x1 && Round(s.x0 * ts + v.offsetX) + edge <= 0)
    ++s.x0;
  while (s.x1 > s.x0 && Round((s.x1 - 1) * ts + v.offsetX) >= sw)
    --s.x1;
  while (s.y0 < s.y1 && Round(s.y0 * ts + v.offsetY) + edge <= 0)
    ++s.y0;
  while (s.y1 > s.y0 && Round((s.y1 - 1) * ts + v.offsetY) >= sh)
    --s.y1;
  return s;
}

void DrawCell(const MapCatalogue &cat, const MapRecord &m, const MapView &v,
              int x, int y) {
  const int px = Round(x * v.tileSize + v.offsetX);
  const int py = Round(y * v.tileSize + v.offsetY);
  for (const mapfile::Layer &l : m.entry.layers) {
    const int16_t value = CellOf(m, l, x, y);
    if (value <= 0)
      continue;
    if (const TileRecord *t = TileFor(cat, value))
      DrawTile(*t, px, py);
  }
}

// Whether the cell's first drawn tile hides whatever lay below it, and
// whether any of its tiles animates.
void ClassifyCell(const MapCatalogue &cat, const MapRecord &m, int x, int y,
                  bool &covered, bool &animated) {
  covered = false;
  animated = false;
  bool first = true;
  for (const mapfile::Layer &l : m.entry.layers) {
    const int16_t value = CellOf(m, l, x, y);
    if (value <= 0)
      continue;
    const TileRecord *t = TileFor(cat, value);
    if (t == nullptr || t->sprite < 0)
      continue;
    if (first)
      covered = !t->entry.transparent && plat::SpriteOpaque(t->sprite);
    first = false;
    if (Animated(*t))
      animated = true;
  }
}

// The cache was made for this map at this size and place, whatever cells
// changed since (the update draws them again).
bool CacheKeyFits(const MapView &v, const MapRecord &m,
                  const MapCatalogue &cat) {
  return v.cacheMap == m.id && v.cacheTileRevision == cat.tileRevision &&
         v.cacheTileSize == v.tileSize && v.cacheOffsetX == v.offsetX &&
         v.cacheOffsetY == v.offsetY && m.wholeChange <= v.cacheRevision;
}

bool CacheFits(const MapView &v, const MapRecord &m, const MapCatalogue &cat) {
  return v.cacheValid && CacheKeyFits(v, m, cat);
}

// A cache started ahead for this map at this size and place.
bool StartedCacheFits(const MapView &v, const MapRecord &m,
                      const MapCatalogue &cat) {
  return v.cacheStarted && CacheKeyFits(v, m, cat);
}

// Brings the cache up to date with single cell writes (a pickup taken, a
// door turned); false when a cell no longer allows the cache.
bool UpdateCache(const MapCatalogue &cat, const MapRecord &m, MapView &v,
                 const Span &s) {
  bool targetSet = false;
  bool ok = true;
  for (const auto &[revision, cell] : m.changes) {
    if (revision <= v.cacheRevision)
      continue;
    const int x = cell / 256, y = cell % 256;
    if (x < s.x0 || x >= s.x1 || y < s.y0 || y >= s.y1)
      continue;
    bool covered, animated;
    ClassifyCell(cat, m, x, y, covered, animated);
    if (!covered) {
      ok = false;
      break;
    }
    auto dynamic =
        std::find(v.dynamicCells.begin(), v.dynamicCells.end(), cell);
    if (animated) {
      if (dynamic == v.dynamicCells.end())
        v.dynamicCells.push_back(cell);
      continue;
    }
    if (dynamic != v.dynamicCells.end())
      v.dynamicCells.erase(dynamic);
    // The cell's first tile covers it whole, so drawing it again over the
    // old content gives the same pixels as drawing it afresh.
    if (!targetSet && !(targetSet = plat::SetRenderTarget(v.cacheSprite))) {
      ok = false;
      break;
    }
    DrawCell(cat, m, v, x, y);
  }
  if (targetSet)
    plat::SetRenderTarget(-1);
  if (!ok) {
    v.cacheValid = false;
    return false;
  }
  v.cacheRevision = m.revision;
  return true;
}

// Starts the cache of the static cells: sorts the visible cells and makes
// the cache's picture; false when the map cannot be cached (a visible cell
// not covered by an opaque tile).
bool StartCache(const MapCatalogue &cat, const MapRecord &m, MapView &v,
                const Span &s) {
  v.cacheValid = false;
  v.cacheStarted = false;
  v.dynamicCells.clear();
  v.staticCells.clear();
  v.cacheNext = 0;
  for (int x = s.x0; x < s.x1; ++x)
    for (int y = s.y0; y < s.y1; ++y) {
      bool covered, animated;
      ClassifyCell(cat, m, x, y, covered, animated);
      if (!covered)
        return false;
      (animated ? v.dynamicCells : v.staticCells).push_back(x * 256 + y);
    }
  const int sw = plat::ScreenWidth(), sh = plat::ScreenHeight();
  if (v.cacheSprite < 0 || plat::SpriteWidth(v.cacheSprite) != sw ||
      plat::SpriteHeight(v.cacheSprite) != sh)
    v.cacheSprite = plat::CreateTargetSprite(kMapCacheSprite, sw, sh, true);
  if (v.cacheSprite < 0)
    return false;
  v.cacheMap = m.id;
  v.cacheRevision = m.revision;
  v.cacheTileRevision = cat.tileRevision;
  v.cacheTileSize = v.tileSize;
  v.cacheOffsetX = v.offsetX;
  v.cacheOffsetY = v.offsetY;
  v.cacheStarted = true;
  return true;
}

// Draws up to `cells` more static cells into a started cache; the cache
// is valid once all are drawn. False when it cannot be drawn into.
bool ContinueCache(const MapCatalogue &cat, const MapRecord &m, MapView &v,
                   size_t cells) {
  if (!plat::SetRenderTarget(v.cacheSprite)) {
    v.cacheStarted = false;
    return false;
  }
  const size_t end = std::min(v.staticCells.size(), v.cacheNext + cells);
  for (; v.cacheNext < end; ++v.cacheNext) {
    const int cell = v.staticCells[v.cacheNext];
    DrawCell(cat, m, v, cell / 256, cell % 256);
  }
  plat::SetRenderTarget(-1);
  if (v.cacheNext == v.staticCells.size()) {
    v.cacheStarted = false;
    v.staticCells = {};
    v.cacheValid = true;
  }
  return true;
}

// Builds the cache of the static cells whole, or finishes one started
// ahead; false when the map cannot be cached.
bool BuildCache(const MapCatalogue &cat, const MapRecord &m, MapView &v,
                const Span &s) {
  if (!StartedCacheFits(v, m, cat) && !StartCache(cat, m, v, s))
    return false;
  return ContinueCache(cat, m, v, v.staticCells.size()) && v.cacheValid;
}

void DrawFromCache(const MapCatalogue &cat, const MapRecord &m,
                   const MapView &v, const Span &s) {
  const int sw = plat::ScreenWidth(), sh = plat::ScreenHeight();
  const int left = std::max(0, Round(s.x0 * v.tileSize + v.offsetX));
  const int top = std::max(0, Round(s.y0 * v.tileSize + v.offsetY));
  const int right = std::min(sw, Round(s.x1 * v.tileSize + v.offsetX));
  const int bottom = std::min(sh, Round(s.y1 * v.tileSize + v.offsetY));
  if (right > left && bottom > top) {
    plat::ClipSprite(v.cacheSprite, left, top, right - left, bottom - top);
    plat::DisplaySprite(v.cacheSprite, left, top);
  }
  for (int cell : v.dynamicCells)
    DrawCell(cat, m, v, cell / 256, cell % 256);
}

void StepAnimations(MapCatalogue &cat, const MapRecord &m, double size) {
  const int edge = Round(size);
  for (const std::string &id : cat.tileOrder) {
    TileRecord &t = cat.tiles[id];
    if (t.frameCounter != t.entry.frameDelay) {
      // Wraps rather than overflows when the delay is never met.
      t.frameCounter =
          static_cast<int32_t>(static_cast<uint32_t>(t.frameCounter) + 1u);
      continue;
    }
    t.frameCounter = 0;
    if (t.entry.frameCount <= 0)
      continue;
    t.currentFrame = t.currentFrame < t.entry.frameCount
                         ? static_cast<int8_t>(t.currentFrame + 1)
                         : static_cast<int8_t>(1);
    if (t.sprite < 0)
      continue;
    // A single frame clipped anew (a picture taller than the frame, a map
    // with another frame size) may look different: cached cells redraw.
    if (ClipTileFrame(t, t.currentFrame, m.entry.tileWidth,
                      m.entry.tileHeight) &&
        !Animated(t))
      ++cat.tileRevision;
    plat::ZoomSprite(t.sprite, edge, edge);
  }
}

} // namespace

void SetMapTileSize(MapCatalogue &cat, MapView &view, double size) {
  view.tileSize = size;
  const int edge = Round(size);
  std::vector<plat::SpriteZoom> zooms;
  for (const std::string &id : cat.tileOrder) {
    const TileRecord &t = cat.tiles[id];
    if (t.sprite >= 0)
      zooms.push_back({t.sprite, edge, edge});
  }
  plat::ZoomSprites(zooms);
  ++cat.tileRevision;
}

void SetMapOffsetX(MapView &view, int32_t x) { view.offsetX = x; }
void SetMapOffsetY(MapView &view, int32_t y) { view.offsetY = y; }

int32_t DrawMap(MapCatalogue &cat, MapView &view, const std::string &id) {
  if (id.empty())
    return -1;
  const MapRecord *m = FindMap(cat, id);
  if (m == nullptr)
    return -1;
  const Span s = VisibleCells(*m, view);
  // A cache finished here from one started ahead still takes the cells
  // changed since it was started.
  bool cached = false;
  if (view.allowCache &&
      (CacheFits(view, *m, cat) || BuildCache(cat, *m, view, s)))
    cached = UpdateCache(cat, *m, view, s) || BuildCache(cat, *m, view, s);
  if (cached) {
    DrawFromCache(cat, *m, view, s);
  } else {
    for (int x = s.x0; x < s.x1; ++x)
      for (int y = s.y0; y < s.y1; ++y)
        DrawCell(cat, *m, view, x, y);
  }
  if (view.animation != 0)
    StepAnimations(cat, *m, view.tileSize);
  return 0;
}

bool PrepareMapCache(MapCatalogue &cat, MapView &view, const std::string &id,
                     int cells) {
  const MapRecord *m = id.empty() ? nullptr : FindMap(cat, id);
  if (m == nullptr || !view.allowCache || cells <= 0)
    return true;
  if (CacheFits(view, *m, cat))
    return true;
  if (!StartedCacheFits(view, *m, cat) &&
      !StartCache(cat, *m, view, VisibleCells(*m, view)))
    return true;
  return ContinueCache(cat, *m, view, size_t(cells)) && view.cacheValid;
}

void ResetMapView(MapView &view) {
  if (view.cacheSprite >= 0)
    plat::FreeSprite(view.cacheSprite);
  view.cacheSprite = -1;
  view.cacheValid = false;
  view.cacheStarted = false;
  view.dynamicCells.clear();
  view.staticCells.clear();
}
