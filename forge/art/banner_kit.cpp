// banner_kit.cpp — shared pieces of the animated banners.
#include "banner_kit.h"

#include "canvas.h"
#include "rng.h"
#include "shapes.h"

#include <cmath>
#include <cstdio>

namespace art {

void WriteFrames(Sink &sink, const std::string &prefix, int count, int w, int h,
                 const std::function<void(cairo_t *, int)> &frame) {
  for (int i = 0; i < count; ++i) {
    Canvas c(w, h);
    frame(c.cr, i);
    char name[64];
    std::snprintf(name, sizeof name, "%s%02d.png", prefix.c_str(), i);
    Save(sink, name, ToImage(c));
  }
}

TextStyle ArcadeStyle(Rgba top, Rgba mid, Rgba bottom, Rgba outline,
                      double size) {
  TextStyle s;
  s.fillTop = top;
  s.fillMid = mid;
  s.fillBottom = bottom;
  s.outline = outline;
  s.outlineWidth = size * 0.16;
  s.rim = Rgb8(255, 255, 255);
  s.rimWidth = size * 0.06;
  s.shadow = Rgb8(0, 0, 0, 0.55);
  s.shadowDx = size * 0.02;
  s.shadowDy = size * 0.06;
  s.shadowBlur = size * 0.03;
  s.bevel = size * 0.018;
  s.gloss = 0.45;
  return s;
}

void Sheen(cairo_t *cr, const TextShape &shape, double x, double y,
           double bandX, double width, double alpha) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_new_path(cr);
  cairo_append_path(cr, shape.whole.path);
  cairo_clip(cr);
  double h = shape.height;
  double cx = bandX - x;
  cairo_pattern_t *p =
      cairo_pattern_create_linear(cx - width / 2, 0, cx + width / 2, 0);
  // Stepped rather than smooth: a crisp, printed-looking glint that also
  // keeps the frames small.
  const double steps[6] = {0, 0.2, 0.4, 0.6, 0.8, 1};
  const double level[5] = {0, 0.45, 1, 0.45, 0};
  for (int i = 0; i < 5; ++i) {
    cairo_pattern_add_color_stop_rgba(p, steps[i], 1, 1, 1, alpha * level[i]);
    cairo_pattern_add_color_stop_rgba(p, steps[i + 1], 1, 1, 1,
                                      alpha * level[i]);
  }
  cairo_set_source(cr, p);
  // Leaning band: shift the pattern along with a shear.
  cairo_matrix_t m;
  cairo_matrix_init(&m, 1, 0, 0.35, 1, -0.35 * h / 2, 0);
  cairo_pattern_set_matrix(p, &m);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

void Rays(cairo_t *cr, double cx, double cy, double r, int count, double spin,
          Rgba colour) {
  // Two flat layers of decreasing reach instead of a smooth fade: the
  // look of a printed sunburst, and flat areas keep the PNG frames small.
  cairo_save(cr);
  for (double reach : {1.0, 0.62}) {
    cairo_new_path(cr);
    for (int i = 0; i < count; ++i) {
      double a = spin + i * 2 * kPi / count;
      double half = kPi / count * 0.55 * (1.1 - reach * 0.1);
      double rr = r * reach;
      cairo_move_to(cr, cx, cy);
      cairo_line_to(cr, cx + rr * std::cos(a - half),
                    cy + rr * std::sin(a - half));
      cairo_line_to(cr, cx + rr * std::cos(a + half),
                    cy + rr * std::sin(a + half));
      cairo_close_path(cr);
    }
    SetColour(cr, WithAlpha(colour, colour.a / 2));
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void SparkleBurst(cairo_t *cr, double cx, double cy, double rx, double ry,
                  int count, double t, unsigned seed) {
  Rng rng(seed);
  const Rgba colours[4] = {Rgb8(255, 255, 255), Rgb8(255, 240, 140),
                           Rgb8(160, 230, 255), Rgb8(255, 190, 240)};
  for (int i = 0; i < count; ++i) {
    double a = rng.Range(0, 2 * kPi);
    double reach = rng.Range(0.45, 1.0);
    double delay = rng.Range(0, 0.35);
    double size = rng.Range(8, 20);
    Rgba colour = colours[rng.Below(4)];
    double phase = rng.Range(0, 2 * kPi);
    double local = (t - delay) / (1 - delay);
    if (local <= 0)
      continue;
    double e = EaseOutCubic(local);
    double px = cx + std::cos(a) * rx * reach * e;
    double py = cy + std::sin(a) * ry * reach * e;
    double twinkle = 0.65 + 0.35 * std::sin(phase + local * 14);
    double fade = local > 0.7 ? 1 - (local - 0.7) / 0.3 * 0.6 : 1;
    Sparkle(cr, px, py, size * twinkle, WithAlpha(colour, Clamp01(fade)));
  }
}

double Progress(int frame, int start, int length) {
  if (length <= 0)
    return frame >= start ? 1 : 0;
  return Clamp01(static_cast<double>(frame - start) / length);
}

} // namespace art
