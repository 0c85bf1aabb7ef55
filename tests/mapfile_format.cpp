// mapfile_format.cpp — byte layout, round trips and damaged input of the
// map archive's index and map entries.
#include "maps/mapfile.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <sstream>

namespace {

using mapfile::Index;
using mapfile::IndexStatus;
using mapfile::MapEntry;

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
  index.header.game = "Warrenfold";
  index.header.title = "Grüße aus dem Bau";
  index.header.reserved.number = -1234567890123LL;
  index.header.reserved.text16 = "v3";
  index.header.reserved.text256 = "notes";
  index.header.reserved.text32 = "five";
  index.header.reserved.numbers[0] = 7;
  index.header.reserved.numbers[1] = -8;
  index.header.reserved.bytes[0] = 0xAB;
  index.header.reserved.bytes[1] = 0xCD;
  index.header.reserved.moreNumbers[0] = 1 << 30;
  index.header.reserved.moreNumbers[1] = -1;
  index.mapIds = {"01", "M0"};
  index.sheets = {"items", "meadow"};
  mapfile::TileEntry dot{"57", "items", "01", false, true, 1, 600};
  mapfile::TileEntry torch{"360", "ember", "M0", true, false, 4, 5};
  index.tiles = {dot, torch};
  mapfile::BackgroundEntry sky;
  sky.name = "sky";
  sky.images = {{"dawn", -3, 40000, -50000}, {"dusk", 4, 5, 6}};
  mapfile::BackgroundEntry empty;
  empty.name = "none";
  index.backgrounds = {sky, empty};
  index.trailer = 99;
  return index;
}

// Every field of an index as text, for comparing two.
std::string Dump(const Index &x) {
  std::ostringstream o;
  const mapfile::IndexHeader &h = x.header;
  const mapfile::ReservedHeader &r = h.reserved;
  o << h.game << '|' << h.title << '|' << r.number << '|' << r.text16 << '|'
    << r.text256 << '|' << r.text32 << '|' << r.numbers[0] << '|'
    << r.numbers[1] << '|' << int(r.bytes[0]) << '|' << int(r.bytes[1]) << '|'
    << r.moreNumbers[0] << '|' << r.moreNumbers[1] << "\nmaps ";
  for (const std::string &id : x.mapIds)
    o << id << ',';
  o << "\nsheets ";
  for (const std::string &sheet : x.sheets)
    o << sheet << ',';
  for (const mapfile::TileEntry &t : x.tiles)
    o << "\ntile " << t.id << '|' << t.sheet << '|' << t.owningMap << '|'
      << t.solid << t.transparent << '|' << int(t.frameCount) << '|'
      << t.frameDelay;
  for (const mapfile::BackgroundEntry &b : x.backgrounds) {
    o << "\nbackground " << b.name << ':';
    for (const mapfile::BackgroundImage &i : b.images)
      o << i.name << '|' << i.reservedShort << '|' << i.reserved[0] << '|'
        << i.reserved[1] << ';';
  }
  o << "\ntrailer " << x.trailer;
  return o.str();
}

MapEntry SampleMap() {
  MapEntry map = mapfile::MakeMap("Test Map", 3, 2, 2, 96, 96);
  map.reservedNumber = -5;
  map.notes[0] = "first note";
  map.notes[4] = "last note";
  map.theme = "meadow";
  map.layers[0].name = "floor";
  map.layers[0].reserved[0] = 1;
  map.layers[0].reserved[1] = -2;
  map.layers[0].reserved[2] = 3;
  map.layers[0].reservedByte = -4;
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 2; ++y)
      mapfile::SetCell(map, 1, x, y, static_cast<int16_t>(10 * x + y - 5));
  return map;
}

