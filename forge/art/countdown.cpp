// countdown.cpp — the countdown banner: "READY?", five to one, then "GO!".
#include "banner_kit.h"
#include "entries.h"
#include "shapes.h"

#include <cmath>

namespace art {

namespace {

constexpr int kW = 420, kH = 351, kFrames = 47;
constexpr double kCx = kW / 2.0, kCy = kH / 2.0;
constexpr double kDiscR = 148, kRingR = 131;

// First frame of each number; each beep sounds on one of these frames.
constexpr int kNumberStart[5] = {8, 14, 21, 27, 34};
constexpr int kGoStart = 40;

const Rgba kNumberColour[5] = {Rgb8(70, 150, 255), Rgb8(60, 210, 90),
                               Rgb8(255, 210, 30), Rgb8(255, 136, 24),
                               Rgb8(255, 58, 58)};

TextStyle NumberStyle(Rgba c, double size) {
  TextStyle s = ArcadeStyle(Tint(c, 0.85), Tint(c, 0.15), Shade(c, 0.62),
                            Rgb8(16, 16, 44), size);
  s.outlineWidth = size * 0.12;
  s.rimWidth = size * 0.045;
  return s;
}

// Draws `shape` centred on the disc, scaled about its middle.
void Centred(cairo_t *cr, const TextShape &shape, const TextStyle &style,
             double scale, double opacity, double dy = 0) {
  if (scale <= 0 || opacity <= 0)
    return;
  const Glyph &g = shape.whole;
  double x = kCx - (g.inkX + g.inkW / 2);
  double y = kCy + dy - (g.inkY + g.inkH / 2);
  cairo_save(cr);
  cairo_translate(cr, kCx, kCy + dy);
  cairo_scale(cr, scale, scale);
  cairo_translate(cr, -kCx, -kCy - dy);
  if (opacity < 1)
    cairo_push_group(cr);
  DrawText(cr, kW, kH, shape, x, y, style);
  if (opacity < 1) {
    cairo_pop_group_to_source(cr);
    cairo_paint_with_alpha(cr, opacity);
  }
  cairo_restore(cr);
}

// The dark disc behind the numbers with a ring that runs down.
void Disc(cairo_t *cr, double scale, Rgba colour, double remaining) {
  if (scale <= 0)
    return;
  cairo_save(cr);
  cairo_translate(cr, kCx, kCy);
  cairo_scale(cr, scale, scale);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, kDiscR, 0, 2 * kPi);
  cairo_pattern_t *p = cairo_pattern_create_radial(0, -40, 10, 0, 0, kDiscR);
  cairo_pattern_add_color_stop_rgba(p, 0, 0.16, 0.18, 0.42, 0.78);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.04, 0.04, 0.16, 0.78);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  StrokeWith(cr, Rgb8(255, 255, 255, 0.9), 5);
  cairo_new_path(cr);
  cairo_arc(cr, 0, 0, kRingR, 0, 2 * kPi);
  StrokeWith(cr, Rgb8(255, 255, 255, 0.18), 14);
  cairo_new_path(cr);
  if (remaining > 0) {
    cairo_arc(cr, 0, 0, kRingR, -kPi / 2, -kPi / 2 + 2 * kPi * remaining);
    StrokeWith(cr, colour, 14);
    cairo_new_path(cr);
  }
  cairo_restore(cr);
}

// Pop-in and shrink-out of a shape shown for `span` frames, at local k.
void PopCurve(int k, int span, double &scale, double &opacity) {
  constexpr double kPop[4] = {0.45, 1.24, 0.94, 1.03};
  scale = k < 4 ? kPop[k] : 1.0;
  opacity = 1;
  if (k == span - 2) {
    scale = 0.9;
    opacity = 0.8;
  } else if (k == span - 1) {
    scale = 0.72;
    opacity = 0.45;
  }
}

struct Texts {
  TextShape digits[5];
  TextShape ready;
  TextShape go;
};

void Frame(cairo_t *cr, int i, const Texts &t) {
  if (i < kNumberStart[0]) {
    // Lead-in: the disc springs open while "READY?" bounces in.
    double disc = EaseOutBack((i + 1) / 4.0, 2.2);
    Disc(cr, disc, Rgb8(255, 255, 255), (i + 1) / 8.0);
    double scale, opacity;
    PopCurve(std::max(0, i - 1), 99, scale, opacity);
    if (i >= 1)
      Centred(cr, t.ready, NumberStyle(Rgb8(255, 214, 60), 80), scale, 1);
    return;
  }
  if (i < kGoStart) {
    int n = 0;
    while (n < 4 && i >= kNumberStart[n + 1])
      ++n;
    int start = kNumberStart[n];
    int end = n < 4 ? kNumberStart[n + 1] : kGoStart;
    int k = i - start, span = end - start;
    Disc(cr, 1, kNumberColour[n], 1 - static_cast<double>(k) / span);
    double scale, opacity;
    PopCurve(k, span, scale, opacity);
    Centred(cr, t.digits[n], NumberStyle(kNumberColour[n], 230), scale, opacity,
            6);
    return;
  }
  // GO!: the disc gives way to a burst of rays and sparkles.
  int k = i - kGoStart;
  double burst = EaseOutCubic((k + 1) / 4.0);
  Rays(cr, kCx, kCy, 60 + 150 * burst, 14, k * 0.08, Rgb8(255, 255, 160, 0.75));
  double shrink = 1 - EaseInCubic(k / 3.0);
  if (shrink > 0)
    Disc(cr, shrink, kNumberColour[1], 0);
  cairo_new_path(cr);
  cairo_arc(cr, kCx, kCy, 40 + 150 * burst, 0, 2 * kPi);
  StrokeWith(cr, Rgb8(255, 255, 255, 0.8 * (1 - burst * 0.7)),
             10 * (1 - burst) + 2);
  cairo_new_path(cr);
  SparkleBurst(cr, kCx, kCy, 200, 170, 14, (k + 1) / 7.0, 46);
  double scale, opacity;
  PopCurve(k, 99, scale, opacity);
  Centred(cr, t.go, NumberStyle(Rgb8(120, 230, 40), 150), scale * 1.05, 1, 4);
}

} // namespace

void WriteCountdown(Sink &sink) {
  Texts t;
  for (int n = 0; n < 5; ++n)
    t.digits[n] = MakeText(std::to_string(5 - n), Face::DisplayBold, 230);
  double readySize = SizeForWidth("READY?", Face::SansBold, 256);
  t.ready = MakeText("READY?", Face::SansBold, readySize);
  double goSize = SizeForWidth("GO!", Face::DisplayBold, 290);
  t.go = MakeText("GO!", Face::DisplayBold, std::min(goSize, 170.0));
  WriteFrames(sink, "countdown_", kFrames, kW, kH,
              [&](cairo_t *cr, int i) { Frame(cr, i, t); });
}

} // namespace art
