// mapfile_format.cpp — byte layout, round trips and damaged input of the
// map archive's index and map entries.
#include "maps/mapfile.h"
#include "maps/mapfile_bytes.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <tuple>

namespace {

using mapfile::Index;
using mapfile::IndexStatus;
using mapfile::MapEntry;

// Where the sample index's lists start: map IDs, sheets, tiles, backgrounds.
constexpr size_t kIds = 1666, kSheets = kIds + 2 * 64,
                 kTiles = kSheets + 4 + 2 * 256,
                 kBackgrounds = kTiles + 4 + 2 * 587;

int32_t ReadI32(const std::vector<uint8_t> &b, size_t at) {
  return static_cast<int32_t>(b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
                              (static_cast<uint32_t>(b[at + 3]) << 24));
}

void PutI32(std::vector<uint8_t> &b, size_t at, int32_t v) {
  for (int k = 0; k < 4; ++k)
    b[at + k] = static_cast<uint8_t>(static_cast<uint32_t>(v) >> (8 * k));
}

// Parses from a heap copy of exactly `size` bytes, so that a read past the
// end is caught by the address sanitizer.
IndexStatus ParseIndexCopy(const std::vector<uint8_t> &bytes, size_t size,
                           Index &out) {
  const std::vector<uint8_t> copy(bytes.begin(), bytes.begin() + size);
  return mapfile::ParseIndex(copy.data(), size, out);
}

bool ParseMapCopy(const std::vector<uint8_t> &bytes, size_t size,
                  MapEntry &out) {
  const std::vector<uint8_t> copy(bytes.begin(), bytes.begin() + size);
  return mapfile::ParseMap(copy.data(), size, out);
}

Index SampleIndex() {
  Index index;
  index.header = {"Warrenfold",
                  "Grüße aus dem Bau",
                  {-1234567890123LL,
                   "v3",
                   "notes",
                   "five",
                   {7, -8},
                   {0xAB, 0xCD},
                   {1 << 30, -1}}};
  index.mapIds = {"01", "M0"};
  index.sheets = {"items", "meadow"};
  index.tiles = {{"57", "items", "01", false, true, 1, 600},
                 {"360", "ember", "M0", true, false, 4, 5}};
  index.backgrounds = {
      {"sky", 0, {{"dawn", -3, {40000, -50000}}, {"dusk", 4, {5, 6}}}},
      {"none", 0, {}}};
  index.trailer = 99;
  return index;
}

MapEntry SampleMap() {
  MapEntry map = mapfile::MakeMap("Test Map", 3, 2, 2, 96, 96);
  map.reservedNumber = -5;
  map.notes[0] = "first note";
  map.notes[4] = "last note";
  map.theme = "meadow";
  map.layers[0] = {"floor", {1, -2, 3}, -4, map.layers[0].cells};
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 2; ++y)
      mapfile::SetCell(map, 1, x, y, static_cast<int16_t>(10 * x + y - 5));
  return map;
}

// Every field of an index's parts, for comparing two.
auto Fields(const mapfile::IndexHeader &h) {
  const mapfile::ReservedHeader &r = h.reserved;
  return std::tie(h.game, h.title, r.number, r.text16, r.text256, r.text32,
                  r.numbers[0], r.numbers[1], r.bytes[0], r.bytes[1],
                  r.moreNumbers[0], r.moreNumbers[1]);
}
auto Fields(const mapfile::TileEntry &t) {
  return std::tie(t.id, t.sheet, t.owningMap, t.solid, t.transparent,
                  t.frameCount, t.frameDelay);
}
auto Fields(const mapfile::BackgroundImage &i) {
  return std::tie(i.name, i.reservedShort, i.reserved[0], i.reserved[1]);
}

TEST(MapfileIndex, RoundTripKeepsEveryField) {
  const Index in = SampleIndex();
  const std::vector<uint8_t> bytes = mapfile::WriteIndex(in);
  Index out;
  ASSERT_EQ(mapfile::ParseIndex(bytes.data(), bytes.size(), out),
            IndexStatus::Ok);
  EXPECT_EQ(Fields(out.header), Fields(in.header));
  EXPECT_EQ(out.header.mapCount, 2);
  EXPECT_EQ(out.header.tileCount, 2);
  EXPECT_EQ(out.mapIds, in.mapIds);
  EXPECT_EQ(out.sheets, in.sheets);
  ASSERT_EQ(out.tiles.size(), 2u);
  for (size_t k = 0; k < 2; ++k)
    EXPECT_EQ(Fields(out.tiles[k]), Fields(in.tiles[k]));
  ASSERT_EQ(out.backgrounds.size(), 2u);
  EXPECT_EQ(out.backgrounds[1].name, "none");
  ASSERT_EQ(out.backgrounds[0].images.size(), 2u);
  for (size_t k = 0; k < 2; ++k)
    EXPECT_EQ(Fields(out.backgrounds[0].images[k]),
              Fields(in.backgrounds[0].images[k]));
  EXPECT_EQ(out.trailer, 99);
  EXPECT_EQ(mapfile::WriteIndex(out), bytes);
}

