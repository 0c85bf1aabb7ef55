// items.cpp — the dot and the cherries, as pickup sprites and as shapes.
#include "items.h"

#include "canvas.h"
#include "colour.h"
#include "entries.h"
#include "shapes.h"

#include <cmath>

namespace art {

namespace {

const Rgba kCherryInk = Rgb8(72, 8, 20);

void Cherry(cairo_t *cr, double cx, double cy, double r) {
  cairo_new_path(cr);
  // A slight heart-like dip at the top where the stem goes in.
  cairo_move_to(cr, cx, cy - r * 0.78);
  cairo_curve_to(cr, cx + r * 0.5, cy - r * 1.12, cx + r * 1.05, cy - r * 0.7,
                 cx + r, cy);
  cairo_curve_to(cr, cx + r * 0.98, cy + r * 0.62, cx + r * 0.55, cy + r, cx,
                 cy + r);
  cairo_curve_to(cr, cx - r * 0.55, cy + r, cx - r * 0.98, cy + r * 0.62,
                 cx - r, cy);
  cairo_curve_to(cr, cx - r * 1.05, cy - r * 0.7, cx - r * 0.5, cy - r * 1.12,
                 cx, cy - r * 0.78);
  cairo_close_path(cr);
  FillShaded(cr, cx, cy, r, Rgb8(255, 150, 160), Rgb8(228, 22, 54),
             Rgb8(118, 0, 22));
  StrokeWith(cr, kCherryInk, r * 0.16);
  cairo_new_path(cr);
  EllipsePath(cr, cx - r * 0.38, cy - r * 0.3, r * 0.24, r * 0.15, -0.7);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
  cairo_fill(cr);
}

} // namespace

void DrawDot(cairo_t *cr, double cx, double cy, double r, bool withGlow) {
  if (withGlow) {
    cairo_pattern_t *glow =
        cairo_pattern_create_radial(cx, cy, r * 0.6, cx, cy, r * 2.1);
    cairo_pattern_add_color_stop_rgba(glow, 0, 1, 0.9, 0.45, 0.55);
    cairo_pattern_add_color_stop_rgba(glow, 0.5, 1, 0.82, 0.3, 0.18);
    cairo_pattern_add_color_stop_rgba(glow, 1, 1, 0.8, 0.3, 0);
    cairo_set_source(cr, glow);
    cairo_arc(cr, cx, cy, r * 2.1, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(glow);
  }
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  FillShaded(cr, cx, cy, r, Rgb8(255, 255, 250), Rgb8(255, 236, 160),
             Rgb8(236, 170, 50));
  StrokeWith(cr, Rgb8(150, 84, 10), r * 0.14);
  cairo_new_path(cr);
  cairo_arc(cr, cx - r * 0.32, cy - r * 0.34, r * 0.26, 0, 2 * kPi);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
  cairo_fill(cr);
}

void DrawCherries(cairo_t *cr, double x, double y, double size) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, size / 96.0, size / 96.0);
  // Stems from a shared joint, then a leaf, then the fruit over the stems.
  cairo_new_path(cr);
  cairo_move_to(cr, 30, 60);
  cairo_curve_to(cr, 34, 40, 44, 22, 58, 14);
  cairo_move_to(cr, 66, 54);
  cairo_curve_to(cr, 66, 40, 62, 24, 58, 14);
  StrokeWith(cr, kCherryInk, 8.5);
  StrokeWith(cr, Rgb8(96, 150, 40), 4.5);
  cairo_new_path(cr);
  cairo_move_to(cr, 58, 15);
  cairo_curve_to(cr, 64, 4, 80, 2, 90, 10);
  cairo_curve_to(cr, 82, 20, 68, 22, 58, 15);
  cairo_close_path(cr);
  FillShaded(cr, 74, 10, 16, Rgb8(190, 250, 120), Rgb8(80, 184, 50),
             Rgb8(30, 110, 30));
  StrokeWith(cr, Rgb8(20, 60, 16), 3);
  cairo_new_path(cr);
  cairo_move_to(cr, 62, 14);
  cairo_line_to(cr, 84, 10);
  StrokeWith(cr, Rgb8(30, 110, 30), 1.8);
  cairo_new_path(cr);
  Cherry(cr, 29, 68, 19);
  Cherry(cr, 66, 64, 19);
  cairo_restore(cr);
}

void DrawGoldStar(cairo_t *cr, double cx, double cy, double r,
                  double rotation) {
  cairo_new_path(cr);
  RoundStarPath(cr, cx, cy, 5, r, r * 0.5, rotation, 0.3);
  cairo_pattern_t *p =
      cairo_pattern_create_linear(cx, cy - r, cx + r * 0.3, cy + r);
  AddStop(p, 0, Rgb8(255, 250, 190));
  AddStop(p, 0.45, Rgb8(255, 212, 40));
  AddStop(p, 1, Rgb8(236, 128, 0));
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  StrokeWith(cr, Rgb8(96, 44, 4), r * 0.09);
  cairo_new_path(cr);
  // Inner facets: a smaller star, lighter, gives a pressed-metal look.
  RoundStarPath(cr, cx, cy, 5, r * 0.58, r * 0.3, rotation, 0.3);
  cairo_set_source_rgba(cr, 1, 1, 0.85, 0.45);
  cairo_fill(cr);
  Sparkle(cr, cx - r * 0.28, cy - r * 0.3, r * 0.26, Rgb8(255, 255, 255));
}

void WriteItems(Sink &sink) {
  {
    Canvas c(96, 96);
    DrawDot(c.cr, 48, 48, 12);
    Save(sink, "item_dot.png", ToImage(c));
  }
  {
    Canvas c(96, 96);
    DrawCherries(c.cr, 4, 6, 88);
    Save(sink, "item_cherry.png", ToImage(c));
  }
}

} // namespace art
