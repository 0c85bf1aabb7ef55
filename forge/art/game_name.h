// game_name.h — the game's name as a display logotype.
#pragma once

#include <cairo.h>

namespace art {

// Paints "Warrenfold" centred on (cx, cy), about `width` pixels wide,
// letters on a gentle arch, with glow, shadow, outlines, gradient and
// bevel. The canvas size is needed for the blurred layers.
// `flat` leaves out the blurred glow and shadow, for pictures that must
// stay small.
void DrawGameName(cairo_t *cr, int canvasW, int canvasH, double cx, double cy,
                  double width, bool flat = false);

// Height of the painted name (ink, without glow) for a given width.
double GameNameHeight(double width);

} // namespace art
