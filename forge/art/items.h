// items.h — pickups and emblems, drawable at any place and size.
#pragma once

#include <cairo.h>

namespace art {

// A glowing pellet of core radius r; the glow reaches about 2 r.
void DrawDot(cairo_t *cr, double cx, double cy, double r, bool glow = true);

// A pair of cherries on their stems filling a size x size box whose
// top-left corner is (x, y).
void DrawCherries(cairo_t *cr, double x, double y, double size);

// A gold five-pointed star with a bevelled face and a shine.
void DrawGoldStar(cairo_t *cr, double cx, double cy, double r,
                  double rotation = 0);

} // namespace art
