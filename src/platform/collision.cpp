// collision.cpp — pixel-exact overlap of two displayed sprites, each mask
// being the whole loaded picture scaled onto the displayed rectangle.
#include "platform/internal.h"
#include "platform/sprites.h"

namespace plat {

using detail::Sprite;

bool SpriteCollision(int a, int ax, int ay, int b, int bx, int by) {
  const Sprite *sa = detail::State().sprites.Get(a);
  const Sprite *sb = detail::State().sprites.Get(b);
  if (!sa || !sb || sa->mask.empty() || sb->mask.empty())
    return false;
  const int aw = detail::DisplayWidth(*sa), ah = detail::DisplayHeight(*sa);
  const int bw = detail::DisplayWidth(*sb), bh = detail::DisplayHeight(*sb);
  if (aw <= 0 || ah <= 0 || bw <= 0 || bh <= 0)
    return false;
  const SDL_Rect ra{ax, ay, aw, ah}, rb{bx, by, bw, bh};
  SDL_Rect o;
  if (!SDL_IntersectRect(&ra, &rb, &o))
    return false;
  // Nearest sample: the mask pixel under the centre of each screen pixel.
  auto sample = [](int offset, int displayed, int natural) {
    return static_cast<int>((int64_t(offset) * 2 + 1) * natural /
                            (int64_t(displayed) * 2));
  };
  for (int y = o.y; y < o.y + o.h; ++y) {
    const uint8_t *rowA =
        &sa->mask[size_t(sample(y - ay, ah, sa->height)) * sa->width];
    const uint8_t *rowB =
        &sb->mask[size_t(sample(y - by, bh, sb->height)) * sb->width];
    for (int x = o.x; x < o.x + o.w; ++x)
      if (rowA[sample(x - ax, aw, sa->width)] &&
          rowB[sample(x - bx, bw, sb->width)])
        return true;
  }
  return false;
}

} // namespace plat
