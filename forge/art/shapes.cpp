// shapes.cpp — common paths, shadings and easing curves.
#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace art {

void EllipsePath(cairo_t *cr, double cx, double cy, double rx, double ry,
                 double angle) {
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, angle);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void StarPath(cairo_t *cr, double cx, double cy, int points, double outer,
              double inner, double rotation) {
  cairo_new_sub_path(cr);
  for (int i = 0; i < points * 2; ++i) {
    double a = rotation - kPi / 2 + i * kPi / points;
    double r = (i % 2 == 0) ? outer : inner;
    double x = cx + r * std::cos(a);
    double y = cy + r * std::sin(a);
    if (i == 0)
      cairo_move_to(cr, x, y);
    else
      cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
}

void RoundStarPath(cairo_t *cr, double cx, double cy, int points, double outer,
                   double inner, double rotation, double round) {
  int n = points * 2;
  auto at = [&](int i, double &x, double &y) {
    double a = rotation - kPi / 2 + i * kPi / points;
    double r = (i % 2 == 0) ? outer : inner;
    x = cx + r * std::cos(a);
    y = cy + r * std::sin(a);
  };
  // Each corner is cut back towards its neighbours and bridged by a curve.
  cairo_new_sub_path(cr);
  for (int i = 0; i <= n; ++i) {
    double px, py, x, y, nx, ny;
    at((i + n - 1) % n, px, py);
    at(i % n, x, y);
    at((i + 1) % n, nx, ny);
    double t = round * 0.5;
    double ax = x + (px - x) * t, ay = y + (py - y) * t;
    double bx = x + (nx - x) * t, by = y + (ny - y) * t;
    if (i == 0)
      cairo_move_to(cr, ax, ay);
    else
      cairo_line_to(cr, ax, ay);
    if (i < n)
      cairo_curve_to(cr, x, y, x, y, bx, by);
  }
  cairo_close_path(cr);
}

void FillShaded(cairo_t *cr, double cx, double cy, double r, Rgba light,
                Rgba base, Rgba dark) {
  cairo_pattern_t *p = cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4,
                                                   r * 0.05, cx, cy, r * 1.05);
  AddStop(p, 0, light);
  AddStop(p, 0.45, base);
  AddStop(p, 1, dark);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
}

void StrokeWith(cairo_t *cr, Rgba colour, double width) {
  SetColour(cr, colour);
  cairo_set_line_width(cr, width);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke_preserve(cr);
}

void Sparkle(cairo_t *cr, double cx, double cy, double size, Rgba colour) {
  double s = size, w = size * 0.18;
  cairo_new_path(cr);
  cairo_move_to(cr, cx, cy - s);
  cairo_curve_to(cr, cx + w * 0.3, cy - w, cx + w, cy - w * 0.3, cx + s, cy);
  cairo_curve_to(cr, cx + w, cy + w * 0.3, cx + w * 0.3, cy + w, cx, cy + s);
  cairo_curve_to(cr, cx - w * 0.3, cy + w, cx - w, cy + w * 0.3, cx - s, cy);
  cairo_curve_to(cr, cx - w, cy - w * 0.3, cx - w * 0.3, cy - w, cx, cy - s);
  cairo_close_path(cr);
  SetColour(cr, colour);
  cairo_fill(cr);
}

double EaseOutBounce(double t) {
  t = Clamp01(t);
  const double n = 7.5625, d = 2.75;
  if (t < 1 / d)
    return n * t * t;
  if (t < 2 / d) {
    t -= 1.5 / d;
    return n * t * t + 0.75;
  }
  if (t < 2.5 / d) {
    t -= 2.25 / d;
    return n * t * t + 0.9375;
  }
  t -= 2.625 / d;
  return n * t * t + 0.984375;
}

double Clamp01(double t) { return std::clamp(t, 0.0, 1.0); }

double EaseOutBack(double t, double s) {
  t = Clamp01(t) - 1;
  return t * t * ((s + 1) * t + s) + 1;
}

double EaseOutCubic(double t) {
  t = 1 - Clamp01(t);
  return 1 - t * t * t;
}

double EaseInCubic(double t) {
  t = Clamp01(t);
  return t * t * t;
}

double EaseInOutSine(double t) {
  return 0.5 - 0.5 * std::cos(kPi * Clamp01(t));
}

} // namespace art
