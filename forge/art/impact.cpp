// impact.cpp — the catch burst: flash, shock ring, then stars circling.
#include "canvas.h"
#include "colour.h"
#include "entries.h"
#include "items.h"
#include "rng.h"
#include "shapes.h"

#include <cmath>

namespace art {

namespace {

constexpr int kSize = 192;
constexpr int kFrames = 8;
constexpr double kC = kSize / 2.0;

// A jagged comic burst with uneven tips, in flat layers: red rim,
// orange, yellow, white heart.
void JaggedPath(cairo_t *cr, double r, double spin) {
  Rng rng(7);
  constexpr int kTips = 12;
  cairo_new_path(cr);
  for (int i = 0; i < kTips * 2; ++i) {
    double a = spin + i * kPi / kTips;
    double rr = (i % 2 == 0) ? r * rng.Range(0.82, 1.0) : r * 0.55;
    double x = kC + rr * std::cos(a), y = kC + rr * std::sin(a);
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
}

void Burst(cairo_t *cr, double r, double spin) {
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  JaggedPath(cr, r, spin);
  SetColour(cr, Rgb8(255, 128, 24));
  cairo_fill_preserve(cr);
  StrokeWith(cr, Rgb8(176, 24, 10), 4);
  JaggedPath(cr, r * 0.72, spin + 0.13);
  SetColour(cr, Rgb8(255, 214, 50));
  cairo_fill(cr);
  cairo_arc(cr, kC, kC, r * 0.3, 0, 2 * kPi);
  SetColour(cr, Rgb8(255, 255, 236));
  cairo_fill(cr);
}

void Ring(cairo_t *cr, double r, double width, double alpha) {
  cairo_new_path(cr);
  cairo_arc(cr, kC, kC, r, 0, 2 * kPi);
  StrokeWith(cr, Rgb8(255, 170, 60, alpha * 0.8), width + 4);
  StrokeWith(cr, Rgb8(255, 255, 230, alpha), width);
  cairo_new_path(cr);
}

void Flash(cairo_t *cr, double r, double alpha) {
  cairo_pattern_t *p = cairo_pattern_create_radial(kC, kC, 0, kC, kC, r);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 1, alpha);
  cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 0.8, alpha * 0.8);
  cairo_pattern_add_color_stop_rgba(p, 1, 1, 0.9, 0.5, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, kC, kC, r, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// Five stars that fly out from the centre (t = 0) to a halo above the
// head (t = 1).
void DizzyStars(cairo_t *cr, double t, double spin) {
  constexpr int kStars = 5;
  double e = EaseOutCubic(t);
  // The halo's middle, a little above the head.
  double hx = kC, hy = kC - 40;
  for (int i = 0; i < kStars; ++i) {
    double a = spin + i * 2 * kPi / kStars;
    double ox = hx + 58 * std::cos(a), oy = hy + 18 * std::sin(a);
    double sx = kC + (ox - kC) * e, sy = kC + (oy - kC) * e;
    // Stars on the far side of the halo are smaller.
    double depth = 0.75 + 0.25 * std::sin(a);
    DrawGoldStar(cr, sx, sy, (9 + 5 * depth) * (0.5 + 0.5 * e), a);
  }
}

void Orbit(cairo_t *cr, double alpha) {
  cairo_new_path(cr);
  EllipsePath(cr, kC, kC - 40, 58, 18);
  StrokeWith(cr, Rgb8(255, 255, 220, alpha), 2);
  cairo_new_path(cr);
}

void Frame(cairo_t *cr, int i) {
  double spin = i * 0.35;
  switch (i) {
  case 0:
    Flash(cr, 40, 1);
    break;
  case 1:
    Flash(cr, 80, 0.9);
    Burst(cr, 62, spin);
    break;
  case 2:
    Ring(cr, 54, 10, 1);
    Burst(cr, 84, spin);
    break;
  case 3:
    Ring(cr, 72, 8, 0.9);
    Burst(cr, 70, spin);
    DizzyStars(cr, 0.15, 0.4);
    break;
  case 4:
    Ring(cr, 82, 6, 0.7);
    Burst(cr, 46, spin);
    DizzyStars(cr, 0.45, 0.9);
    break;
  case 5:
    Ring(cr, 89, 4, 0.45);
    Burst(cr, 24, spin);
    Orbit(cr, 0.15);
    DizzyStars(cr, 0.75, 1.4);
    break;
  case 6:
    Ring(cr, 93, 2.5, 0.2);
    Orbit(cr, 0.3);
    DizzyStars(cr, 0.92, 1.8);
    break;
  default:
    Orbit(cr, 0.4);
    DizzyStars(cr, 1, 2.1);
    break;
  }
}

} // namespace

void WriteImpact(Sink &sink) {
  Canvas c(kSize * kFrames, kSize);
  for (int i = 0; i < kFrames; ++i) {
    cairo_save(c.cr);
    cairo_rectangle(c.cr, i * kSize, 0, kSize, kSize);
    cairo_clip(c.cr);
    cairo_translate(c.cr, i * kSize, 0);
    Frame(c.cr, i);
    cairo_restore(c.cr);
  }
  Save(sink, "fx.png", ToImage(c));
}

} // namespace art
