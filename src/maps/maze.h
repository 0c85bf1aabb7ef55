// maze.h — the rules of the game's mazes, in one place for gameplay, the
// content checker and the tests: the layers and the cell values with a
// meaning, the sizes, directions and the order in which a monster tries
// them, the monster house with its doors and waiting tiles, and where the
// menu maze's monsters come out.
#pragma once

#include <array>
#include <cstdint>

namespace maze {

// Layers of the game's mazes: floor, walls (a non-zero cell blocks the
// player and the monsters), decoration, and the pickups.
constexpr int kFloorLayer = 0, kWallLayer = 1, kDecorLayer = 2, kItemLayer = 3,
              kMazeLayers = 4;
// Pickups on the item layer.
constexpr int16_t kCherry = 56, kDot = 57;
// The house's doors on the wall layer, closed and open.
constexpr int16_t kDoorBottomClosed = 58, kDoorBottomOpen = 59,
                  kDoorTopClosed = 60, kDoorTopOpen = 61, kDoorLeftClosed = 62,
                  kDoorLeftOpen = 63, kDoorRightClosed = 64,
                  kDoorRightOpen = 65;
constexpr bool IsDoorValue(int value) {
  return value >= kDoorBottomClosed && value <= kDoorRightOpen;
}

// Level mazes are made for 43 x 25 cells, the menu maze for 43 x 35; a
// tile's picture is 96 pixels square.
constexpr int kLevelWidth = 43, kLevelHeight = 25;
constexpr int kMenuWidth = 43, kMenuHeight = 35;
constexpr int kTilePixels = 96;
// The cells a 16:9 screen shows in full below the panel; everything the
// player can reach lies inside.
constexpr int kPlayLeft = 2, kPlayRight = 40, kPlayTop = 2, kPlayBottom = 22;

// Directions as the game numbers them.
enum Direction : int8_t {
  kStand = 0,
  kLeft = 1,
  kRight = 2,
  kUp = 3,
  kDown = 4
};

constexpr int Dx(int direction) {
  return direction == kLeft ? -1 : direction == kRight ? 1 : 0;
}
constexpr int Dy(int direction) {
  return direction == kUp ? -1 : direction == kDown ? 1 : 0;
}
// The way back, the only way out of a dead end.
constexpr Direction Opposite(int direction) {
  return direction == kLeft    ? kRight
         : direction == kRight ? kLeft
         : direction == kUp    ? kDown
                               : kUp;
}
// The ways a monster tests after a step in `direction`, in the order it
// tests them; never the way back.
constexpr std::array<Direction, 3> Choices(int direction) {
  switch (direction) {
  case kLeft:
    return {kLeft, kUp, kDown};
  case kRight:
    return {kRight, kUp, kDown};
  case kUp:
    return {kLeft, kRight, kUp};
  default:
    return {kLeft, kRight, kDown};
  }
}

// The monster house in the middle of a level: house type 1 has doors up
// and down, any other type doors left and right.
struct HouseDoor {
  int x, y;
  int16_t closed, open;
  Direction exit; // the direction of a monster stepping onto the door
};
struct House {
  HouseDoor doors[2];     // type 1: top, bottom; else left, right
  int waitX[2], waitY[2]; // the waiting tile inside each door
};
House HouseOf(int houseType);

// Where a level monster waits, facing the door it will leave by. `first`
// is the coin the game tosses for each monster: the bottom tile of an
// upright house, the left one of a sideways house.
struct WaitingTile {
  int x, y;
  Direction facing;
};
WaitingTile WaitingTileOf(int houseType, bool first);

// The menu maze's monsters come out at this cell, each taking its first
// step up or right (the game's coin picks which) without a look.
constexpr int kMenuStartX = 1, kMenuStartY = 1;
constexpr std::array<Direction, 2> kMenuFirstSteps = {kUp, kRight};

} // namespace maze
