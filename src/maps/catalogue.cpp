// catalogue.cpp — loading the map archive, cell access and the level
// snapshot.
#include "maps/catalogue.h"

#include <algorithm>
#include <mutex>

#include "assets/ordered_work.h"
#include "assets/pack.h"
#include "maps/mapfile.h"
#include "platform/pictures.h"
#include "platform/sprites.h"

namespace {

MapRecord &RecordFor(MapCatalogue &cat, const std::string &id) {
  MapRecord &rec = cat.maps[id];
  rec.id = id;
  return rec;
}

void MarkWholeChange(MapRecord &m) {
  m.wholeChange = ++m.revision;
  m.changes.clear();
}

void ReadMap(MapRecord &rec, mapfile::MapEntry &&entry) {
  rec.entry = std::move(entry);
  MarkWholeChange(rec);
}

bool Extract(pack::Archive &archive, const std::string &name,
             std::vector<uint8_t> &out) {
  return pack::ExtractEntry(archive, name, kMapBufferSize, out) >= 0;
}

// Map pictures are small (a tile is a strip of a few 96-pixel frames, a
// background at most a full-HD screen): one larger than this is damaged, and an
// archive's pictures together stay within a bound, so that a modded archive
// cannot take all the memory.
constexpr uint64_t kMaxMapPictureBytes = 8ull << 20;
constexpr uint64_t kMaxMapPicturesTotal = 96ull << 20;

uint64_t PictureBytes(int w, int h) {
  return uint64_t(w > 0 ? w : 0) * uint64_t(h > 0 ? h : 0) * 4;
}

// Decodes a map picture whose header gives an acceptable size.
bool DecodeMapPicture(const std::vector<uint8_t> &bytes, plat::Picture &pic) {
  int w = 0, h = 0;
  return plat::PngSize(bytes.data(), bytes.size(), w, h) &&
         PictureBytes(w, h) <= kMaxMapPictureBytes &&
         plat::DecodePng(bytes.data(), bytes.size(), pic);
}

// Counts a picture against the archive's total; false once it is spent.
bool WithinTotal(uint64_t &total, uint64_t bytes) {
  if (bytes > kMaxMapPicturesTotal - total)
    return false;
  total += bytes;
  return true;
}

// Tile pictures keep fixed sprite numbers, so a reload reuses them instead
// of collecting new ones; -1 beyond the tiles' range.
int TileSpriteNumber(MapCatalogue &cat, TileRecord &rec) {
  if (rec.order < 0) {
    rec.order = static_cast<int>(cat.tileOrder.size());
    cat.tileOrder.push_back(rec.entry.id);
  }
  return rec.order < kMaxTileSprites ? kTileSpriteBase + rec.order : -1;
}

// pic is the tile's decoded picture, or nullptr when it is missing or
// cannot be decoded.
void LoadTile(MapCatalogue &cat, const mapfile::TileEntry &t,
              plat::Picture *pic) {
  TileRecord &rec = cat.tiles[t.id];
  rec.entry = t;
  const int number = TileSpriteNumber(cat, rec);
  unsigned flags = 0;
  if (t.solid)
    flags |= plat::kSpriteCollision;
  if (t.transparent)
    flags |= plat::kSpriteAlpha;
  ++cat.tileRevision;
  if (number < 0 || pic == nullptr ||
      plat::CreateSpriteFromPicture(number, std::move(*pic), flags) < 0) {
    if (number >= 0)
      plat::FreeSprite(number);
    rec.sprite = -1;
    return;
  }
  rec.sprite = number;
  ++cat.sheets[t.sheet].tileCount;
  cat.sheets[t.sheet].name = t.sheet;
  rec.clipX = rec.clipY = 0;
  rec.clipW = plat::SpriteWidth(number);
  rec.clipH = plat::SpriteHeight(number);
  if (t.frameCount > 1) {
    const MapRecord *owner = FindMap(cat, t.owningMap);
    ClipTileFrame(rec, 1, owner ? owner->entry.tileWidth : 0,
                  owner ? owner->entry.tileHeight : 0);
  }
}

void LoadBackground(MapCatalogue &cat, pack::Archive &archive,
                    const mapfile::BackgroundEntry &b, int ordinal,
                    uint64_t &total) {
  BackgroundRecord &rec = cat.backgrounds[b.name];
  rec.entry = b;
  // A picture that does not load this time leaves the slot empty, not
  // naming a number that is gone or someone else's.
  rec.sprites = kNoBackgroundSprites;
  const size_t count = std::min<size_t>(b.images.size(), rec.sprites.size());
  for (size_t k = 0; k < count; ++k) {
    const mapfile::BackgroundImage &src = b.images[k];
    if (ordinal >= kMaxBackgroundSets)
      continue;
    const int number =
        kBackgroundSpriteBase + ordinal * 16 + static_cast<int>(k);
    std::vector<uint8_t> bytes;
    plat::Picture pic;
    if (Extract(archive, mapfile::BackgroundEntryName(b.name, src.name),
                bytes) &&
        DecodeMapPicture(bytes, pic) &&
        WithinTotal(total, PictureBytes(pic.width, pic.height)) &&
        plat::CreateSpriteFromPicture(number, std::move(pic),
                                      plat::kSpriteAlpha) >= 0)
      rec.sprites[k] = number;
    else
      plat::FreeSprite(number);
  }
}

const mapfile::Layer *LayerOf(const MapCatalogue &cat, const std::string &id,
                              int layer, const MapRecord **map) {
  const MapRecord *m = FindMap(cat, id);
  *map = m;
  if (m == nullptr || layer < 0 || layer >= m->entry.layerCount ||
      layer >= static_cast<int>(m->entry.layers.size()))
    return nullptr;
  return &m->entry.layers[layer];
}

// A cell of the grid, and where a layer holds it; a layer's cells always
// cover the whole grid.
bool Inside(const MapRecord &m, int x, int y) {
  return x >= 0 && y >= 0 && x < m.entry.widthTiles && y < m.entry.heightTiles;
}

size_t CellIndex(const MapRecord &m, int x, int y) {
  return static_cast<size_t>(x) * static_cast<size_t>(m.entry.heightTiles) +
         static_cast<size_t>(y);
}

} // namespace