TEST(MapfileIndex, FieldsSitAtTheirOffsets) {
  const std::vector<uint8_t> b = mapfile::WriteIndex(SampleIndex());
  EXPECT_EQ(std::memcmp(b.data(), "INX0\x57\0", 6), 0); // "W" in UTF-16LE
  const size_t torch = kTiles + 4 + 587, end = kBackgrounds + 4 + 349 + 65;
  ASSERT_EQ(b.size(), end + 4);
  // The reserved numbers and bytes, the counts, the second tile's flags,
  // frames and delay, the image count of "sky", the trailer.
  const std::pair<size_t, int32_t> numbers[] = {
      {1644, 7},         {1648, -8},   {1654, 1 << 30}, {1658, -1},
      {1662, 2},         {kSheets, 2}, {kTiles, 2},     {torch + 579, 5},
      {kBackgrounds, 2}, {end, 99}};
  for (auto [at, value] : numbers)
    EXPECT_EQ(ReadI32(b, at), value) << at;
  const std::pair<size_t, uint8_t> bytes[] = {
      {1652, 0xAB},     {1653, 0xCD},     {kIds, '0'},
      {kIds + 64, 'M'}, {torch, '3'},     {torch + 576, 1},
      {torch + 577, 0}, {torch + 578, 4}, {kBackgrounds + 4 + 64, 2}};
  for (auto [at, value] : bytes)
    EXPECT_EQ(b[at], value) << at;
}

TEST(MapfileIndex, TruncationStopsWhereTheDataEndsAndNoMagicReadsNothing) {
  const std::vector<uint8_t> bytes = mapfile::WriteIndex(SampleIndex());
  for (size_t len = 0; len < bytes.size(); ++len) {
    Index out;
    const IndexStatus status = ParseIndexCopy(bytes, len, out);
    if (len < 4) {
      EXPECT_EQ(status, IndexStatus::BadMagic) << len;
      continue;
    }
    ASSERT_EQ(status, IndexStatus::Truncated) << len;
    // What was read before the cut stays, whole records only.
    EXPECT_EQ(out.mapIds.size(), len >= kSheets ? 2u : 0u) << len;
    EXPECT_EQ(out.tiles.size(), len >= kBackgrounds ? 2u : 0u) << len;
    if (len >= kBackgrounds) {
      EXPECT_EQ(out.tiles[1].frameCount, 4) << len;
    }
    EXPECT_LE(out.backgrounds.size(), 2u);
  }
  // Without the magic nothing is filled.
  std::vector<uint8_t> bad = bytes;
  bad[3] = '1';
  Index out;
  out.mapIds = {"kept"};
  EXPECT_EQ(ParseIndexCopy(bad, bad.size(), out), IndexStatus::BadMagic);
  EXPECT_EQ(out.mapIds, std::vector<std::string>{"kept"});
}

TEST(MapfileIndex, CountsBeyondTheDataStopTheParse) {
  const std::vector<uint8_t> good = mapfile::WriteIndex(SampleIndex());
  const struct {
    size_t at;
    int32_t value;
  } cases[] = {{1662, 1000000},          {1662, -1},
               {kSheets, INT_MAX},       {kSheets, -7},
               {kTiles, INT_MAX},        {kTiles, INT_MIN},
               {kBackgrounds, 50000000}, {kBackgrounds, -2}};
  for (const auto &c : cases) {
    std::vector<uint8_t> bytes = good;
    PutI32(bytes, c.at, c.value);
    Index out;
    EXPECT_EQ(ParseIndexCopy(bytes, bytes.size(), out), IndexStatus::Truncated)
        << c.at << " " << c.value;
    EXPECT_LE(out.mapIds.size(), 2u);
    EXPECT_LE(out.tiles.size(), 2u);
  }
}

