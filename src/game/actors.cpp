// actors.cpp — positions, strips and collisions shared by the actors.
#include "game/actors.h"

#include <cmath>

#include "maps/maze.h"
#include "platform/sprites.h"

namespace actors {

int ScreenX(int originX, int tileX, int tileSize, int direction,
            double offset) {
  const double x = static_cast<double>(originX) +
                   static_cast<double>(tileX) * tileSize +
                   maze::Dx(direction) * offset;
  return static_cast<int>(std::lround(x));
}

int ScreenY(int originY, int tileY, int tileSize, int direction,
            double offset) {
  const double y = static_cast<double>(originY) +
                   static_cast<double>(tileY) * tileSize +
                   maze::Dy(direction) * offset;
  return static_cast<int>(std::lround(y));
}

void DrawStripFrame(int sprite, int frameX, int x, int y, int opacity) {
  // Several actors share a strip: each is cut at its own frame as it is
  // drawn.
  plat::ClipSprite(sprite, frameX, 0, kFrameWidth, kFrameWidth);
  plat::DisplaySpriteTransparent(sprite, x, y, opacity);
}

bool Collide(const Stage &stage, int a, int ax, int ay, int b, int bx, int by) {
  if (stage.collide != nullptr)
    return stage.collide(a, ax, ay, b, bx, by);
  return plat::SpriteCollision(a, ax, ay, b, bx, by);
}

} // namespace actors
