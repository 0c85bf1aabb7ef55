// mapfile_index.cpp — the "index" entry: header, map IDs, tile sheets, tile
// records and background sets.
#include "maps/mapfile.h"
#include "maps/mapfile_bytes.h"

#include <algorithm>
#include <cstring>

namespace mapfile {

namespace {

constexpr size_t kBackgroundNameUnits = 32;
constexpr size_t kMinBackgroundRecord = 2 * kBackgroundNameUnits + 1;

bool ReadHeader(ByteReader &r, IndexHeader &h) {
  ReservedHeader &x = h.reserved;
  return r.Text(256, h.game) && r.Text(256, h.title) && r.I64(x.number) &&
         r.Text(16, x.text16) && r.Text(256, x.text256) &&
         r.Text(32, x.text32) && r.I32(x.numbers[0]) && r.I32(x.numbers[1]) &&
         r.U8(x.bytes[0]) && r.U8(x.bytes[1]) && r.I32(x.moreNumbers[0]) &&
         r.I32(x.moreNumbers[1]);
}

bool ReadTile(ByteReader &r, TileEntry &t) {
  uint8_t solid = 0, transparent = 0;
  if (!(r.Text(32, t.id) && r.Text(128, t.sheet) && r.Text(128, t.owningMap) &&
        r.U8(solid) && r.U8(transparent) && r.I8(t.frameCount) &&
        r.I32(t.frameDelay) && r.Skip(4)))
    return false;
  t.solid = solid != 0;
  t.transparent = transparent != 0;
  return true;
}

bool ReadImage(ByteReader &r, BackgroundImage &image) {
  return r.Text(64, image.name) && r.I16(image.reservedShort) &&
         r.I32(image.reserved[0]) && r.I32(image.reserved[1]) && r.Skip(4);
}

// A count that is negative or promises more records than the bytes left
// ends the parse.
bool ReadCount(ByteReader &r, size_t recordSize, int32_t &count) {
  return r.I32(count) && count >= 0 &&
         r.Fits(static_cast<uint64_t>(count), recordSize);
}

} // namespace

IndexStatus ParseIndex(const uint8_t *data, size_t size, Index &out) {
  if (data == nullptr || size < 4 || std::memcmp(data, "INX0", 4) != 0)
    return IndexStatus::BadMagic;
  out = Index{};
  ByteReader r{data, size, 4};
  constexpr auto kTruncated = IndexStatus::Truncated;

  if (!ReadHeader(r, out.header) || !r.I32(out.header.mapCount))
    return kTruncated;
  const int32_t maps = out.header.mapCount;
  if (maps < 0 || !r.Fits(static_cast<uint64_t>(maps), kMapIdSize))
    return kTruncated;
  for (int32_t i = 0; i < maps; ++i) {
    std::string id;
    r.Text(kMapIdSize / 2, id);
    out.mapIds.push_back(std::move(id));
  }

  int32_t sheets = 0;
  if (!ReadCount(r, kSheetNameSize, sheets))
    return kTruncated;
  for (int32_t i = 0; i < sheets; ++i) {
    std::string name;
    r.Text(kSheetNameSize / 2, name);
    out.sheets.push_back(std::move(name));
  }

  if (!r.I32(out.header.tileCount))
    return kTruncated;
  const int32_t tiles = out.header.tileCount;
  if (tiles < 0 || !r.Fits(static_cast<uint64_t>(tiles), kTileRecordSize))
    return kTruncated;
  out.tiles.reserve(static_cast<size_t>(tiles));
  for (int32_t i = 0; i < tiles; ++i) {
    TileEntry tile;
    ReadTile(r, tile);
    out.tiles.push_back(std::move(tile));
  }

  int32_t backgrounds = 0;
  if (!ReadCount(r, kMinBackgroundRecord, backgrounds))
    return kTruncated;
  for (int32_t i = 0; i < backgrounds; ++i) {
    BackgroundEntry set;
    if (!r.Text(kBackgroundNameUnits, set.name) || !r.I8(set.imageCount))
      return kTruncated;
    if (set.imageCount < 0 || set.imageCount > kMaxBackgroundImages ||
        !r.Fits(static_cast<uint64_t>(set.imageCount), kBackgroundImageSize))
      return kTruncated;
    for (int k = 0; k < set.imageCount; ++k) {
      BackgroundImage image;
      ReadImage(r, image);
      set.images.push_back(std::move(image));
    }
    out.backgrounds.push_back(std::move(set));
  }

  if (!r.I32(out.trailer))
    return kTruncated;
  return IndexStatus::Ok;
}

std::vector<uint8_t> WriteIndex(const Index &index) {
  std::vector<uint8_t> bytes;
  ByteWriter w{bytes};
  const IndexHeader &h = index.header;
  w.Bytes("INX0", 4);
  const ReservedHeader &x = h.reserved;
  w.Text(h.game, 256);
  w.Text(h.title, 256);
  w.I64(x.number);
  w.Text(x.text16, 16);
  w.Text(x.text256, 256);
  w.Text(x.text32, 32);
  w.I32(x.numbers[0]);
  w.I32(x.numbers[1]);
  w.U8(x.bytes[0]);
  w.U8(x.bytes[1]);
  w.I32(x.moreNumbers[0]);
  w.I32(x.moreNumbers[1]);

  w.I32(static_cast<int32_t>(index.mapIds.size()));
  for (const std::string &id : index.mapIds)
    w.Text(id, kMapIdSize / 2);

  w.I32(static_cast<int32_t>(index.sheets.size()));
  for (const std::string &name : index.sheets)
    w.Text(name, kSheetNameSize / 2);

  w.I32(static_cast<int32_t>(index.tiles.size()));
  for (const TileEntry &t : index.tiles) {
    w.Text(t.id, 32);
    w.Text(t.sheet, 128);
    w.Text(t.owningMap, 128);
    w.U8(t.solid ? 1 : 0);
    w.U8(t.transparent ? 1 : 0);
    w.U8(static_cast<uint8_t>(t.frameCount));
    w.I32(t.frameDelay);
    w.Zeros(4);
  }

  w.I32(static_cast<int32_t>(index.backgrounds.size()));
  for (const BackgroundEntry &set : index.backgrounds) {
    w.Text(set.name, kBackgroundNameUnits);
    const size_t count =
        std::min<size_t>(set.images.size(), kMaxBackgroundImages);
    w.U8(static_cast<uint8_t>(count));
    for (size_t k = 0; k < count; ++k) {
      const BackgroundImage &image = set.images[k];
      w.Text(image.name, 64);
      w.I16(image.reservedShort);
      w.I32(image.reserved[0]);
      w.I32(image.reserved[1]);
      w.Zeros(4);
    }
  }

  w.I32(index.trailer);
  return bytes;
}

} // namespace mapfile
