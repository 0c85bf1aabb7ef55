// mapfile.h — reading and writing the entries of the map archive: the
// "index" entry and the "MAPS/<id>" entries, byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mapfile {

constexpr int kMaxLayers = 16, kMaxTiles = 129, kMaxBackgroundImages = 16;

// Fixed sizes of the stored records, in bytes.
constexpr size_t kIndexHeaderSize =
    1666; // magic up to and including the map count
constexpr size_t kMapIdSize = 64;
constexpr size_t kSheetNameSize = 256;
constexpr size_t kTileRecordSize = 587;
constexpr size_t kBackgroundImageSize = 142;
constexpr size_t kMapHeaderSize = 5796; // magic up to the first layer block
constexpr size_t kLayerHeaderSize = 269;

// The map archive's entry names.
inline const char *kIndexEntry = "index";
inline std::string MapEntryName(const std::string &id) { return "MAPS/" + id; }
inline std::string TileEntryName(const std::string &id) {
  return "TILES/" + id;
}
inline std::string BackgroundEntryName(const std::string &set,
                                       const std::string &image) {
  return "BACKGROUNDS/" + set + " - " + image;
}

// Fields of the format that nothing of ours fills or reads: kept as read,
// so that what is written back keeps its bytes.
struct ReservedHeader {
  int64_t number = 0;
  std::string text16, text256, text32; // by their length in UTF-16 units
  int32_t numbers[2] = {0, 0};
  uint8_t bytes[2] = {0, 0};
  int32_t moreNumbers[2] = {0, 0};
};

struct IndexHeader {
  std::string game;  // the game the archive is for: "Warrenfold"
  std::string title; // what it holds: "Mazes of Warrenfold"
  ReservedHeader reserved;
  // As read. WriteIndex writes the sizes of the lists instead.
  int32_t mapCount = 0, tileCount = 0;
};

struct TileEntry {
  std::string id, sheet, owningMap;
  bool solid = false, transparent = false;
  int8_t frameCount = 0;
  int32_t frameDelay = 0;
};

struct BackgroundImage {
  std::string name;
  // Numbers nothing of ours fills or reads, kept as read.
  int16_t reservedShort = 0;
  int32_t reserved[2] = {0, 0};
};

struct BackgroundEntry {
  std::string name;
  int8_t imageCount = 0; // as read; WriteIndex writes images.size()
  std::vector<BackgroundImage> images;
};

struct Index {
  IndexHeader header;
  std::vector<std::string> mapIds;
  std::vector<std::string> sheets;
  std::vector<TileEntry> tiles;
  std::vector<BackgroundEntry> backgrounds;
  int32_t trailer = 0;
};

enum class IndexStatus { Ok, BadMagic, Truncated };

// Fills what could be read, in order; a count that exceeds the remaining
// bytes or a field that runs past the end stops the parse there with
// Truncated (what was read before stays), a background record with more
// than 16 images or a negative count is rejected with the rest of the index.
// BadMagic: nothing filled.
IndexStatus ParseIndex(const uint8_t *data, size_t size, Index &out);

struct Layer {
  std::string name; // what the layer holds: "floor", "walls", ...
  // Numbers nothing of ours fills or reads, kept as read.
  int32_t reserved[3] = {0, 0, 0};
  int8_t reservedByte = 0;
  // widthTiles * heightTiles, index x * heightTiles + y (column by column,
  // as stored).
  std::vector<int16_t> cells;
};

struct MapEntry {
  std::string name;
  int32_t widthTiles = 0, heightTiles = 0, widthPixels = 0, heightPixels = 0,
          layerCount = 0, tileWidth = 0, tileHeight = 0;
  int32_t reservedNumber = 0; // nothing of ours fills or reads it
  std::string notes[5];
  std::string theme; // the look its tiles were drawn in ("meadow")
  std::vector<Layer> layers;
};

// False (and out untouched) for a wrong magic "MAP0", more than 16 layers, a
// negative count, more than 129 columns or rows, or fields/cells that run
// past the end of the entry.
bool ParseMap(const uint8_t *data, size_t size, MapEntry &out);

// The counts written are those of the lists (mapIds, tiles, images, layers),
// so what is written always parses back. Texts longer than their field are
// cut at a whole character.
std::vector<uint8_t> WriteIndex(const Index &index);
// Whether the format can hold the map: 0 to 129 columns and rows, at most
// 16 layers in the list.
bool MapFits(const MapEntry &map);
// Each layer is written with exactly widthTiles * heightTiles cells: missing
// cells are written as 0, extra ones are dropped. Empty (nothing to write)
// for a map that does not fit: cutting it down would move its cells.
std::vector<uint8_t> WriteMap(const MapEntry &map);

// Cell access for tools: the value, or 0 outside the grid or the layers.
int16_t CellAt(const MapEntry &map, int layer, int x, int y);
// Writes the cell when it lies inside the grid and the layers.
void SetCell(MapEntry &map, int layer, int x, int y, int16_t value);
// A map of the given size with layerCount empty layers.
MapEntry MakeMap(const std::string &name, int widthTiles, int heightTiles,
                 int layerCount, int tileWidth, int tileHeight);

} // namespace mapfile
