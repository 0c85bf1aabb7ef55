// themes.h — the six looks of the mazes: colours, wall and floor styles,
// decorations, and how their tiles are numbered.
#pragma once

#include "canvas.h"

#include <string>
#include <vector>

namespace forge {

enum class WallStyle { Hedge, Canopy, Basalt, Sandstone, Earth, Slate };
enum class FloorStyle { Grass, Moss, Ash, NightSand, Dirt, Cobble };
enum class DecorKind {
  Flowers,
  Fern,
  Fireflies,
  Torch,
  LavaPool,
  Crystal,
  DriftSand,
  Lantern,
  StarLamp,
  Rock,
  Mushrooms,
  Bones,
  Roots
};

struct Decoration {
  char letter; // lower case on a floor cell, upper case on a wall cell
  DecorKind kind;
  const char *name;
  int frames; // 1: still
  int delay;  // frames of the game between two pictures
};

struct Theme {
  const char *name;
  int base; // first tile value of the theme
  WallStyle wallStyle;
  FloorStyle floorStyle;
  Rgb floor, floorShade, floorDetail, houseFloor;
  Rgb wall, wallShade, wallLight, edge, halo;
  float margin; // floor showing between a wall and its cell's edge
  float radius; // rounding of a wall's outer corners
  bool glowingEdge;
  Rgb accent; // decorations' own colour (flames, glow, petals)
  std::vector<Decoration> decorations;
};

// Tile values inside a theme's block.
constexpr int kFloorVariants = 4;
constexpr int kHouseFloorOffset = 4;
constexpr int kWallOffset = 10; // 47 joined wall pieces follow
constexpr int kDecorOffset = 60;
// Still tiles get a long delay so that the game's animation step seldom
// touches them; the picture never changes anyway.
constexpr int kStillDelay = 600;

const std::vector<Theme> &Themes();
const Theme *FindTheme(const std::string &name);
// The decoration of a theme that a grid letter names (either case).
const Decoration *FindDecoration(const Theme &theme, char letter);

} // namespace forge
