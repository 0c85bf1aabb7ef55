// tileset.h — every tile of the map archive: its value, flags, animation and
// picture.
#pragma once

#include "canvas.h"

#include <string>
#include <vector>

namespace forge {

struct ForgedTile {
  int value = 0;
  std::string sheet;
  bool transparent = false;
  int frames = 1;
  int delay = 0;
  Pixels pixels; // frames side by side, 96 pixels each
};

// Items, doors and the tiles of every theme, by ascending value.
std::vector<ForgedTile> ForgeTiles();

} // namespace forge
