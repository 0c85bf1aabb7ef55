// mapfile_content.cpp — the shipped map archive: all 21 mazes, every
// content rule, and tile pictures that match their records.
#include "assets/pack.h"
#include "maps/mapfile.h"
#include "maps/maze_check.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

constexpr size_t kMaxEntry = 20971520;

struct Shipped {
  bool loaded = false;
  mapfile::Index index;
  std::map<std::string, mapfile::MapEntry> maps;
  std::map<std::string, std::vector<uint8_t>> pictures;
};

const Shipped &LoadShipped() {
  static Shipped shipped = [] {
    Shipped s;
    const std::string path =
        std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.maps";
    pack::Archive archive;
    if (!std::filesystem::exists(path) || !pack::Open(archive, path))
      return s;
    std::vector<uint8_t> bytes;
    if (pack::ExtractEntry(archive, mapfile::kIndexEntry, kMaxEntry, bytes) <
            0 ||
        mapfile::ParseIndex(bytes.data(), bytes.size(), s.index) !=
            mapfile::IndexStatus::Ok)
      return s;
    for (const std::string &id : s.index.mapIds) {
      mapfile::MapEntry map;
      if (pack::ExtractEntry(archive, mapfile::MapEntryName(id), kMaxEntry,
                             bytes) >= 0 &&
          mapfile::ParseMap(bytes.data(), bytes.size(), map))
        s.maps[id] = std::move(map);
    }
    for (const mapfile::TileEntry &tile : s.index.tiles)
      if (pack::ExtractEntry(archive, mapfile::TileEntryName(tile.id),
                             kMaxEntry, bytes) >= 0)
        s.pictures[tile.id] = bytes;
    s.loaded = true;
    return s;
  }();
  return shipped;
}

#define REQUIRE_ARCHIVE()                                                      \
  if (!LoadShipped().loaded)                                                   \
  GTEST_SKIP() << WARRENFOLD_GAME_DIR "Warrenfold.maps is missing; build the " \
                                      "content target first"

std::string Joined(const std::vector<std::string> &found) {
  std::string all;
  for (const std::string &s : found)
    all += s + "\n";
  return all;
}

TEST(MapfileContent, AllMazesArePresent) {
  REQUIRE_ARCHIVE();
  const Shipped &s = LoadShipped();
  for (const mapfile::LevelTableRow &rule : mapfile::LevelTable())
    EXPECT_TRUE(s.maps.count(rule.id)) << rule.id;
  EXPECT_TRUE(s.maps.count("M0"));
  EXPECT_EQ(s.index.mapIds.size(), 21u);
  EXPECT_EQ(s.maps.size(), 21u);
}

TEST(MapfileContent, LevelsKeepEveryRule) {
  REQUIRE_ARCHIVE();
  const Shipped &s = LoadShipped();
  for (const mapfile::LevelTableRow &rule : mapfile::LevelTable()) {
    const auto map = s.maps.find(rule.id);
    if (map == s.maps.end())
      continue;
    const auto found = mapfile::CheckLevelMap(map->second, rule);
    EXPECT_TRUE(found.empty()) << Joined(found);
  }
}

TEST(MapfileContent, MenuMazeKeepsItsRules) {
  REQUIRE_ARCHIVE();
  const Shipped &s = LoadShipped();
  ASSERT_TRUE(s.maps.count("M0"));
  const auto found = mapfile::CheckMenuMap(s.maps.at("M0"));
  EXPECT_TRUE(found.empty()) << Joined(found);
}

TEST(MapfileContent, TilesMatchTheirRecords) {
  REQUIRE_ARCHIVE();
  const Shipped &s = LoadShipped();
  const auto found = mapfile::CheckTiles(s.index, s.maps, s.pictures);
  EXPECT_TRUE(found.empty()) << Joined(found);
  // Every wall run can join smoothly: each theme brings its joined pieces.
  std::map<std::string, int> pieces;
  for (const mapfile::TileEntry &t : s.index.tiles)
    if (t.transparent && t.frameCount == 1)
      ++pieces[t.sheet];
  for (const auto &[sheet, count] : pieces) {
    if (sheet != "items" && sheet != "doors") {
      EXPECT_GE(count, 16) << sheet;
    }
  }
}

TEST(MapfileContent, EveryTileAPictureOfItsFrames) {
  REQUIRE_ARCHIVE();
  const Shipped &s = LoadShipped();
  for (const mapfile::TileEntry &t : s.index.tiles) {
    const auto picture = s.pictures.find(t.id);
    ASSERT_NE(picture, s.pictures.end()) << t.id;
    int w = 0, h = 0;
    ASSERT_TRUE(
        mapfile::PngSize(picture->second.data(), picture->second.size(), w, h))
        << t.id;
    EXPECT_EQ(w, t.frameCount * 96) << t.id;
    EXPECT_EQ(h, 96) << t.id;
    EXPECT_LE(picture->second.size(), 204800u) << t.id;
  }
}

} // namespace
