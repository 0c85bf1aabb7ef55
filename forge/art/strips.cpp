// strips.cpp — player and monster strips: four 96 x 96 frames a direction.
#include "characters.h"
#include "entries.h"

namespace art {

namespace {

struct Facing {
  Dir dir;
  const char *name;
};

// The game loads each kind's strips in the order up, down, left, right.
constexpr Facing kFacings[4] = {{Dir::Up, "up"},
                                {Dir::Down, "down"},
                                {Dir::Left, "left"},
                                {Dir::Right, "right"}};

template <typename DrawFrame> Image Strip(DrawFrame draw) {
  Canvas c(kFrameSize * kWalkFrames, kFrameSize);
  for (int f = 0; f < kWalkFrames; ++f) {
    cairo_save(c.cr);
    cairo_rectangle(c.cr, f * kFrameSize, 0, kFrameSize, kFrameSize);
    cairo_clip(c.cr);
    cairo_translate(c.cr, f * kFrameSize, 0);
    draw(c.cr, f);
    cairo_restore(c.cr);
  }
  return ToImage(c);
}

} // namespace

void WritePlayer(Sink &sink) {
  for (const Facing &fc : kFacings) {
    Image img = Strip([&](cairo_t *cr, int f) { DrawPlayer(cr, fc.dir, f); });
    Save(sink, std::string("player_") + fc.name + ".png", img);
  }
}

void WriteMonster(Sink &sink, int kind) {
  for (const Facing &fc : kFacings) {
    Image img =
        Strip([&](cairo_t *cr, int f) { DrawMonster(cr, kind, fc.dir, f); });
    Save(sink, "monster_" + std::to_string(kind) + "_" + fc.name + ".png", img);
  }
}

} // namespace art
