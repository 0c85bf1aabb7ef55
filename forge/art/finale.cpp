// finale.cpp — the finale banners: congratulations and all levels cleared.
#include "banner_kit.h"
#include "entries.h"
#include "items.h"
#include "shapes.h"

#include <cmath>

namespace art {

namespace {

const Rgba kRainbow[8] = {Rgb8(255, 70, 70),  Rgb8(255, 150, 30),
                          Rgb8(255, 220, 30), Rgb8(110, 220, 60),
                          Rgb8(40, 200, 230), Rgb8(70, 120, 255),
                          Rgb8(170, 90, 255), Rgb8(255, 90, 200)};

// Outlines of every letter first, then each letter's own fill, so no
// outline covers a neighbour's face.
void TwoPassText(cairo_t *cr, int w, int h, const TextShape &text, double x,
                 double y, const TextStyle &base,
                 const std::vector<LetterPose> &poses,
                 const std::function<Rgba(size_t)> &colourOf) {
  TextStyle outline = base;
  outline.fillTop = outline.fillMid = outline.fillBottom = Rgb8(0, 0, 0, 0);
  outline.gloss = 0;
  outline.bevel = 0;
  DrawText(cr, w, h, text, x, y, outline, poses);
  for (size_t j = 0; j < text.letters.size(); ++j) {
    std::vector<LetterPose> only = poses;
    for (size_t k = 0; k < only.size(); ++k)
      only[k].visible = only[k].visible && k == j;
    TextStyle fill = base;
    Rgba c = colourOf(j);
    fill.fillTop = Tint(c, 0.55);
    fill.fillMid = c;
    fill.fillBottom = Shade(c, 0.6);
    fill.outlineWidth = 0;
    fill.rimWidth = 0;
    fill.shadow.a = 0;
    fill.glow.a = 0;
    fill.haloWidth = 0;
    DrawText(cr, w, h, text, x, y, fill, only);
  }
}

void Congrats(Sink &sink) {
  constexpr int kW = 1169, kH = 212, kFrames = 29;
  const std::string word = "CONGRATULATIONS!";
  double size =
      std::min(128.0, SizeForWidth(word, Face::CondensedBold, 1040, 4));
  TextShape text = MakeText(word, Face::CondensedBold, size, 4);
  TextStyle style = ArcadeStyle(Rgb8(255, 255, 255), Rgb8(255, 255, 255),
                                Rgb8(255, 255, 255), Rgb8(20, 10, 50), size);
  style.shadowBlur = 0;
  double x = kW / 2.0 - (text.whole.inkX + text.whole.inkW / 2);
  double y = kH / 2.0 - (text.whole.inkY + text.whole.inkH / 2);
  size_t n = text.letters.size();
  int allIn = static_cast<int>(n) + 3;
  WriteFrames(sink, "congrats_", kFrames, kW, kH, [&](cairo_t *cr, int i) {
    std::vector<LetterPose> poses(n);
    for (size_t j = 0; j < n; ++j) {
      int start = static_cast<int>(j);
      double t = Progress(i, start, 4);
      poses[j].visible = i >= start;
      poses[j].scale = EaseOutBack(t, 3);
      poses[j].dy = -(1 - EaseOutCubic(t)) * 40;
      // After landing, a wave runs through the letters.
      if (i >= allIn) {
        double wave = std::sin((i - allIn) * 0.9 - j * 0.6);
        double fade = 1 - Progress(i, allIn, kFrames - 1 - allIn);
        poses[j].dy += wave * 7 * fade;
      }
    }
    TextStyle s = style;
    if (i >= allIn) {
      s.halo = Rgb8(255, 255, 255, 0.9);
      s.haloWidth = size * 0.035 * Progress(i, allIn, 3);
    }
    TwoPassText(cr, kW, kH, text, x, y, s, poses,
                [](size_t j) { return kRainbow[j % 8]; });
    if (i >= allIn && i < kFrames - 1) {
      double t = Progress(i, allIn, kFrames - 1 - allIn);
      Sheen(cr, text, x, y, x - 150 + t * (text.width + 300), 150, 0.7);
    }
    if (i >= allIn - 4)
      SparkleBurst(cr, kW / 2.0, kH / 2.0, 620, 140, 16,
                   Progress(i, allIn - 4, kFrames - (allIn - 4)), 29);
  });
}

// A ribbon with folded, notched ends; `open` 0..1 unrolls it from the
// middle.
void Ribbon(cairo_t *cr, double cx, double cy, double halfW, double halfH,
            double open) {
  if (open <= 0)
    return;
  const Rgba band = Rgb8(36, 70, 190), dark = Rgb8(16, 30, 110),
             gold = Rgb8(255, 208, 60), ink = Rgb8(10, 14, 50);
  double hw = halfW * open;
  // Tails behind the band's ends, lower and notched.
  if (open > 0.6) {
    double tail = 100 * Progress(static_cast<int>(open * 100), 60, 40);
    for (double s : {-1.0, 1.0}) {
      double x0 = cx + s * (hw - 60), x1 = cx + s * (hw + tail);
      cairo_new_path(cr);
      cairo_move_to(cr, x0, cy - halfH + 34);
      cairo_line_to(cr, x1, cy - halfH + 34);
      cairo_line_to(cr, x1 - s * 40, cy + 20);
      cairo_line_to(cr, x1, cy + halfH + 34);
      cairo_line_to(cr, x0, cy + halfH + 34);
      cairo_close_path(cr);
      SetColour(cr, dark);
      cairo_fill_preserve(cr);
      StrokeWith(cr, ink, 5);
      cairo_new_path(cr);
      // The fold: a small dark triangle where the tail tucks under.
      cairo_move_to(cr, cx + s * hw, cy + halfH);
      cairo_line_to(cr, cx + s * (hw - 60), cy + halfH + 34);
      cairo_line_to(cr, cx + s * (hw - 60), cy + halfH);
      cairo_close_path(cr);
      SetColour(cr, ink);
      cairo_fill(cr);
    }
  }
  cairo_new_path(cr);
  cairo_rectangle(cr, cx - hw, cy - halfH, 2 * hw, 2 * halfH);
  cairo_pattern_t *p =
      cairo_pattern_create_linear(0, cy - halfH, 0, cy + halfH);
  AddStop(p, 0, Tint(band, 0.25));
  AddStop(p, 0.5, band);
  AddStop(p, 1, Shade(band, 0.7));
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  StrokeWith(cr, ink, 5);
  cairo_new_path(cr);
  for (double s : {-1.0, 1.0}) {
    cairo_move_to(cr, cx - hw + 10, cy + s * (halfH - 12));
    cairo_line_to(cr, cx + hw - 10, cy + s * (halfH - 12));
  }
  StrokeWith(cr, gold, 4);
  cairo_new_path(cr);
}

void Finished(Sink &sink) {
  constexpr int kW = 1719, kH = 281, kFrames = 41;
  const std::string words = "ALL 20 LEVELS CLEARED!";
  double size = std::min(116.0, SizeForWidth(words, Face::SansBold, 1160, 3));
  TextShape text = MakeText(words, Face::SansBold, size, 3);
  TextStyle style = ArcadeStyle(Rgb8(255, 255, 235), Rgb8(255, 226, 90),
                                Rgb8(240, 150, 20), Rgb8(40, 18, 0), size);
  style.shadowBlur = 0;
  const double cx = kW / 2.0, cy = 124;
  double x = cx - (text.whole.inkX + text.whole.inkW / 2);
  double y = cy - (text.whole.inkY + text.whole.inkH / 2);
  size_t n = text.letters.size();
  constexpr int kTextStart = 7;
  int allIn = kTextStart + static_cast<int>((n - 1) * 2 / 3) + 5;
  WriteFrames(sink, "gamefinished_", kFrames, kW, kH, [&](cairo_t *cr, int i) {
    Ribbon(cr, cx, cy, 720, 88, EaseOutCubic((i + 1) / 9.0));
    std::vector<LetterPose> poses(n);
    for (size_t j = 0; j < n; ++j) {
      int start = kTextStart + static_cast<int>(j * 2 / 3);
      double t = Progress(i, start, 5);
      poses[j].visible = i >= start;
      poses[j].dy = (1 - EaseOutBack(t, 2)) * 70;
      poses[j].opacity = Clamp01(t * 2.5);
    }
    DrawText(cr, kW, kH, text, x, y, style, poses);
    if (i >= allIn && i < kFrames - 1) {
      double t = Progress(i, allIn, kFrames - 1 - allIn);
      Sheen(cr, text, x, y, x - 200 + t * (text.width + 400), 180, 0.75);
    }
    // Stars pop out on the ribbon's ends once the words stand.
    for (int s = -1; s <= 1; s += 2) {
      double t = Progress(i, allIn - 2, 5);
      if (t > 0)
        DrawGoldStar(cr, cx + s * 660, cy, 40 * EaseOutBack(t, 3), (1 - t) * s);
    }
    if (i >= allIn)
      SparkleBurst(cr, cx, cy + 10, 860, 150, 18,
                   Progress(i, allIn, kFrames - allIn), 41);
  });
}

} // namespace

void WriteCongrats(Sink &sink) { Congrats(sink); }
void WriteFinished(Sink &sink) { Finished(sink); }

} // namespace art
