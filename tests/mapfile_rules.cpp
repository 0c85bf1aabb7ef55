// mapfile_rules.cpp — the content checker catches each kind of broken maze
// and tile set, starting from small mazes that obey every rule.
#include "maps/mapfile.h"
#include "maps/maze.h"
#include "maps/maze_check.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace mapfile;
using namespace maze;

constexpr int16_t kFloor = 100, kWall = 110;

bool Mentions(const std::vector<std::string> &found, const std::string &what) {
  return std::any_of(found.begin(), found.end(), [&](const std::string &s) {
    return s.find(what) != std::string::npos;
  });
}

std::string Joined(const std::vector<std::string> &found) {
  std::string all;
  for (const std::string &s : found)
    all += s + "\n";
  return all;
}

// An open field inside a border wall with the house of the rule's type in
// the middle and exactly the pickup total in dots.
MapEntry OpenLevel(const LevelTableRow &rule) {
  MapEntry map = MakeMap(rule.id, kLevelWidth, kLevelHeight, kMazeLayers,
                         kTilePixels, kTilePixels);
  for (int x = 0; x < kLevelWidth; ++x)
    for (int y = 0; y < kLevelHeight; ++y) {
      SetCell(map, kFloorLayer, x, y, kFloor);
      const bool inside = x >= kPlayLeft && x <= kPlayRight && y >= kPlayTop &&
                          y <= kPlayBottom;
      if (!inside)
        SetCell(map, kWallLayer, x, y, kWall);
    }
  for (int x = 19; x <= 23; ++x)
    for (int y = 10; y <= 14; ++y)
      if (x == 19 || x == 23 || y == 10 || y == 14)
        SetCell(map, kWallLayer, x, y, kWall);
  for (const HouseDoor &door : HouseOf(rule.houseType).doors)
    SetCell(map, kWallLayer, door.x, door.y, door.closed);
  int placed = 0;
  for (int y = kPlayTop; y <= kPlayBottom && placed < rule.pickupTotal; ++y)
    for (int x = kPlayLeft; x <= kPlayRight && placed < rule.pickupTotal; ++x)
      if (IsFree(map, x, y) && !(x >= 19 && x <= 23 && y >= 10 && y <= 14) &&
          !(x == rule.startX && y == rule.startY)) {
        SetCell(map, kItemLayer, x, y, kDot);
        ++placed;
      }
  return map;
}

// Moves one dot from (x, y) to a free cell without one.
void MoveDot(MapEntry &map, int x, int y) {
  if (CellAt(map, kItemLayer, x, y) == 0)
    return;
  SetCell(map, kItemLayer, x, y, 0);
  for (int yy = kPlayBottom; yy >= kPlayTop; --yy)
    for (int xx = kPlayRight; xx >= kPlayLeft; --xx)
      if (IsFree(map, xx, yy) && CellAt(map, kItemLayer, xx, yy) == 0 &&
          !(xx >= 19 && xx <= 23 && yy >= 10 && yy <= 14) &&
          !(xx == x && yy == y)) {
        SetCell(map, kItemLayer, xx, yy, kDot);
        return;
      }
}

TEST(MapfileRules, LevelTableAndHouses) {
  ASSERT_EQ(LevelTable().size(), 20u);
  EXPECT_EQ(FindLevel("16")->pickupTotal, 436);
  EXPECT_EQ(FindLevel("09")->startX, 39);
  EXPECT_EQ(FindLevel("20")->houseType, 2);
  EXPECT_EQ(FindLevel("21"), nullptr);
  EXPECT_EQ(FindLevel("M0"), nullptr);
  const House up = HouseOf(1);
  EXPECT_EQ(up.doors[0].closed, 60);
  EXPECT_EQ(up.doors[1].y, 14);
  EXPECT_EQ(up.waitY[0], 11);
  const House side = HouseOf(2);
  EXPECT_EQ(side.doors[0].x, 19);
  EXPECT_EQ(side.doors[1].closed, 64);
  EXPECT_EQ(side.waitX[1], 22);
}

TEST(MapfileRules, OpenLevelsPass) {
  for (const char *id : {"01", "02"}) {
    const LevelTableRow &rule = *FindLevel(id);
    const auto found = CheckLevelMap(OpenLevel(rule), rule);
    EXPECT_TRUE(found.empty()) << Joined(found);
  }
}

