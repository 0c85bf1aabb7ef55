// actors.h — what the player and the monsters share: the tile size, screen
// positions and the animation strip. Directions and layers are the
// mazes' (maps/maze.h).
#pragma once

#include "game/stage.h"

namespace actors {

constexpr int kFrameWidth = 96; // one frame of an animation strip
constexpr int kStripFrames = 4;

inline int TileSize(const Stage &stage) {
  return stage.display.geometry.tileSize;
}

// Where an actor on a tile, part way through a step, is drawn.
int ScreenX(int originX, int tileX, int tileSize, int direction, double offset);
int ScreenY(int originY, int tileY, int tileSize, int direction, double offset);

// The next frame of the strip: 0, 96, 192, 288, then 0 again.
inline int NextFrame(int frameX) {
  return (frameX + kFrameWidth) % (kFrameWidth * kStripFrames);
}

// Shows the frame of an actor's strip at its place.
void DrawStripFrame(int sprite, int frameX, int x, int y, int opacity);

// The platform's pixel test, or the stage's stand-in.
bool Collide(const Stage &stage, int a, int ax, int ay, int b, int bx, int by);

} // namespace actors
