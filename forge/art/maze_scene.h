// maze_scene.h — the maze world seen from behind the player.
#pragma once

#include <cairo.h>

namespace art {

// Paints the floor, walls and figures into a w x h canvas; the horizon
// lies at `horizonY`. The sky above it is left to the caller.
void DrawMazeScene(cairo_t *cr, int w, int h, double horizonY);

} // namespace art
