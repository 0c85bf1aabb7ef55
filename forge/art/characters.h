// characters.h — the player and the monsters, drawn in a 96 x 96 box.
#pragma once

#include <cairo.h>

namespace art {

enum class Dir { Up, Down, Left, Right };

constexpr int kFrameSize = 96;
constexpr int kWalkFrames = 4;
constexpr int kMonsterKinds = 6;

// `frame` 0..3 of the walk cycle; 0 is also the standing pose.
void DrawPlayer(cairo_t *cr, Dir dir, int frame);

// `kind` 1..6.
void DrawMonster(cairo_t *cr, int kind, Dir dir, int frame);

// Unit vector of a direction (screen coordinates, y down).
void DirVector(Dir dir, double &dx, double &dy);

} // namespace art
