// catalogue.h — the mazes in memory: maps with their layers of cells, the
// tiles that draw them, tile sheets, background sets, and the level
// snapshot that puts eaten pickups back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "maps/mapfile.h"

// A map as loaded: its entry of the archive as read, and what the game
// keeps beside it.
struct MapRecord {
  std::string id; // from the index
  // Name, sizes, texts and layers. Every layer in the list was read and is
  // drawn; a layer's cells are stored column by column.
  mapfile::MapEntry entry;
  // Cell writes, counted, so that drawing can keep what did not change:
  // the recent single writes by revision (cell as x * 256 + y), and the
  // last revision at which the map changed as a whole.
  uint64_t revision = 0;
  std::vector<std::pair<uint64_t, int>> changes;
  uint64_t wholeChange = 0;
};

// A tile as loaded: its record of the index, and its picture and animation.
struct TileRecord {
  mapfile::TileEntry entry;
  int sprite = -1; // none until its picture loaded
  int8_t currentFrame = 0;
  int32_t frameCounter = 0;
  int order = -1; // place in MapCatalogue::tileOrder, -1 before the first load
  // The part of the picture it shows, as last clipped (picture pixels).
  int32_t clipX = 0, clipY = 0, clipW = 0, clipH = 0;
};

struct TileSheet {
  std::string name;
  int32_t tileCount = 0;
};

// A background set as loaded: its record of the index (up to 16 images),
// and each image's picture.
constexpr std::array<int, mapfile::kMaxBackgroundImages> kNoBackgroundSprites =
    [] {
      std::array<int, mapfile::kMaxBackgroundImages> none{};
      none.fill(-1);
      return none;
    }();
struct BackgroundRecord {
  mapfile::BackgroundEntry entry;
  // Each image's picture, -1 for none.
  std::array<int, mapfile::kMaxBackgroundImages> sprites = kNoBackgroundSprites;
};

// The index's header fields, as read (the game does not interpret them).
using MapIndexHeader = mapfile::IndexHeader;

struct MapSnapshot {
  std::string mapName; // StoredMapName: empty when there is none
  bool exists = false;
  int heightTiles = 0; // of the map when stored: the cells' column length
  std::vector<std::vector<int16_t>> layers; // copies of the stored cells
};

struct MapCatalogue {
  std::unordered_map<std::string, MapRecord> maps;
  std::vector<std::string> mapIds; // index order, IDs again on each load
  std::unordered_map<std::string, TileSheet> sheets;
  std::unordered_map<std::string, TileRecord> tiles;
  std::vector<std::string> tileOrder; // first-seen order, for stepping
  std::unordered_map<std::string, BackgroundRecord> backgrounds;
  MapIndexHeader header;
  MapSnapshot snapshot;
  uint64_t tileRevision = 0; // counts changes of tile pictures
};

inline const char *kMapArchive = "Warrenfold.maps";
constexpr size_t kMapBufferSize = 20971520;

// Sprite numbers of the maps, in ranges that cannot meet: the drawing
// cache, then one per tile in first-seen order (room for more tiles than an
// index can list), then 16 per background set in index order. A tile or
// background set beyond its range gets no picture.
constexpr int kMapCacheSprite = 19999;
constexpr int kTileSpriteBase = 20000;
constexpr int kMaxTileSprites = 40000;
constexpr int kBackgroundSpriteBase = kTileSpriteBase + kMaxTileSprites;
constexpr int kMaxBackgroundSets = 4096;
static_assert(kMapBufferSize / mapfile::kTileRecordSize < kMaxTileSprites);

// Reads the archive into the catalogue (needs an open screen: tiles become
// sprites). Records with a key seen before are overwritten in place; the
// snapshot and the tiles' animation state are kept. Reports nothing.
void LoadMaps(MapCatalogue &cat, const std::string &path);
// The same from an archive already open (in memory, for instance).
namespace pack {
struct Archive;
}
void LoadMapsFrom(MapCatalogue &cat, pack::Archive &archive);
// The map, or nullptr when the ID was never loaded.
const MapRecord *FindMap(const MapCatalogue &cat, const std::string &id);

// Cell access. A layer at or above the map's layer count gives -1 (no
// write). A cell outside the map's grid reads as a wall: GetTile -1,
// IsTileEmpty 0, SetTile -1 without writing.
int32_t GetTile(const MapCatalogue &cat, const std::string &id, int layer,
                int x, int y);
int32_t SetTile(MapCatalogue &cat, const std::string &id, int layer, int x,
                int y, int32_t value);
// 1 empty, 0 not, -1 layer missing (callers take non-zero as free).
int32_t IsTileEmpty(const MapCatalogue &cat, const std::string &id, int layer,
                    int x, int y);

// Clips the tile's picture to frame `frame` (from 1) of frames tileWidth x
// tileHeight side by side, as far as the picture reaches; any frame number
// and frame size are safe. True when the part shown changed.
bool ClipTileFrame(TileRecord &tile, int frame, int32_t tileWidth,
                   int32_t tileHeight);

void StoreMap(MapCatalogue &cat, const std::string &id);
int RestoreMap(MapCatalogue &cat);
int DropStoredMap(MapCatalogue &cat);
