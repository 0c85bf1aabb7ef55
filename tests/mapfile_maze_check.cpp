// mapfile_maze_check.cpp — the content checker catches each kind of broken maze
// and tile set, starting from small mazes that obey every rule.
#include "maps/mapfile.h"
#include "maps/mapfile_levels.h"
#include "maps/maze.h"
#include "maps/maze_check.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace mapfile;
using namespace maze;

constexpr int16_t kFloor = 100, kWall = 110;

// Whether a message names the rule; all of them on failure.
testing::AssertionResult Mentions(const std::vector<std::string> &found,
                                  const std::string &what) {
  std::string all;
  for (const std::string &s : found)
    if (s.find(what) != std::string::npos)
      return testing::AssertionSuccess();
    else
      all += s + "\n";
  return testing::AssertionFailure() << "no \"" << what << "\" in\n" << all;
}

bool InHouse(int x, int y) { return x >= 19 && x <= 23 && y >= 10 && y <= 14; }

// The menu maze, open; or a level: an open field inside a border wall with
// the house of the level's type in the middle and exactly the pickup total
// in dots.
MapEntry OpenMaze(const std::string &id) {
  const LevelTableRow *rule = FindLevel(id);
  const int w = rule ? kLevelWidth : kMenuWidth,
            h = rule ? kLevelHeight : kMenuHeight;
  MapEntry map = MakeMap(id, w, h, kMazeLayers, kTilePixels, kTilePixels);
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y) {
      SetCell(map, kFloorLayer, x, y, kFloor);
      const bool inside = x >= kPlayLeft && x <= kPlayRight && y >= kPlayTop &&
                          y <= kPlayBottom;
      if (rule && (!inside || (InHouse(x, y) &&
                               (x == 19 || x == 23 || y == 10 || y == 14))))
        SetCell(map, kWallLayer, x, y, kWall);
    }
  if (!rule)
    return map;
  for (const HouseDoor &door : HouseOf(rule->houseType).doors)
    SetCell(map, kWallLayer, door.x, door.y, door.closed);
  int placed = 0;
  for (int y = kPlayTop; y <= kPlayBottom; ++y)
    for (int x = kPlayLeft; x <= kPlayRight; ++x)
      if (placed < rule->pickupTotal && IsFree(map, x, y) && !InHouse(x, y) &&
          !(x == rule->startX && y == rule->startY)) {
        SetCell(map, kItemLayer, x, y, kDot);
        ++placed;
      }
  return map;
}

std::vector<std::string> Check(const std::string &id, const MapEntry &map) {
  const LevelTableRow *rule = FindLevel(id);
  return rule ? CheckLevelMap(map, *rule) : CheckMenuMap(map);
}