TEST(MapfileIndex, BackgroundImageLimit) {
  Index index = SampleIndex();
  index.backgrounds[1].images.assign(16, {"frame", 1, {2, 3}});
  std::vector<uint8_t> bytes = mapfile::WriteIndex(index);
  Index out;
  ASSERT_EQ(ParseIndexCopy(bytes, bytes.size(), out), IndexStatus::Ok);
  EXPECT_EQ(out.backgrounds[1].images.size(), 16u);

  // A count of 17 (or a negative one) rejects that record and the rest.
  const size_t second = bytes.size() - 4 - (65 + 16 * 142);
  for (uint8_t count : {uint8_t{17}, uint8_t{0x80}}) {
    std::vector<uint8_t> bad = bytes;
    bad[second + 64] = count;
    Index partial;
    EXPECT_EQ(ParseIndexCopy(bad, bad.size(), partial), IndexStatus::Truncated);
    ASSERT_EQ(partial.backgrounds.size(), 1u);
    EXPECT_EQ(partial.backgrounds[0].name, "sky");
    EXPECT_EQ(partial.mapIds.size(), 2u);
  }
}

TEST(MapfileText, FieldsEndAtNulOrAtTheirEndAndDecodeSafely) {
  Index index;
  // Code points at the edges of each UTF-8 length.
  const std::string edges = "Ä€😀\x7F\u0080\u07FF\u0800\uFFFF\U00010000";
  const std::string x32(32, 'x'), z31(31, 'z'),
      bad = "a\xC3"
            "b\xFF";
  // A text that would overflow stops at a whole character; malformed UTF-8
  // is written as replacement characters.
  index.mapIds = {x32,       std::string(40, 'y'),
                  edges,     "cut😀",
                  z31 + "😀", bad,
                  "damaged", "damaged",
                  x32};
  std::vector<uint8_t> bytes = mapfile::WriteIndex(index);
  // The 32-unit field holds no NUL at all when the text fills it.
  EXPECT_EQ(bytes[1666 + 62], 'x');
  EXPECT_EQ(bytes[1666 + 63], 0);
  const auto put = [&](int id, std::vector<uint16_t> units) {
    for (size_t k = 0; k < units.size(); ++k) {
      bytes[1666 + 64 * id + 2 * k] = static_cast<uint8_t>(units[k]);
      bytes[1666 + 64 * id + 2 * k + 1] = static_cast<uint8_t>(units[k] >> 8);
    }
  };
  put(6, {'A', 0, 'B'});            // the text ends at the NUL
  put(7, {0xD800, 'q', 0, 0});      // a lone high surrogate
  bytes[1666 + 64 * 8 + 63] = 0xD8; // a high surrogate ends a full field
  Index out;
  ASSERT_EQ(ParseIndexCopy(bytes, bytes.size(), out), IndexStatus::Ok);
  EXPECT_EQ(out.mapIds,
            (std::vector<std::string>{x32, std::string(32, 'y'), edges, "cut😀",
                                      z31, "a\uFFFDb\uFFFD", "A", "\uFFFDq",
                                      std::string(31, 'x') + "\uFFFD"}));
  // Nothing past a field is read, not even to pair its last surrogate.
  const uint16_t past[] = {'a', 0xD800, 0xDC00};
  EXPECT_EQ(mapfile::Utf16ToUtf8(past, 2), "a\uFFFD");
}

TEST(MapfileMap, RoundTripAndColumnOrder) {
  const MapEntry in = SampleMap();
  const std::vector<uint8_t> b = mapfile::WriteMap(in);
  ASSERT_EQ(b.size(), 5796u + 2 * (269 + 2 * 3 * 2));
  EXPECT_EQ(std::memcmp(b.data(), "MAP0", 4), 0);
  EXPECT_EQ(b[68], 'T');
  // Columns, rows, pixels across and down, layers, frame size, extra.
  const int32_t numbers[] = {3, 2, 288, 192, 2, 96, 96, -5};
  for (size_t k = 0; k < std::size(numbers); ++k)
    EXPECT_EQ(ReadI32(b, 580 + 4 * k), numbers[k]) << k;
  EXPECT_EQ(b[612], 'f');
  EXPECT_EQ(b[612 + 4 * 1024], 'l');
  EXPECT_EQ(b[5732], 'm');
  EXPECT_EQ(b[5796], 'f');
  EXPECT_EQ(ReadI32(b, 5796 + 256), 1);
  EXPECT_EQ(static_cast<int8_t>(b[5796 + 268]), -4);
  // Layer 1 cells, column by column: (0,0) (0,1) (1,0) (1,1) (2,0) (2,1).
  const size_t cells = 5796 + 269 + 12 + 269;
  const int16_t expected[6] = {-5, -4, 5, 6, 15, 16};
  for (int k = 0; k < 6; ++k)
    EXPECT_EQ(
        static_cast<int16_t>(b[cells + 2 * k] | (b[cells + 2 * k + 1] << 8)),
        expected[k]);

  MapEntry out;
  ASSERT_TRUE(mapfile::ParseMap(b.data(), b.size(), out));
  EXPECT_EQ(out.layers[1].cells, in.layers[1].cells);
  EXPECT_EQ(mapfile::WriteMap(out), b);
}