TEST(MapfileRules, BrokenLevelsAreNamed) {
  const LevelTableRow &rule = *FindLevel("01");
  const MapEntry good = OpenLevel(rule);
  struct Case {
    const char *rule;
    void (*breakIt)(MapEntry &);
  } cases[] = {
      {"item count differs",
       [](MapEntry &m) { SetCell(m, kItemLayer, 2, 2, 0); }},
      {"start tile is not free",
       [](MapEntry &m) {
         MoveDot(m, 10, 10);
         SetCell(m, kWallLayer, 10, 10, kWall);
       }},
      {"item on the start tile",
       [](MapEntry &m) {
         SetCell(m, kItemLayer, 2, 2, 0);
         SetCell(m, kItemLayer, 10, 10, kCherry);
       }},
      {"door does not hold its closed value",
       [](MapEntry &m) { SetCell(m, kWallLayer, 21, 10, kDoorTopOpen); }},
      {"door value away from the house doors",
       [](MapEntry &m) { SetCell(m, kWallLayer, 19, 12, kDoorLeftClosed); }},
      {"dead end",
       [](MapEntry &m) {
         MoveDot(m, 3, 2);
         SetCell(m, kWallLayer, 3, 2, kWall);
       }},
      {"the player can walk into the monster house",
       [](MapEntry &m) { SetCell(m, kWallLayer, 19, 11, 0); }},
      {"item inside a wall",
       [](MapEntry &m) { SetCell(m, kWallLayer, 2, 2, kWall); }},
      {"walkable cell outside the visible area",
       [](MapEntry &m) { SetCell(m, kWallLayer, 1, 5, 0); }},
      {"decoration on a walkable cell",
       [](MapEntry &m) { SetCell(m, kDecorLayer, 5, 5, 160); }},
      {"item layer holds something else",
       [](MapEntry &m) { SetCell(m, kItemLayer, 2, 2, 58); }},
      {"cell without floor",
       [](MapEntry &m) { SetCell(m, kFloorLayer, 0, 0, 0); }},
      {"a monster leaving the house never reaches the corridors",
       [](MapEntry &m) {
         // Wall the top door in: the monster stands on the door with
         // nowhere to go.
         MoveDot(m, 21, 9);
         SetCell(m, kWallLayer, 21, 9, kWall);
       }},
      {"monsters meet a dead end",
       [](MapEntry &m) {
         // Walls below the corner cell leave (2, 2) reachable only from
         // the right: a monster stepping in could only turn back.
         for (int x : {2, 3}) {
           MoveDot(m, x, 3);
           SetCell(m, kWallLayer, x, 3, kWall);
         }
       }},
      {"wrong size", [](MapEntry &m) { m.heightTiles = 24; }},
      {"too few layers",
       [](MapEntry &m) {
         m.layers.pop_back();
         m.layerCount = 3;
       }},
  };
  for (const Case &c : cases) {
    MapEntry broken = good;
    c.breakIt(broken);
    const auto found = CheckLevelMap(broken, rule);
    EXPECT_TRUE(Mentions(found, c.rule)) << c.rule << "\n" << Joined(found);
    EXPECT_TRUE(Mentions(found, "map 01: ")) << c.rule;
  }
}

MapEntry OpenMenu() {
  MapEntry map = MakeMap("M0", kMenuWidth, kMenuHeight, kMazeLayers,
                         kTilePixels, kTilePixels);
  for (int x = 0; x < kMenuWidth; ++x)
    for (int y = 0; y < kMenuHeight; ++y)
      SetCell(map, kFloorLayer, x, y, kFloor);
  return map;
}

TEST(MapfileRules, MenuMaze) {
  EXPECT_TRUE(CheckMenuMap(OpenMenu()).empty());

  MapEntry blocked = OpenMenu();
  SetCell(blocked, kWallLayer, 1, 0, kWall);
  EXPECT_TRUE(Mentions(CheckMenuMap(blocked), "first step up is blocked"));

  // A corridor along the top that ends in a wall: after the first step up
  // the monsters can only go left to the corner, and from there nowhere.
  MapEntry pocket = OpenMenu();
  for (int x = 0; x < kMenuWidth; ++x)
    SetCell(pocket, kWallLayer, x, 1, x == 1 || x == 2 ? 0 : kWall);
  SetCell(pocket, kWallLayer, 2, 0, kWall);
  const auto found = CheckMenuMap(pocket);
  EXPECT_TRUE(Mentions(found, "dead end")) << Joined(found);

  MapEntry items = OpenMenu();
  SetCell(items, kItemLayer, 5, 5, kDot);
  EXPECT_TRUE(Mentions(CheckMenuMap(items), "item on the menu maze"));
  items.widthTiles = 42;
  EXPECT_TRUE(Mentions(CheckMenuMap(items), "wrong size"));
}

// A PNG signature and header of the given size; the rest does not matter
// to the size check.
std::vector<uint8_t> FakePng(int width, int height) {
  std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n',
                              0,    0,   0,   13,  'I',  'H',  'D',  'R'};
  for (int v : {width, height})
    for (int shift = 24; shift >= 0; shift -= 8)
      png.push_back(static_cast<uint8_t>(v >> shift));
  png.resize(33, 0);
  return png;
}

