// panel.cpp — the panel pictures: star, cherry icon, count plate, veil.
#include "canvas.h"
#include "colour.h"
#include "entries.h"
#include "items.h"
#include "shapes.h"

#include <cmath>

namespace art {

namespace {

// A shooting star: streaks trailing to the left of a gold star. Drawn on
// pure black, the game's transparent colour; every stroke is opaque.
Image Star() {
  Canvas c(192, 96);
  cairo_t *cr = c.cr;
  struct Streak {
    double y, len, width;
    Rgba colour;
  };
  const Streak streaks[3] = {{36, 104, 9, Rgb8(255, 120, 40)},
                             {52, 124, 12, Rgb8(255, 196, 40)},
                             {67, 92, 8, Rgb8(255, 150, 60)}};
  for (const Streak &s : streaks) {
    double x1 = 128, x0 = x1 - s.len;
    cairo_new_path(cr);
    cairo_move_to(cr, x0, s.y);
    cairo_line_to(cr, x1, s.y - s.width / 2);
    cairo_line_to(cr, x1, s.y + s.width / 2);
    cairo_close_path(cr);
    StrokeWith(cr, Rgb8(96, 40, 6), 4);
    SetColour(cr, s.colour);
    cairo_fill(cr);
  }
  DrawGoldStar(cr, 132, 48, 44, 0.18);
  return ToKeyedImage(c);
}

Image CherryIcon() {
  Canvas c(96, 96);
  DrawCherries(c.cr, 2, 4, 92);
  return ToKeyedImage(c);
}

// A light plate for black digits, opaque with black corners like the band.
Image CherryPlate() {
  Canvas c(192, 96);
  cairo_t *cr = c.cr;
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  RoundedRect(cr, 6, 8, 180, 80, 26);
  cairo_pattern_t *p = cairo_pattern_create_linear(0, 8, 0, 88);
  AddStop(p, 0, Rgb8(255, 253, 240));
  AddStop(p, 0.55, Rgb8(255, 238, 190));
  AddStop(p, 1, Rgb8(246, 206, 130));
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  StrokeWith(cr, Rgb8(206, 120, 20), 6);
  cairo_new_path(cr);
  RoundedRect(cr, 14, 15, 164, 66, 20);
  StrokeWith(cr, Rgb8(255, 255, 255, 0.9), 2.5);
  cairo_new_path(cr);
  return ToImage(c, true);
}

Image Veil() {
  Canvas c(16, 16);
  cairo_set_source_rgb(c.cr, 0, 0, 0);
  cairo_paint(c.cr);
  return ToImage(c, true);
}

} // namespace

void WritePanel(Sink &sink) {
  Save(sink, "star.png", Star());
  Save(sink, "cherrybar.png", CherryIcon());
  Save(sink, "cherrybarscore.png", CherryPlate());
  Save(sink, "shadow.png", Veil());
}

} // namespace art
