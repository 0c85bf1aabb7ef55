// walls.h — joined wall pieces: which of the 47 pieces a wall cell shows,
// chosen by its eight neighbours, and how each piece is painted.
#pragma once

#include "canvas.h"
#include "themes.h"

#include <cstdint>
#include <vector>

namespace forge {

// Neighbour bits of a wall cell; a set bit means a wall (or door) there.
enum : uint8_t {
  kN = 1,
  kNE = 2,
  kE = 4,
  kSE = 8,
  kS = 16,
  kSW = 32,
  kW = 64,
  kNW = 128
};

// Drops the diagonal bits that make no difference to the picture (a corner
// only counts when both walls beside it are there).
uint8_t ReduceWallMask(uint8_t mask);
// The 47 reduced masks in ascending order; a piece's number is its place.
const std::vector<uint8_t> &WallMasks();
int WallPiece(uint8_t mask);

Pixels PaintWall(const Theme &theme, uint8_t reducedMask);

} // namespace forge
