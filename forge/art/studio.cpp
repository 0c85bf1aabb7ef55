// studio.cpp — the studio logo: a moth before a setting sun, in gold.
#include "blur.h"
#include "canvas.h"
#include "colour.h"
#include "entries.h"
#include "rng.h"
#include "shapes.h"
#include "text_art.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

const Rgba kGold = Rgb8(255, 206, 120);
const Rgba kMothDark = Rgb8(22, 10, 34);

void Sky(cairo_t *cr, double w, double horizon) {
  cairo_pattern_t *p = cairo_pattern_create_linear(0, 0, 0, horizon);
  AddStop(p, 0, Rgb8(10, 8, 36));
  AddStop(p, 0.45, Rgb8(58, 34, 104));
  AddStop(p, 0.78, Rgb8(196, 88, 118));
  AddStop(p, 1, Rgb8(255, 176, 96));
  // The last colour carries on below the horizon, behind the hills.
  cairo_set_source(cr, p);
  cairo_paint(cr);
  cairo_pattern_destroy(p);
  Rng rng(5);
  int count = static_cast<int>(w * horizon / 7000);
  for (int i = 0; i < count; ++i) {
    double x = rng.Range(0, w), y = rng.Range(0, horizon * 0.55);
    double fade = 1 - y / (horizon * 0.55);
    cairo_arc(cr, x, y, rng.Range(0.6, 1.6), 0, 2 * kPi);
    cairo_set_source_rgba(cr, 1, 0.97, 0.9, rng.Range(0.3, 1.0) * fade);
    cairo_fill(cr);
  }
}

void Sun(cairo_t *cr, double w, double h, double cx, double cy, double r) {
  PaintBlurred(cr, static_cast<int>(w), static_cast<int>(h), r * 0.35,
               Rgb8(255, 200, 120, 0.8), [&](cairo_t *m) {
                 cairo_arc(m, cx, cy, r * 1.08, 0, 2 * kPi);
                 cairo_fill(m);
               });
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  cairo_pattern_t *p = cairo_pattern_create_linear(0, cy - r, 0, cy + r);
  AddStop(p, 0, Rgb8(255, 244, 200));
  AddStop(p, 0.6, Rgb8(255, 196, 110));
  AddStop(p, 1, Rgb8(255, 120, 80));
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// Rolling hills in two layers, the nearer darker.
void Hills(cairo_t *cr, double w, double h, double horizon) {
  struct Layer {
    double base, amp, freq, phase;
    Rgba colour;
  };
  const Layer layers[2] = {
      {horizon - h * 0.02, h * 0.035, 3.1, 0.6, Rgb8(64, 30, 80)},
      {horizon + h * 0.04, h * 0.05, 2.2, 2.1, Rgb8(26, 12, 40)}};
  for (const Layer &l : layers) {
    cairo_move_to(cr, 0, h);
    for (int i = 0; i <= 96; ++i) {
      double x = w * i / 96.0;
      double u = x / w * 2 * kPi;
      double y = l.base - l.amp * (std::sin(u * l.freq + l.phase) * 0.6 +
                                   std::sin(u * l.freq * 2.3 + l.phase) * 0.4);
      cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, w, h);
    cairo_close_path(cr);
    SetColour(cr, l.colour);
    cairo_fill(cr);
  }
}

// One side of the moth in a unit space: x to the right, wingspan 2.
void WingPath(cairo_t *cr, double s) {
  // Forewing.
  cairo_move_to(cr, s * 0.04, -0.14);
  cairo_curve_to(cr, s * 0.3, -0.42, s * 0.7, -0.66, s * 1.0, -0.6);
  cairo_curve_to(cr, s * 0.98, -0.4, s * 0.86, -0.12, s * 0.66, 0.02);
  cairo_curve_to(cr, s * 0.44, 0.06, s * 0.2, 0.02, s * 0.04, 0.02);
  cairo_close_path(cr);
  // Hindwing.
  cairo_move_to(cr, s * 0.04, 0.0);
  cairo_curve_to(cr, s * 0.3, 0.0, s * 0.66, 0.06, s * 0.68, 0.24);
  cairo_curve_to(cr, s * 0.7, 0.46, s * 0.46, 0.62, s * 0.28, 0.6);
  cairo_curve_to(cr, s * 0.14, 0.56, s * 0.06, 0.4, s * 0.04, 0.22);
  cairo_close_path(cr);
}

void Moth(cairo_t *cr, double cx, double cy, double span) {
  double k = span / 2;
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, k, k);
  double px = 1.0 / k; // one pixel in moth units
  for (double s : {-1.0, 1.0})
    WingPath(cr, s);
  SetColour(cr, kMothDark);
  cairo_fill_preserve(cr);
  StrokeWith(cr, kGold, 3 * px);
  cairo_new_path(cr);
  for (double s : {-1.0, 1.0}) {
    // Veins.
    for (auto [ex, ey] : {std::pair{0.92, -0.54}, std::pair{0.8, -0.2},
                          std::pair{0.6, 0.3}, std::pair{0.36, 0.52}}) {
      cairo_move_to(cr, s * 0.06, -0.02);
      cairo_curve_to(cr, s * ex * 0.4, ey * 0.3, s * ex * 0.7, ey * 0.8, s * ex,
                     ey);
    }
    StrokeWith(cr, WithAlpha(kGold, 0.45), 1.6 * px);
    cairo_new_path(cr);
    // Eye spots.
    cairo_arc(cr, s * 0.6, -0.3, 0.11, 0, 2 * kPi);
    StrokeWith(cr, kGold, 3 * px);
    cairo_new_path(cr);
    cairo_arc(cr, s * 0.6, -0.3, 0.045, 0, 2 * kPi);
    SetColour(cr, kGold);
    cairo_fill(cr);
    cairo_arc(cr, s * 0.4, 0.32, 0.07, 0, 2 * kPi);
    StrokeWith(cr, kGold, 2.4 * px);
    cairo_new_path(cr);
    // Feathered antenna.
    cairo_move_to(cr, s * 0.025, -0.3);
    cairo_curve_to(cr, s * 0.08, -0.5, s * 0.2, -0.66, s * 0.34, -0.74);
    StrokeWith(cr, kMothDark, 7 * px);
    StrokeWith(cr, kGold, 2.4 * px);
    cairo_new_path(cr);
    for (int i = 1; i <= 7; ++i) {
      double t = i / 8.0;
      double ax = s * (0.025 + 0.315 * t), ay = -0.3 - 0.44 * t;
      cairo_move_to(cr, ax, ay);
      cairo_line_to(cr, ax + s * 0.05, ay + 0.025);
    }
    StrokeWith(cr, kMothDark, 4.5 * px);
    StrokeWith(cr, kGold, 1.4 * px);
    cairo_new_path(cr);
  }
  // Body: thorax, abdomen with rings, head.
  EllipsePath(cr, 0, 0.14, 0.065, 0.34);
  SetColour(cr, kMothDark);
  cairo_fill_preserve(cr);
  StrokeWith(cr, kGold, 3 * px);
  cairo_new_path(cr);
  for (int i = 0; i < 4; ++i) {
    double y = 0.14 + i * 0.07;
    cairo_move_to(cr, -0.05, y);
    cairo_curve_to(cr, -0.02, y + 0.02, 0.02, y + 0.02, 0.05, y);
  }
  StrokeWith(cr, WithAlpha(kGold, 0.6), 1.5 * px);
  cairo_new_path(cr);
  cairo_arc(cr, 0, -0.26, 0.065, 0, 2 * kPi);
  SetColour(cr, kMothDark);
  cairo_fill_preserve(cr);
  StrokeWith(cr, kGold, 3 * px);
  cairo_new_path(cr);
  cairo_restore(cr);
}

} // namespace