TEST(MapfileRules, EachBrokenRuleIsNamed) {
  for (const char *id : {"01", "02", "M0"}) {
    const auto found = Check(id, OpenMaze(id));
    EXPECT_TRUE(found.empty()) << found.front();
  }
  struct Edit {
    int layer, x, y, value;
  };
  constexpr int W = kWallLayer, I = kItemLayer;
  // A wall from top to bottom: the start on one side, the house on the
  // other.
  std::vector<Edit> column;
  for (int y = kPlayTop; y <= kPlayBottom; ++y)
    column.push_back({W, 15, y, kWall});
  // On the menu maze, a corridor along the top that ends in a wall: after
  // the first step up the monsters can only go left to the corner, and
  // from there nowhere.
  std::vector<Edit> pocket = {{W, 2, 0, kWall}};
  for (int x = 0; x < kMenuWidth; ++x)
    if (x != 1 && x != 2)
      pocket.push_back({W, x, 1, kWall});
  const struct {
    const char *id, *rule;
    std::vector<Edit> edits;
  } cases[] = {
      {"01", "item count differs", {{I, 2, 2, 0}}},
      {"01", "start tile is not free", {{W, 10, 10, kWall}}},
      {"01", "item on the start tile", {{I, 10, 10, kCherry}}},
      {"01",
       "door does not hold its closed value",
       {{W, 21, 10, kDoorTopOpen}}},
      {"01",
       "door value away from the house doors",
       {{W, 19, 12, kDoorLeftClosed}}},
      {"01", "monster waiting tile is not free", {{W, 21, 11, kWall}}},
      {"01", "item inside the monster house", {{I, 21, 13, kDot}}},
      {"01", "the player can walk into the monster house", {{W, 19, 11, 0}}},
      {"01", "item out of the player's reach", {{W, 0, 1, 0}, {I, 0, 1, kDot}}},
      {"01", "dead end", {{W, 3, 2, kWall}}},
      {"01", "item inside a wall", {{W, 2, 2, kWall}}},
      {"01", "walkable cell outside the visible area", {{W, 1, 5, 0}}},
      {"01", "decoration on a walkable cell", {{kDecorLayer, 5, 5, 160}}},
      {"01", "item layer holds something else", {{I, 2, 2, 58}}},
      {"01", "cell without floor", {{kFloorLayer, 0, 0, 0}}},
      // Walled in at a door: the monster stands on it with nowhere to go.
      {"01",
       "a monster leaving the house never reaches the corridors",
       {{W, 21, 9, kWall}}},
      {"02",
       "a monster leaving the house never reaches the corridors",
       {{W, 24, 12, kWall}}},
      // Walls below the corner cell leave (2, 2) reachable only from the
      // right: a monster stepping in could only turn back.
      {"01", "monsters meet a dead end", {{W, 2, 3, kWall}, {W, 3, 3, kWall}}},
      {"01", "monsters reach a cell the player cannot", column},
      {"01", "monsters can never come to a cell the player reaches", column},
      // A pocket above the top door, in the door's column.
      {"01",
       "monsters reach a cell the player cannot",
       {{W, 20, 9, kWall}, {W, 22, 9, kWall}, {W, 21, 8, kWall}}},
      {"M0",
       "the title monsters' first step up is blocked",
       {{W, 1, 0, kWall}}},
      {"M0",
       "the title monsters' first step right is blocked",
       {{W, 2, 1, kWall}}},
      {"M0", "monsters meet a dead end", pocket},
      {"M0", "item on the menu maze", {{I, 5, 5, kDot}}},
  };
  for (const auto &c : cases) {
    MapEntry map = OpenMaze(c.id);
    for (const Edit &e : c.edits)
      SetCell(map, e.layer, e.x, e.y, static_cast<int16_t>(e.value));
    EXPECT_TRUE(
        Mentions(Check(c.id, map), std::string("map ") + c.id + ": " + c.rule));
  }
  // The size and the layers come first.
  for (const char *id : {"01", "M0"}) {
    MapEntry map = OpenMaze(id);
    --map.heightTiles;
    EXPECT_TRUE(Mentions(Check(id, map), "wrong size"));
    map.layers.pop_back();
    map.layerCount = 3;
    EXPECT_TRUE(Mentions(Check(id, map), "too few layers"));
  }
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
  set.maps["01"] = set.maps["M0"] = map;
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
    EXPECT_TRUE(found.empty()) << found.front();
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
      // A header cut short, a wrong signature, a zero width.
      {"picture is not a PNG",
       [](TileSet &s) { s.pictures["110"].resize(23); }},
      {"picture is not a PNG", [](TileSet &s) { s.pictures["110"][1] = 'J'; }},
      {"picture is not a PNG",
       [](TileSet &s) { s.pictures["110"] = FakePng(0, 96); }},
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
         std::erase_if(s.index.tiles,
                       [](const TileEntry &t) { return t.id == "58"; });
       }},
  };
  for (const Case &c : cases) {
    TileSet set = GoodTiles();
    c.breakIt(set);
    EXPECT_TRUE(
        Mentions(CheckTiles(set.index, set.maps, set.pictures), c.rule));
  }
}

} // namespace
