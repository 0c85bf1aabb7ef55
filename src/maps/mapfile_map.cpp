// mapfile_map.cpp — the "MAPS/<id>" entries: map header and layer blocks.
#include "maps/mapfile.h"
#include "maps/mapfile_bytes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace mapfile {

namespace {

bool InGrid(const MapEntry &map, int layer, int x, int y) {
  return layer >= 0 && layer < static_cast<int>(map.layers.size()) && x >= 0 &&
         y >= 0 && x < map.widthTiles && y < map.heightTiles;
}

// tiles * pixels, held to the int32 range.
int32_t PixelSpan(int tiles, int pixels) {
  const int64_t span = static_cast<int64_t>(tiles) * pixels;
  return static_cast<int32_t>(std::clamp<int64_t>(span, INT32_MIN, INT32_MAX));
}

size_t CellIndex(const MapEntry &map, int x, int y) {
  return static_cast<size_t>(x) * static_cast<size_t>(map.heightTiles) +
         static_cast<size_t>(y);
}

} // namespace

bool ParseMap(const uint8_t *data, size_t size, MapEntry &out) {
  if (data == nullptr || size < 4 || std::memcmp(data, "MAP0", 4) != 0)
    return false;
  MapEntry m;
  ByteReader r{data, size, 4};
  if (!(r.Skip(64) && r.Text(256, m.name) && r.I32(m.widthTiles) &&
        r.I32(m.heightTiles) && r.I32(m.widthPixels) && r.I32(m.heightPixels) &&
        r.I32(m.layerCount) && r.I32(m.tileWidth) && r.I32(m.tileHeight) &&
        r.I32(m.reservedNumber)))
    return false;
  for (std::string &note : m.notes)
    if (!r.Text(512, note))
      return false;
  if (!r.Text(32, m.theme))
    return false;
  if (m.layerCount < 0 || m.layerCount > kMaxLayers || m.widthTiles < 0 ||
      m.widthTiles > kMaxTiles || m.heightTiles < 0 ||
      m.heightTiles > kMaxTiles)
    return false;

  const size_t cells =
      static_cast<size_t>(m.widthTiles) * static_cast<size_t>(m.heightTiles);
  if (!r.Fits(static_cast<uint64_t>(m.layerCount),
              kLayerHeaderSize + 2 * cells))
    return false;
  m.layers.resize(static_cast<size_t>(m.layerCount));
  for (Layer &layer : m.layers) {
    r.Text(128, layer.name);
    r.I32(layer.reserved[0]);
    r.I32(layer.reserved[1]);
    r.I32(layer.reserved[2]);
    r.I8(layer.reservedByte);
    layer.cells.resize(cells);
    for (int16_t &cell : layer.cells)
      r.I16(cell);
  }
  out = std::move(m);
  return true;
}

bool MapFits(const MapEntry &map) {
  return map.widthTiles >= 0 && map.widthTiles <= kMaxTiles &&
         map.heightTiles >= 0 && map.heightTiles <= kMaxTiles &&
         map.layers.size() <= static_cast<size_t>(kMaxLayers);
}

std::vector<uint8_t> WriteMap(const MapEntry &map) {
  std::vector<uint8_t> bytes;
  if (!MapFits(map))
    return bytes;
  ByteWriter w{bytes};
  const int32_t width = map.widthTiles;
  const int32_t height = map.heightTiles;
  const size_t layers = map.layers.size();
  w.Bytes("MAP0", 4);
  w.Zeros(64);
  w.Text(map.name, 256);
  w.I32(width);
  w.I32(height);
  w.I32(map.widthPixels);
  w.I32(map.heightPixels);
  w.I32(static_cast<int32_t>(layers));
  w.I32(map.tileWidth);
  w.I32(map.tileHeight);
  w.I32(map.reservedNumber);
  for (const std::string &note : map.notes)
    w.Text(note, 512);
  w.Text(map.theme, 32);
  const size_t cells = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < layers; ++i) {
    const Layer &layer = map.layers[i];
    w.Text(layer.name, 128);
    w.I32(layer.reserved[0]);
    w.I32(layer.reserved[1]);
    w.I32(layer.reserved[2]);
    w.U8(static_cast<uint8_t>(layer.reservedByte));
    for (size_t k = 0; k < cells; ++k)
      w.I16(k < layer.cells.size() ? layer.cells[k] : int16_t{0});
  }
  return bytes;
}

int16_t CellAt(const MapEntry &map, int layer, int x, int y) {
  if (!InGrid(map, layer, x, y))
    return 0;
  const auto &cells = map.layers[static_cast<size_t>(layer)].cells;
  const size_t k = CellIndex(map, x, y);
  return k < cells.size() ? cells[k] : int16_t{0};
}

void SetCell(MapEntry &map, int layer, int x, int y, int16_t value) {
  if (!InGrid(map, layer, x, y))
    return;
  auto &cells = map.layers[static_cast<size_t>(layer)].cells;
  const size_t k = CellIndex(map, x, y);
  if (k < cells.size())
    cells[k] = value;
}

MapEntry MakeMap(const std::string &name, int widthTiles, int heightTiles,
                 int layerCount, int tileWidth, int tileHeight) {
  MapEntry m;
  m.name = name;
  m.widthTiles = widthTiles;
  m.heightTiles = heightTiles;
  m.widthPixels = PixelSpan(widthTiles, tileWidth);
  m.heightPixels = PixelSpan(heightTiles, tileHeight);
  m.layerCount = layerCount;
  m.tileWidth = tileWidth;
  m.tileHeight = tileHeight;
  m.layers.resize(static_cast<size_t>(std::max(layerCount, 0)));
  for (Layer &layer : m.layers)
    layer.cells.assign(static_cast<size_t>(std::max(widthTiles, 0)) *
                           static_cast<size_t>(std::max(heightTiles, 0)),
                       0);
  return m;
}

} // namespace mapfile