TEST(MapfileIndex, RoundTripKeepsEveryField) {
  const Index in = SampleIndex();
  const std::vector<uint8_t> bytes = mapfile::WriteIndex(in);
  Index out;
  ASSERT_EQ(mapfile::ParseIndex(bytes.data(), bytes.size(), out),
            IndexStatus::Ok);
  EXPECT_EQ(Dump(out), Dump(in));
  EXPECT_EQ(out.header.mapCount, 2);
  EXPECT_EQ(out.header.tileCount, 2);
  EXPECT_EQ(mapfile::WriteIndex(out), bytes);
}

TEST(MapfileIndex, FieldsSitAtTheirOffsets) {
  const std::vector<uint8_t> b = mapfile::WriteIndex(SampleIndex());
  EXPECT_EQ(std::memcmp(b.data(), "INX0", 4), 0);
  EXPECT_EQ(b[4], 'W');
  EXPECT_EQ(b[5], 0); // UTF-16LE
  EXPECT_EQ(ReadI32(b, 1644), 7);
  EXPECT_EQ(ReadI32(b, 1648), -8);
  EXPECT_EQ(b[1652], 0xAB);
  EXPECT_EQ(b[1653], 0xCD);
  EXPECT_EQ(ReadI32(b, 1654), 1 << 30);
  EXPECT_EQ(ReadI32(b, 1658), -1);
  EXPECT_EQ(ReadI32(b, 1662), 2);
  EXPECT_EQ(b[1666], '0');
  EXPECT_EQ(b[1666 + 64], 'M');
  const size_t sheets = 1666 + 2 * 64;
  EXPECT_EQ(ReadI32(b, sheets), 2);
  const size_t tiles = sheets + 4 + 2 * 256;
  EXPECT_EQ(ReadI32(b, tiles), 2);
  const size_t torch = tiles + 4 + 587;
  EXPECT_EQ(b[torch], '3');
  EXPECT_EQ(b[torch + 576], 1); // solid
  EXPECT_EQ(b[torch + 577], 0); // transparent
  EXPECT_EQ(b[torch + 578], 4); // frames
  EXPECT_EQ(ReadI32(b, torch + 579), 5);
  const size_t backgrounds = tiles + 4 + 2 * 587;
  EXPECT_EQ(ReadI32(b, backgrounds), 2);
  EXPECT_EQ(b[backgrounds + 4 + 64], 2); // image count of "sky"
  const size_t end = backgrounds + 4 + (65 + 2 * 142) + 65;
  ASSERT_EQ(b.size(), end + 4);
  EXPECT_EQ(ReadI32(b, end), 99);
}

TEST(MapfileIndex, WithoutMagicNothingIsFilled) {
  std::vector<uint8_t> bytes = mapfile::WriteIndex(SampleIndex());
  bytes[3] = '1';
  Index out;
  out.mapIds = {"kept"};
  EXPECT_EQ(ParseIndexCopy(bytes, bytes.size(), out), IndexStatus::BadMagic);
  EXPECT_EQ(out.mapIds, std::vector<std::string>{"kept"});
  EXPECT_EQ(mapfile::ParseIndex(nullptr, 0, out), IndexStatus::BadMagic);
  EXPECT_EQ(ParseIndexCopy(bytes, 3, out), IndexStatus::BadMagic);
  EXPECT_EQ(out.mapIds, std::vector<std::string>{"kept"});
}

TEST(MapfileIndex, EveryTruncationStopsWhereTheDataEnds) {
  const Index full = SampleIndex();
  const std::vector<uint8_t> bytes = mapfile::WriteIndex(full);
  const size_t afterIds = 1666 + 2 * 64;
  const size_t afterTiles = afterIds + 4 + 2 * 256 + 4 + 2 * 587;
  for (size_t len = 0; len < bytes.size(); ++len) {
    Index out;
    const IndexStatus status = ParseIndexCopy(bytes, len, out);
    if (len < 4) {
      EXPECT_EQ(status, IndexStatus::BadMagic) << len;
      continue;
    }
    ASSERT_EQ(status, IndexStatus::Truncated) << len;
    // What was read before the cut stays, whole records only.
    EXPECT_EQ(out.mapIds.size(), len >= afterIds ? 2u : 0u) << len;
    EXPECT_EQ(out.tiles.size(), len >= afterTiles ? 2u : 0u) << len;
    if (len >= afterTiles) {
      EXPECT_EQ(out.tiles[1].frameCount, 4) << len;
    }
    EXPECT_LE(out.backgrounds.size(), 2u);
  }
}

