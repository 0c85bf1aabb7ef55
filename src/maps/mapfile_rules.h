// mapfile_rules.h — the content rules every shipped maze and tile obeys,
// shared by the maps forge and the content tests.
#pragma once

#include "maps/mapfile.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace mapfile {

// Layers of the game's mazes.
constexpr int kFloorLayer = 0, kWallLayer = 1, kDecorLayer = 2, kItemLayer = 3,
              kMazeLayers = 4;
constexpr int16_t kCherry = 56, kDot = 57;
// Door values: closed, then open.
constexpr int16_t kDoorBottomClosed = 58, kDoorBottomOpen = 59,
                  kDoorTopClosed = 60, kDoorTopOpen = 61, kDoorLeftClosed = 62,
                  kDoorLeftOpen = 63, kDoorRightClosed = 64,
                  kDoorRightOpen = 65;

constexpr int kLevelWidth = 43, kLevelHeight = 25;
constexpr int kMenuWidth = 43, kMenuHeight = 35;
constexpr int kTilePixels = 96;
// The cells a 16:9 screen shows in full below the panel; everything the
// player can reach lies inside.
constexpr int kPlayLeft = 2, kPlayRight = 40, kPlayTop = 2, kPlayBottom = 22;
// Where the title monsters come out on the menu maze.
constexpr int kMenuStartX = 1, kMenuStartY = 1;

// Movement directions as the game numbers them.
enum Direction : int { kLeft = 1, kRight = 2, kUp = 3, kDown = 4 };

// What the rules need of one of the 20 level records.
struct LevelRule {
  const char *id;
  int houseType; // 1: doors up and down, 2: doors left and right
  int startX, startY;
  int pickupTotal;
};

const std::vector<LevelRule> &LevelRules();
// nullptr when the ID names no level.
const LevelRule *FindLevelRule(const std::string &id);

struct HouseDoor {
  int x, y;
  int16_t closed, open;
  Direction exit; // the direction of a monster stepping onto the door
};

struct House {
  HouseDoor doors[2];
  int waitX[2], waitY[2];
};

// The doors and waiting tiles of house type 1 or 2 (type 2 for any other).
House HouseOf(int houseType);

// Whether a cell is free for movement: inside the grid and 0 on layer 1.
bool IsFree(const MapEntry &map, int x, int y);

// Violations of the level rules, each naming the map and the rule; empty
// when the map is fine.
std::vector<std::string> CheckLevelMap(const MapEntry &map,
                                       const LevelRule &rule);
// The same for the menu maze "M0".
std::vector<std::string> CheckMenuMap(const MapEntry &map);
// The tiles: every map the same tile size, every cell value with a tile,
// every tile with a picture of the right size and sensible flags.
// `pictures` maps tile IDs to their PNG bytes.
std::vector<std::string>
CheckTiles(const Index &index, const std::map<std::string, MapEntry> &maps,
           const std::map<std::string, std::vector<uint8_t>> &pictures);

// Width and height from a PNG's header; false when it is not a PNG.
bool PngSize(const uint8_t *data, size_t size, int &width, int &height);

} // namespace mapfile
