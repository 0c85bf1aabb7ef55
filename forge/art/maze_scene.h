// maze_scene.h — the maze world seen from above and behind the player:
// glowing walls in perspective, dots, cherries, the player and monsters.
#pragma once

#include <cairo.h>

namespace art {

// Paints the floor, walls and figures into a w x h canvas; the horizon
// lies at `horizonY`. The sky above it is left to the caller.
void DrawMazeScene(cairo_t *cr, int w, int h, double horizonY);

} // namespace art