void LoadMaps(MapCatalogue &cat, const std::string &path) {
  pack::Archive archive;
  if (!pack::Open(archive, path))
    return;
  LoadMapsFrom(cat, archive);
  pack::Close(archive);
}

void LoadMapsFrom(MapCatalogue &cat, pack::Archive &archive) {
  std::vector<uint8_t> indexBytes;
  mapfile::Index index;
  if (!Extract(archive, mapfile::kIndexEntry, indexBytes) ||
      mapfile::ParseIndex(indexBytes.data(), indexBytes.size(), index) ==
          mapfile::IndexStatus::BadMagic)
    return;
  cat.header = index.header;

  for (const std::string &id : index.mapIds) {
    cat.mapIds.push_back(id);
    MapRecord &rec = RecordFor(cat, id);
    std::vector<uint8_t> bytes;
    mapfile::MapEntry entry;
    if (Extract(archive, mapfile::MapEntryName(id), bytes) &&
        mapfile::ParseMap(bytes.data(), bytes.size(), entry))
      ReadMap(rec, std::move(entry));
  }
  for (const std::string &name : index.sheets)
    cat.sheets[name].name = name;
  // Tile pictures are decoded on every core and made sprites in index
  // order on this thread. A tile without a picture is a result like any
  // other, so one walk serves the whole load.
  struct Decoded {
    bool ok = false;
    plat::Picture pic;
  };
  std::mutex archiveMutex; // the archive reader is not shared-safe
  const std::vector<mapfile::TileEntry> &tiles = index.tiles;
  uint64_t total = 0; // decoded bytes of the pictures taken, in index order
  OrderedWork<Decoded>(
      tiles.size(), 16,
      [&](size_t i) -> std::optional<Decoded> {
        Decoded out;
        std::vector<uint8_t> bytes;
        {
          std::lock_guard<std::mutex> lock(archiveMutex);
          if (!Extract(archive, mapfile::TileEntryName(tiles[i].id), bytes))
            return out;
        }
        out.ok = DecodeMapPicture(bytes, out.pic);
        return out;
      },
      [&](size_t i, Decoded *d) {
        const bool ok =
            d != nullptr && d->ok &&
            WithinTotal(total, PictureBytes(d->pic.width, d->pic.height));
        LoadTile(cat, tiles[i], ok ? &d->pic : nullptr);
      });
  int ordinal = 0;
  for (const mapfile::BackgroundEntry &b : index.backgrounds)
    LoadBackground(cat, archive, b, ordinal++, total);
}

bool ClipTileFrame(TileRecord &tile, int frame, int32_t tileWidth,
                   int32_t tileHeight) {
  if (tile.sprite < 0)
    return false;
  // In 64 bits: a crafted frame size times a frame number exceeds int.
  const int64_t pw = plat::SpriteWidth(tile.sprite);
  const int64_t ph = plat::SpriteHeight(tile.sprite);
  const int64_t w = std::max<int32_t>(tileWidth, 0);
  const int64_t h = std::max<int32_t>(tileHeight, 0);
  const int64_t x = (static_cast<int64_t>(frame) - 1) * tileWidth;
  const int64_t x0 = std::clamp<int64_t>(x, 0, pw);
  const int64_t x1 = std::clamp<int64_t>(x + w, 0, pw);
  const int64_t y1 = std::clamp<int64_t>(h, 0, ph);
  int32_t cx = 0, cw = 0, ch = 0;
  if (x1 > x0 && y1 > 0) {
    cx = static_cast<int32_t>(x0);
    cw = static_cast<int32_t>(x1 - x0);
    ch = static_cast<int32_t>(y1);
  }
  const bool changed = cx != tile.clipX || tile.clipY != 0 ||
                       cw != tile.clipW || ch != tile.clipH;
  tile.clipX = cx;
  tile.clipY = 0;
  tile.clipW = cw;
  tile.clipH = ch;
  plat::ClipSprite(tile.sprite, cx, 0, cw, ch);
  return changed;
}