TEST(MapfileMap, RejectsDamageAndSizesBeyondTheLimits) {
  const std::vector<uint8_t> good = mapfile::WriteMap(SampleMap());
  std::vector<std::vector<uint8_t>> bad;
  for (size_t len = 0; len < good.size(); ++len) // every truncation
    bad.emplace_back(good.begin(), good.begin() + len);
  bad.push_back(good);
  bad.back()[0] = 'm';
  // Layers, columns and rows beyond their limits or negative.
  for (auto [at, value] : {std::pair<size_t, int32_t>{596, 17},
                           {596, -1},
                           {580, 130},
                           {584, 130},
                           {580, -3},
                           {584, INT_MIN},
                           {596, INT_MAX}}) {
    bad.push_back(good);
    PutI32(bad.back(), at, value);
  }
  MapEntry out;
  out.name = "untouched";
  for (size_t k = 0; k < bad.size(); ++k)
    EXPECT_FALSE(ParseMapCopy(bad[k], bad[k].size(), out)) << k;
  EXPECT_EQ(out.name, "untouched");
  // Bytes after the last layer are not read.
  std::vector<uint8_t> longer = good;
  longer.push_back(7);
  EXPECT_TRUE(ParseMapCopy(longer, longer.size(), out));
}

TEST(MapfileMap, WritingRefusesWhatTheFormatCannotHold) {
  // Cut down to 129 columns or rows, or 16 layers, the cells would move:
  // nothing is written instead.
  const MapEntry tooWide = mapfile::MakeMap("wide", 130, 5, 2, 96, 96);
  const MapEntry tooTall = mapfile::MakeMap("tall", 5, 200, 2, 96, 96);
  const MapEntry tooDeep = mapfile::MakeMap("deep", 5, 5, 17, 96, 96);
  MapEntry negative = SampleMap();
  negative.widthTiles = -3;
  for (const MapEntry *m :
       std::vector<const MapEntry *>{&tooWide, &tooTall, &tooDeep, &negative}) {
    EXPECT_FALSE(mapfile::MapFits(*m)) << m->name;
    EXPECT_TRUE(mapfile::WriteMap(*m).empty()) << m->name;
  }
  // The largest map the grid holds is written and loads.
  MapEntry big = mapfile::MakeMap("big", 129, 129, 16, 96, 96);
  mapfile::SetCell(big, 15, 128, 128, 42);
  EXPECT_TRUE(mapfile::MapFits(big));
  const std::vector<uint8_t> bytes = mapfile::WriteMap(big);
  MapEntry back;
  ASSERT_TRUE(mapfile::ParseMap(bytes.data(), bytes.size(), back));
  EXPECT_EQ(mapfile::CellAt(back, 15, 128, 128), 42);
  // Frame sizes that overflow the pixel size do not wrap it.
  const MapEntry huge = mapfile::MakeMap("huge", 129, 2, 1, INT_MAX, -96);
  EXPECT_EQ(huge.widthPixels, INT_MAX);
  EXPECT_EQ(huge.heightPixels, -192);
}

TEST(MapfileMap, WritingMendsInconsistentRecords) {
  MapEntry map = SampleMap();
  map.layers[1].cells.resize(2); // fewer cells than the grid has
  map.layerCount = 9;            // the list decides
  const std::vector<uint8_t> bytes = mapfile::WriteMap(map);
  MapEntry out;
  ASSERT_TRUE(mapfile::ParseMap(bytes.data(), bytes.size(), out));
  EXPECT_EQ(out.layerCount, 2);
  EXPECT_EQ(mapfile::CellAt(out, 1, 0, 1), -4);
  EXPECT_EQ(mapfile::CellAt(out, 1, 2, 1), 0);
}

TEST(MapfileMap, CellAccessOutsideTheGrid) {
  MapEntry map = SampleMap();
  // (layer, x, y) just outside the grid or the layers: nothing there.
  for (auto [layer, x, y] :
       {std::array{1, -1, 0}, {1, 3, 0}, {1, 0, 2}, {2, 0, 0}, {-1, 0, 0}}) {
    EXPECT_EQ(mapfile::CellAt(map, layer, x, y), 0) << layer << x << y;
    mapfile::SetCell(map, layer, x, y, 9); // ignored
  }
  EXPECT_EQ(map.layers[1].cells, SampleMap().layers[1].cells);
  mapfile::SetCell(map, 1, 1, 1, 9);
  EXPECT_EQ(mapfile::CellAt(map, 1, 1, 1), 9);
}

} // namespace
