// banner_kit.h — what the banners share: frame writing, styles, effects.
#pragma once

#include "catalogue.h"
#include "colour.h"
#include "text_art.h"

#include <cairo.h>

#include <functional>
#include <string>

namespace art {

// Draws frames 0..count-1 of a w x h family on transparent canvases and
// saves them as prefix + two-digit number + ".png".
void WriteFrames(Sink &sink, const std::string &prefix, int count, int w, int h,
                 const std::function<void(cairo_t *, int)> &frame);

// Bold arcade lettering: light-to-colour gradient, dark outline, white rim,
// gloss and bevel. `size` is the font size, used to scale the strokes.
TextStyle ArcadeStyle(Rgba top, Rgba mid, Rgba bottom, Rgba outline,
                      double size);

// A bright diagonal band across the text (whole, unposed), centred at
// `bandX` (canvas x); used as a passing shine.
void Sheen(cairo_t *cr, const TextShape &shape, double x, double y,
           double bandX, double width, double alpha);

// Rays from (cx, cy): `count` wedges turned by `spin`, fading out to `r`.
void Rays(cairo_t *cr, double cx, double cy, double r, int count, double spin,
          Rgba colour);

// Sparkles thrown out from (cx, cy) at time t in [0, 1]: each flies out,
// twinkles and fades. Same seed, same sparkles.
void SparkleBurst(cairo_t *cr, double cx, double cy, double rx, double ry,
                  int count, double t, unsigned seed);

// Frame-local progress helpers.
double Progress(int frame, int start, int length); // 0 before, 1 after

} // namespace art