const MapRecord *FindMap(const MapCatalogue &cat, const std::string &id) {
  auto it = cat.maps.find(id);
  return it == cat.maps.end() ? nullptr : &it->second;
}

int32_t GetTile(const MapCatalogue &cat, const std::string &id, int layer,
                int x, int y) {
  const MapRecord *m;
  const mapfile::Layer *l = LayerOf(cat, id, layer, &m);
  if (l == nullptr || !Inside(*m, x, y) || l->cells.empty())
    return -1;
  return l->cells[CellIndex(*m, x, y)];
}

int32_t SetTile(MapCatalogue &cat, const std::string &id, int layer, int x,
                int y, int32_t value) {
  auto it = cat.maps.find(id);
  if (it == cat.maps.end())
    return -1;
  MapRecord &m = it->second;
  if (layer < 0 || layer >= m.entry.layerCount ||
      layer >= static_cast<int>(m.entry.layers.size()) || !Inside(m, x, y) ||
      m.entry.layers[layer].cells.empty())
    return -1;
  m.entry.layers[layer].cells[CellIndex(m, x, y)] = static_cast<int16_t>(value);
  ++m.revision;
  // Only the recent writes are kept; beyond that the map counts as changed
  // all over.
  if (m.changes.size() >= 512)
    MarkWholeChange(m);
  else
    m.changes.emplace_back(m.revision, x * 256 + y);
  return 0;
}

int32_t IsTileEmpty(const MapCatalogue &cat, const std::string &id, int layer,
                    int x, int y) {
  const MapRecord *m;
  const mapfile::Layer *l = LayerOf(cat, id, layer, &m);
  if (l == nullptr)
    return -1;
  // Off the grid is never a way to go.
  if (!Inside(*m, x, y) || l->cells.empty())
    return 0;
  return l->cells[CellIndex(*m, x, y)] == 0 ? 1 : 0;
}

void StoreMap(MapCatalogue &cat, const std::string &id) {
  MapSnapshot &s = cat.snapshot;
  if (!s.mapName.empty() || s.exists)
    return;
  s.exists = true;
  s.mapName = id;
  s.layers.clear();
  s.heightTiles = 0;
  if (const MapRecord *m = FindMap(cat, id)) {
    s.heightTiles = m->entry.heightTiles;
    for (int i = 0; i < m->entry.layerCount &&
                    i < static_cast<int>(m->entry.layers.size());
         ++i)
      s.layers.push_back(m->entry.layers[i].cells);
  }
}

int RestoreMap(MapCatalogue &cat) {
  MapSnapshot &s = cat.snapshot;
  if (s.mapName.empty())
    return 0;
  auto it = cat.maps.find(s.mapName);
  if (it != cat.maps.end()) {
    MapRecord &m = it->second;
    const int layers =
        std::min({m.entry.layerCount, static_cast<int>(s.layers.size()),
                  static_cast<int>(m.entry.layers.size())});
    // The map has the shape it was stored with, unless the archive was
    // read again since: then the cells both shapes share.
    const size_t h = static_cast<size_t>(std::max(m.entry.heightTiles, 0));
    const size_t savedH = static_cast<size_t>(std::max(s.heightTiles, 0));
    for (int i = 0; i < layers; ++i) {
      std::vector<int16_t> &cells = m.entry.layers[i].cells;
      const std::vector<int16_t> &saved = s.layers[i];
      if (saved.size() == cells.size() && savedH == h) {
        cells = saved;
        continue;
      }
      const size_t rows = std::min(h, savedH);
      const size_t w = h == 0 ? 0 : cells.size() / h;
      const size_t savedW = savedH == 0 ? 0 : saved.size() / savedH;
      for (size_t x = 0; x < std::min(w, savedW); ++x)
        for (size_t y = 0; y < rows; ++y)
          cells[x * h + y] = saved[x * savedH + y];
    }
    MarkWholeChange(m);
  }
  return 1;
}

int DropStoredMap(MapCatalogue &cat) {
  MapSnapshot &s = cat.snapshot;
  if (s.mapName.empty() || !s.exists)
    return 0;
  s = MapSnapshot{};
  return 1;
}
