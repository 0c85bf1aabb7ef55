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

void ReadMap(MapRecord &rec, const mapfile::MapEntry &m) {
  rec.name = m.name;
  rec.widthTiles = m.widthTiles;
  rec.heightTiles = m.heightTiles;
  rec.widthPixels = m.widthPixels;
  rec.heightPixels = m.heightPixels;
  rec.layerCount = m.layerCount;
  rec.tileWidth = m.tileWidth;
  rec.tileHeight = m.tileHeight;
  rec.extraNumber = m.reservedNumber;
  rec.extraText = m.theme;
  for (int i = 0; i < 5; ++i)
    rec.notes[i] = m.notes[i];
  for (int i = 0; i < m.layerCount; ++i) {
    const mapfile::Layer &src = m.layers[i];
    MapLayer &dst = rec.layers[i];
    dst.text = src.name;
    dst.value1 = src.reserved[0];
    dst.value2 = src.reserved[1];
    dst.value3 = src.reserved[2];
    dst.value4 = src.reservedByte;
    dst.visible = 1;
    dst.cells.assign(kMapGrid * kMapGrid, 0);
    for (int x = 0; x < m.widthTiles; ++x)
      for (int y = 0; y < m.heightTiles; ++y)
        dst.cells[x * kMapGrid + y] = src.cells[x * m.heightTiles + y];
  }
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
    cat.tileOrder.push_back(rec.id);
  }
  return rec.order < kMaxTileSprites ? kTileSpriteBase + rec.order : -1;
}

// pic is the tile's decoded picture, or nullptr when it is missing or
// cannot be decoded.
void LoadTile(MapCatalogue &cat, const mapfile::TileEntry &t,
              plat::Picture *pic) {
  TileRecord &rec = cat.tiles[t.id];
  rec.id = t.id;
  rec.sheet = t.sheet;
  rec.owningMap = t.owningMap;
  rec.solid = t.solid ? 1 : 0;
  rec.transparent = t.transparent ? 1 : 0;
  rec.frameCount = t.frameCount;
  rec.frameDelay = t.frameDelay;
  const int number = TileSpriteNumber(cat, rec);
  unsigned flags = 0;
  if (rec.solid)
    flags |= plat::kSpriteCollision;
  if (rec.transparent)
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
  ++cat.sheets[rec.sheet].tileCount;
  cat.sheets[rec.sheet].name = rec.sheet;
  rec.clipX = rec.clipY = 0;
  rec.clipW = plat::SpriteWidth(number);
  rec.clipH = plat::SpriteHeight(number);
  if (rec.frameCount > 1) {
    const MapRecord *owner = FindMap(cat, rec.owningMap);
    ClipTileFrame(rec, 1, owner ? owner->tileWidth : 0,
                  owner ? owner->tileHeight : 0);
  }
}

void LoadBackground(MapCatalogue &cat, pack::Archive &archive,
                    const mapfile::BackgroundEntry &b, int ordinal,
                    uint64_t &total) {
  BackgroundRecord &rec = cat.backgrounds[b.name];
  rec.name = b.name;
  rec.imageCount = b.imageCount;
  const size_t count = std::min<size_t>(b.images.size(), rec.images.size());
  for (size_t k = 0; k < count; ++k) {
    const mapfile::BackgroundImage &src = b.images[k];
    BackgroundImage &dst = rec.images[k];
    dst.name = src.name;
    dst.value1 = src.reservedShort;
    dst.value2 = src.reserved[0];
    dst.value3 = src.reserved[1];
    // A picture that does not load this time leaves the slot empty, not
    // naming a number that is gone or someone else's.
    dst.sprite = -1;
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
      dst.sprite = number;
    else
      plat::FreeSprite(number);
  }
}

const MapLayer *LayerOf(const MapCatalogue &cat, const std::string &id,
                        int layer, const MapRecord **map) {
  const MapRecord *m = FindMap(cat, id);
  *map = m;
  if (m == nullptr || layer < 0 || layer >= m->layerCount)
    return nullptr;
  return &m->layers[layer];
}

bool Inside(const MapRecord &m, int x, int y) {
  return x >= 0 && y >= 0 && x < m.widthTiles && y < m.heightTiles &&
         x < kMapGrid && y < kMapGrid;
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
      ReadMap(rec, entry);
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
  const MapLayer *l = LayerOf(cat, id, layer, &m);
  if (l == nullptr || !Inside(*m, x, y) || l->cells.empty())
    return -1;
  return l->cells[x * kMapGrid + y];
}

int32_t SetTile(MapCatalogue &cat, const std::string &id, int layer, int x,
                int y, int32_t value) {
  auto it = cat.maps.find(id);
  if (it == cat.maps.end())
    return -1;
  MapRecord &m = it->second;
  if (layer < 0 || layer >= m.layerCount || !Inside(m, x, y) ||
      m.layers[layer].cells.empty())
    return -1;
  m.layers[layer].cells[x * kMapGrid + y] = static_cast<int16_t>(value);
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
  const MapLayer *l = LayerOf(cat, id, layer, &m);
  if (l == nullptr)
    return -1;
  // Off the grid is never a way to go.
  if (!Inside(*m, x, y) || l->cells.empty())
    return 0;
  return l->cells[x * kMapGrid + y] == 0 ? 1 : 0;
}

void StoreMap(MapCatalogue &cat, const std::string &id) {
  MapSnapshot &s = cat.snapshot;
  if (!s.mapName.empty() || s.exists)
    return;
  s.exists = true;
  s.mapName = id;
  s.layers.clear();
  if (const MapRecord *m = FindMap(cat, id))
    for (int i = 0; i < m->layerCount; ++i)
      s.layers.push_back(m->layers[i].cells);
}

int RestoreMap(MapCatalogue &cat) {
  MapSnapshot &s = cat.snapshot;
  if (s.mapName.empty())
    return 0;
  auto it = cat.maps.find(s.mapName);
  if (it != cat.maps.end()) {
    MapRecord &m = it->second;
    const int layers = std::min<int>(m.layerCount, s.layers.size());
    const int w = std::min(m.widthTiles, kMapGrid);
    const int h = std::min(m.heightTiles, kMapGrid);
    for (int i = 0; i < layers; ++i) {
      std::vector<int16_t> &cells = m.layers[i].cells;
      const std::vector<int16_t> &saved = s.layers[i];
      if (cells.empty() || saved.empty())
        continue;
      for (int x = 0; x < w; ++x)
        for (int y = 0; y < h; ++y)
          cells[x * kMapGrid + y] = saved[x * kMapGrid + y];
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