TEST(MapfileRules, PngSize) {
  int w = 0, h = 0;
  const auto png = FakePng(576, 96);
  EXPECT_TRUE(PngSize(png.data(), png.size(), w, h));
  EXPECT_EQ(w, 576);
  EXPECT_EQ(h, 96);
  EXPECT_FALSE(PngSize(png.data(), 23, w, h));
  auto notPng = png;
  notPng[1] = 'J';
  EXPECT_FALSE(PngSize(notPng.data(), notPng.size(), w, h));
  EXPECT_FALSE(PngSize(nullptr, 0, w, h));
  const auto zero = FakePng(0, 96);
  EXPECT_FALSE(PngSize(zero.data(), zero.size(), w, h));
}

struct TileSet {
  Index index;
  std::map<std::string, MapEntry> maps;
  std::map<std::string, std::vector<uint8_t>> pictures;
};

// Two tiny maps: a floor, a wall, a dot and an animated decoration, plus
// the tiles every maze archive needs.
TileSet GoodTiles() {
  TileSet set;
  MapEntry map = MakeMap("a", 2, 1, kMazeLayers, kTilePixels, kTilePixels);
  SetCell(map, kFloorLayer, 0, 0, kFloor);
  SetCell(map, kFloorLayer, 1, 0, kFloor);
  SetCell(map, kWallLayer, 0, 0, kWall);
  SetCell(map, kDecorLayer, 0, 0, 160);
  SetCell(map, kItemLayer, 1, 0, kDot);
  set.maps["01"] = map;
  set.maps["M0"] = map;
  set.index.mapIds = {"01", "M0"};
  set.index.sheets = {"all"};
  const auto add = [&](int value, bool transparent, int frames) {
    const std::string id = std::to_string(value);
    set.index.tiles.push_back(
        {id, "all", "01", false, transparent, static_cast<int8_t>(frames), 8});
    set.pictures[id] = FakePng(frames * kTilePixels, kTilePixels);
  };
  add(kFloor, false, 1);
  add(kWall, true, 1);
  add(160, true, 6);
  for (int v = kCherry; v <= kDoorRightOpen; ++v)
    add(v, true, 1);
  return set;
}

TEST(MapfileRules, Tiles) {
  {
    const TileSet set = GoodTiles();
    const auto found = CheckTiles(set.index, set.maps, set.pictures);
    EXPECT_TRUE(found.empty()) << Joined(found);
  }
  struct Case {
    const char *rule;
    void (*breakIt)(TileSet &);
  } cases[] = {
      {"tile size is not 96 x 96",
       [](TileSet &s) { s.maps["M0"].tileWidth = 32; }},
      {"map M0: not listed in the index",
       [](TileSet &s) { s.index.mapIds.pop_back(); }},
      {"cell value without a tile",
       [](TileSet &s) { SetCell(s.maps["01"], kWallLayer, 1, 0, 999); }},
      {"picture missing", [](TileSet &s) { s.pictures.erase("57"); }},
      {"picture size does not match its frames",
       [](TileSet &s) { s.pictures["160"] = FakePng(96, 96); }},
      {"picture is not a PNG",
       [](TileSet &s) {
         s.pictures["110"] = {1, 2, 3};
       }},
      {"floor tiles must be opaque",
       [](TileSet &s) { s.index.tiles[0].transparent = true; }},
      {"floor tiles must be opaque",
       [](TileSet &s) { s.index.tiles[1].transparent = false; }},
      {"no animated decoration",
       [](TileSet &s) { SetCell(s.maps["M0"], kDecorLayer, 0, 0, 0); }},
      {"frame count below 1",
       [](TileSet &s) { s.index.tiles[1].frameCount = 0; }},
      {"animated without a frame delay",
       [](TileSet &s) { s.index.tiles[2].frameDelay = 0; }},
      {"its owning map does not exist",
       [](TileSet &s) { s.index.tiles[1].owningMap = "77"; }},
      {"its sheet is not listed",
       [](TileSet &s) { s.index.tiles[1].sheet = "other"; }},
      {"not the decimal text",
       [](TileSet &s) { s.index.tiles[1].id = "0110"; }},
      {"listed twice",
       [](TileSet &s) { s.index.tiles.push_back(s.index.tiles[0]); }},
      {"tile 58: missing",
       [](TileSet &s) {
         s.index.tiles.erase(
             std::remove_if(s.index.tiles.begin(), s.index.tiles.end(),
                            [](const TileEntry &t) { return t.id == "58"; }),
             s.index.tiles.end());
       }},
  };
  for (const Case &c : cases) {
    TileSet set = GoodTiles();
    c.breakIt(set);
    const auto found = CheckTiles(set.index, set.maps, set.pictures);
    EXPECT_TRUE(Mentions(found, c.rule)) << c.rule << "\n" << Joined(found);
  }
}

} // namespace