TEST(MapfileIndex, CountsBeyondTheDataStopTheParse) {
  const std::vector<uint8_t> good = mapfile::WriteIndex(SampleIndex());
  const size_t sheets = 1666 + 2 * 64;
  const size_t tiles = sheets + 4 + 2 * 256;
  const size_t backgrounds = tiles + 4 + 2 * 587;
  struct Case {
    size_t at;
    int32_t value;
  } cases[] = {{1662, 1000000},         {1662, -1},
               {sheets, INT_MAX},       {sheets, -7},
               {tiles, INT_MAX},        {tiles, INT_MIN},
               {backgrounds, 50000000}, {backgrounds, -2}};
  for (const Case &c : cases) {
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
  index.backgrounds[1].images.assign(16, {"frame", 1, 2, 3});
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

TEST(MapfileText, FieldsEndAtNulOrAtTheirEnd) {
  Index index;
  const std::string full32(32, 'x');
  index.mapIds = {full32, std::string(40, 'y'), "Ä€😀", "cut😀"};
  // A text that would overflow stops at a whole character.
  index.mapIds.push_back(std::string(31, 'z') + "😀");
  const std::vector<uint8_t> bytes = mapfile::WriteIndex(index);
  // The 32-unit field holds no NUL at all when the text fills it.
  EXPECT_EQ(bytes[1666 + 62], 'x');
  EXPECT_EQ(bytes[1666 + 63], 0);
  Index out;
  ASSERT_EQ(mapfile::ParseIndex(bytes.data(), bytes.size(), out),
            IndexStatus::Ok);
  ASSERT_EQ(out.mapIds.size(), 5u);
  EXPECT_EQ(out.mapIds[0], full32);
  EXPECT_EQ(out.mapIds[1], std::string(32, 'y'));
  EXPECT_EQ(out.mapIds[2], "Ä€😀");
  EXPECT_EQ(out.mapIds[3], "cut😀");
  EXPECT_EQ(out.mapIds[4], std::string(31, 'z'));
}

TEST(MapfileText, DamagedTextsDecodeSafely) {
  std::vector<uint8_t> bytes = mapfile::WriteIndex(SampleIndex());
  // "01" → 'A', NUL, 'B': the text ends at the NUL.
  bytes[1666] = 'A';
  bytes[1667] = 0;
  bytes[1668] = 0;
  bytes[1669] = 0;
  bytes[1670] = 'B';
  // The second ID starts with a lone high surrogate, then 'q'.
  bytes[1666 + 64] = 0x00;
  bytes[1666 + 65] = 0xD8;
  bytes[1666 + 66] = 'q';
  bytes[1666 + 67] = 0;
  bytes[1666 + 68] = 0;
  bytes[1666 + 69] = 0;
  Index out;
  ASSERT_EQ(mapfile::ParseIndex(bytes.data(), bytes.size(), out),
            IndexStatus::Ok);
  EXPECT_EQ(out.mapIds[0], "A");
  EXPECT_EQ(out.mapIds[1], "\xEF\xBF\xBDq");

  // Malformed UTF-8 is written as replacement characters.
  Index bad;
  bad.mapIds = {std::string("a\xC3") + "b\xFF"};
  const std::vector<uint8_t> written = mapfile::WriteIndex(bad);
  Index back;
  ASSERT_EQ(mapfile::ParseIndex(written.data(), written.size(), back),
            IndexStatus::Ok);
  EXPECT_EQ(back.mapIds[0], "a\xEF\xBF\xBD"
                            "b\xEF\xBF\xBD");
}

TEST(MapfileMap, RoundTripAndColumnOrder) {
  const MapEntry in = SampleMap();
  const std::vector<uint8_t> b = mapfile::WriteMap(in);
  ASSERT_EQ(b.size(), 5796u + 2 * (269 + 2 * 3 * 2));
  EXPECT_EQ(std::memcmp(b.data(), "MAP0", 4), 0);
  EXPECT_EQ(b[68], 'T');
  EXPECT_EQ(ReadI32(b, 580), 3);
  EXPECT_EQ(ReadI32(b, 584), 2);
  EXPECT_EQ(ReadI32(b, 588), 288);
  EXPECT_EQ(ReadI32(b, 592), 192);
  EXPECT_EQ(ReadI32(b, 596), 2);
  EXPECT_EQ(ReadI32(b, 600), 96);
  EXPECT_EQ(ReadI32(b, 604), 96);
  EXPECT_EQ(ReadI32(b, 608), -5);
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
  EXPECT_EQ(out.name, in.name);
  EXPECT_EQ(out.layerCount, 2);
  EXPECT_EQ(out.notes[4], "last note");
  EXPECT_EQ(out.theme, "meadow");
  EXPECT_EQ(out.layers[0].name, "floor");
  EXPECT_EQ(out.layers[0].reservedByte, -4);
  EXPECT_EQ(out.layers[1].cells, in.layers[1].cells);
  EXPECT_EQ(mapfile::CellAt(out, 1, 2, 1), 16);
  EXPECT_EQ(mapfile::WriteMap(out), b);
}

TEST(MapfileMap, RejectsWrongMagicAndSizesBeyondTheLimits) {
  const std::vector<uint8_t> good = mapfile::WriteMap(SampleMap());
  MapEntry out;
  out.name = "untouched";
  std::vector<uint8_t> bad = good;
  bad[0] = 'm';
  EXPECT_FALSE(ParseMapCopy(bad, bad.size(), out));
  struct Case {
    size_t at;
    int32_t value;
  } cases[] = {{596, 17}, {596, -1},      {580, 130},    {584, 130},
               {580, -3}, {584, INT_MIN}, {596, INT_MAX}};
  for (const Case &c : cases) {
    bad = good;
    PutI32(bad, c.at, c.value);
    EXPECT_FALSE(ParseMapCopy(bad, bad.size(), out)) << c.at << " " << c.value;
  }
  EXPECT_EQ(out.name, "untouched");

  // The largest map the grid holds still loads.
  MapEntry big = mapfile::MakeMap("big", 129, 129, 16, 96, 96);
  mapfile::SetCell(big, 15, 128, 128, 42);
  const std::vector<uint8_t> bytes = mapfile::WriteMap(big);
  MapEntry back;
  ASSERT_TRUE(mapfile::ParseMap(bytes.data(), bytes.size(), back));
  EXPECT_EQ(mapfile::CellAt(back, 15, 128, 128), 42);
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
  const MapEntry edge = mapfile::MakeMap("edge", 129, 1, 16, 96, 96);
  EXPECT_TRUE(mapfile::MapFits(edge));
  EXPECT_FALSE(mapfile::WriteMap(edge).empty());
  // Frame sizes that overflow the pixel size do not wrap it.
  const MapEntry huge = mapfile::MakeMap("huge", 129, 2, 1, INT_MAX, -96);
  EXPECT_EQ(huge.widthPixels, INT_MAX);
  EXPECT_EQ(huge.heightPixels, -192);
}

TEST(MapfileMap, EveryTruncationIsRejected) {
  const std::vector<uint8_t> bytes = mapfile::WriteMap(SampleMap());
  for (size_t len = 0; len < bytes.size(); ++len) {
    MapEntry out;
    out.name = "untouched";
    EXPECT_FALSE(ParseMapCopy(bytes, len, out)) << len;
    EXPECT_EQ(out.name, "untouched");
  }
  // Bytes after the last layer are not read.
  std::vector<uint8_t> longer = bytes;
  longer.push_back(7);
  MapEntry out;
  EXPECT_TRUE(ParseMapCopy(longer, longer.size(), out));
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
