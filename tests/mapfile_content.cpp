// mapfile_content.cpp — the shipped map archive: all 21 mazes, every
// content rule, tile pictures that match their records, wall pieces for
// every theme.
#include "assets/pack.h"
#include "maps/mapfile.h"
#include "maps/mapfile_levels.h"
#include "maps/maze.h"
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

TEST(MapfileContent, AllMazesKeepTheirRules) {
  REQUIRE_ARCHIVE();
  const Shipped &s = LoadShipped();
  EXPECT_EQ(s.index.mapIds.size(), 21u);
  ASSERT_EQ(s.maps.size(), 21u);
  for (const mapfile::LevelTableRow &rule : mapfile::LevelTable())
    EXPECT_EQ(Joined(mapfile::CheckLevelMap(s.maps.at(rule.id), rule)), "");
  EXPECT_EQ(Joined(mapfile::CheckMenuMap(s.maps.at("M0"))), "");
}

// The forge refuses to write an archive that fails the tile checks, but a
// build may copy its archive from elsewhere (an older forge run): the
// archive the game reads is checked against today's rules.
TEST(MapfileContent, TilesMatchTheirRecordsAndWallThemesJoin) {
  REQUIRE_ARCHIVE();
  const Shipped &s = LoadShipped();
  EXPECT_EQ(Joined(mapfile::CheckTiles(s.index, s.maps, s.pictures)), "");
  // Every wall run can join smoothly: each theme brings its joined pieces.
  std::map<std::string, int> pieces;
  for (const mapfile::TileEntry &t : s.index.tiles) {
    if (t.transparent && t.frameCount == 1)
      ++pieces[t.sheet];
    EXPECT_LE(s.pictures.at(t.id).size(), 204800u) << t.id;
  }
  for (const auto &[sheet, count] : pieces)
    if (sheet != "items" && sheet != "doors") {
      EXPECT_GE(count, 16) << sheet;
    }
}

} // namespace
