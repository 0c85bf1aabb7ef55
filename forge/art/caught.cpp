// caught.cpp — the caught banner: "CAUGHT!" crashes in, shakes and glows.
#include "banner_kit.h"
#include "entries.h"
#include "rng.h"
#include "shapes.h"

#include <cmath>

namespace art {

namespace {

constexpr int kW = 1193, kH = 280, kFrames = 34;
constexpr int kLandFrames = 6;

void Ribbon(cairo_t *cr, double open) {
  if (open <= 0)
    return;
  double half = (kW / 2.0 - 30) * open;
  double top = 50, bottom = 230, lean = 30;
  double cx = kW / 2.0;
  cairo_new_path(cr);
  cairo_move_to(cr, cx - half + lean, top);
  cairo_line_to(cr, cx + half + lean, top);
  cairo_line_to(cr, cx + half - lean, bottom);
  cairo_line_to(cr, cx - half - lean, bottom);
  cairo_close_path(cr);
  cairo_pattern_t *p = cairo_pattern_create_linear(0, top, 0, bottom);
  cairo_pattern_add_color_stop_rgba(p, 0, 0.35, 0.02, 0.06, 0.82);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.16, 0.0, 0.03, 0.82);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  for (double y : {top, bottom}) {
    double shift = y == top ? lean : -lean;
    cairo_move_to(cr, cx - half + shift, y);
    cairo_line_to(cr, cx + half + shift, y);
  }
  StrokeWith(cr, Rgb8(255, 84, 60), 6);
  cairo_new_path(cr);
}

} // namespace

void WriteCaught(Sink &sink) {
  const std::string word = "CAUGHT!";
  double size = std::min(200.0, SizeForWidth(word, Face::SansBold, 860, 8));
  TextShape text = MakeText(word, Face::SansBold, size, 8);
  TextStyle style = ArcadeStyle(Rgb8(255, 244, 170), Rgb8(255, 96, 40),
                                Rgb8(176, 8, 30), Rgb8(48, 0, 12), size);
  double x = kW / 2.0 - (text.whole.inkX + text.whole.inkW / 2);
  double y = kH / 2.0 - (text.whole.inkY + text.whole.inkH / 2);
  int letters = static_cast<int>(text.letters.size());
  int landed = 1 + 2 * (letters - 1) + kLandFrames;

  WriteFrames(sink, "gameover_", kFrames, kW, kH, [&](cairo_t *cr, int i) {
    Ribbon(cr, EaseOutBack((i + 1) / 5.0, 1.2));
    std::vector<LetterPose> poses(text.letters.size());
    Rng shake(1000 + i);
    double quake = i >= landed ? std::max(0.0, 1 - (i - landed) / 8.0) : 0;
    for (int j = 0; j < letters; ++j) {
      LetterPose &p = poses[static_cast<size_t>(j)];
      double t = Progress(i, 1 + 2 * j, kLandFrames);
      p.visible = i >= 1 + 2 * j;
      p.dy = -(1 - EaseOutBounce(t)) * 320;
      p.scale = 1.25 - 0.25 * EaseOutCubic(t);
      p.angle = (1 - t) * (j % 2 ? 0.25 : -0.25);
      p.dx = quake * shake.Range(-14, 14);
      p.dy += quake * shake.Range(-10, 10);
      p.angle += quake * shake.Range(-0.08, 0.08);
    }
    TextStyle s = style;
    if (i >= landed) {
      // The glow swells after the shaking and then stays.
      double g = Progress(i, landed, 8);
      s.glow = Rgb8(255, 40, 20, 0.85 * g);
      s.glowRadius = 12 + 6 * g;
      s.glowSpread = size * 0.08;
    }
    DrawText(cr, kW, kH, text, x, y, s, poses);
    if (i >= landed + 6 && i < kFrames - 1) {
      double t = Progress(i, landed + 6, kFrames - 1 - (landed + 6));
      Sheen(cr, text, x, y, x - 200 + t * (text.width + 400), 180, 0.7);
    }
  });
}

} // namespace art