void WriteStudio(Sink &sink, const Aspect &a) {
  Canvas c(a.width, a.height);
  cairo_t *cr = c.cr;
  double w = a.width, h = a.height;
  double horizon = h * 0.64;
  double unit = std::min(w / 16.0 * 9.0, h); // keeps the motif's proportions
  Sky(cr, w, horizon);
  double sunR = unit * 0.2;
  double sunY = horizon - sunR * 0.45;
  Sun(cr, w, h, w / 2, sunY, sunR);
  Hills(cr, w, h, horizon);
  Moth(cr, w / 2, sunY - unit * 0.02, unit * 0.5);

  double nameSize = unit * 0.1;
  TextShape name =
      MakeText("DUSKMOTH", Face::SerifBold, nameSize, nameSize * 0.32);
  TextStyle style;
  style.fillTop = Rgb8(255, 246, 214);
  style.fillMid = Rgb8(255, 212, 130);
  style.fillBottom = Rgb8(214, 140, 60);
  style.outline = Rgb8(40, 14, 40);
  style.outlineWidth = nameSize * 0.07;
  style.glow = Rgb8(255, 170, 90, 0.5);
  style.glowRadius = nameSize * 0.15;
  style.gloss = 0.25;
  double nameY = h * 0.8;
  DrawText(cr, a.width, a.height, name,
           w / 2 - (name.whole.inkX + name.whole.inkW / 2),
           nameY - (name.whole.inkY + name.whole.inkH / 2), style);

  double subSize = unit * 0.042;
  TextShape sub =
      MakeText("presents", Face::SerifItalic, subSize, subSize * 0.12);
  TextStyle subStyle;
  subStyle.fillTop = subStyle.fillMid = subStyle.fillBottom =
      Rgb8(226, 206, 255);
  DrawText(cr, a.width, a.height, sub,
           w / 2 - (sub.whole.inkX + sub.whole.inkW / 2),
           nameY + nameSize * 0.75 - sub.whole.inkY, subStyle);
  Save(sink, std::string("qirn_") + a.suffix + ".png", ToImage(c, false));
}

} // namespace art
