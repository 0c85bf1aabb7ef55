// maze.cpp — the monster house.
#include "maps/maze.h"

namespace maze {

House HouseOf(int houseType) {
  if (houseType == 1)
    return House{{{21, 10, kDoorTopClosed, kDoorTopOpen, kUp},
                  {21, 14, kDoorBottomClosed, kDoorBottomOpen, kDown}},
                 {21, 21},
                 {11, 13}};
  return House{{{19, 12, kDoorLeftClosed, kDoorLeftOpen, kLeft},
                {23, 12, kDoorRightClosed, kDoorRightOpen, kRight}},
               {20, 22},
               {12, 12}};
}

WaitingTile WaitingTileOf(int houseType, bool first) {
  const House house = HouseOf(houseType);
  const int k = (houseType == 1) == first ? 1 : 0;
  return {house.waitX[k], house.waitY[k], house.doors[k].exit};
}

} // namespace maze
