// game_name.cpp — the "Warrenfold" logotype: gold letters on an arch.
#include "game_name.h"

#include "colour.h"
#include "text_art.h"

#include <cmath>

namespace art {

namespace {

const char kName[] = "Warrenfold";
constexpr double kArch = 0.16; // rise of the middle, in letter heights

double SizeFor(double width) {
  return SizeForWidth(kName, Face::DisplayBold, width * 0.94, width * 0.004);
}

} // namespace

double GameNameHeight(double width) {
  double size = SizeFor(width);
  TextShape t = MakeText(kName, Face::DisplayBold, size, width * 0.004);
  return t.whole.inkH * (1 + kArch);
}

void DrawGameName(cairo_t *cr, int canvasW, int canvasH, double cx, double cy,
                  double width, bool flat) {
  double size = SizeFor(width);
  TextShape t = MakeText(kName, Face::DisplayBold, size, width * 0.004);
  double x = cx - (t.whole.inkX + t.whole.inkW / 2);
  double y = cy - (t.whole.inkY + t.whole.inkH / 2) + t.whole.inkH * kArch / 2;
  // Letters rise towards the middle and lean with the curve.
  std::vector<LetterPose> poses(t.letters.size());
  double mid = t.whole.inkX + t.whole.inkW / 2;
  double half = t.whole.inkW / 2;
  double rise = t.whole.inkH * kArch;
  for (size_t i = 0; i < poses.size(); ++i) {
    const Glyph &g = t.letters[i];
    double u = (g.inkX + g.inkW / 2 - mid) / half; // -1 .. 1
    poses[i].dy = -rise * (1 - u * u);
    poses[i].angle = std::atan(2 * rise * u / half);
  }
  TextStyle s;
  s.fillTop = Rgb8(255, 252, 214);
  s.fillMid = Rgb8(255, 206, 40);
  s.fillBottom = Rgb8(240, 104, 16);
  s.outline = Rgb8(40, 10, 70);
  s.outlineWidth = size * 0.15;
  s.rim = Rgb8(255, 255, 255);
  s.rimWidth = size * 0.055;
  s.halo = Rgb8(120, 60, 220);
  s.haloWidth = size * 0.05;
  s.shadow = Rgb8(0, 0, 10, 0.7);
  s.shadowDx = size * 0.03;
  s.shadowDy = size * 0.09;
  s.shadowBlur = size * 0.04;
  s.glow = Rgb8(110, 200, 255, 0.75);
  s.glowRadius = size * 0.09;
  s.glowSpread = size * 0.2;
  s.bevel = size * 0.02;
  s.gloss = 0.5;
  if (flat) {
    s.glow.a = 0;
    s.shadowBlur = 0;
    s.shadow = Rgb8(0, 0, 10, 0.55);
  }
  DrawText(cr, canvasW, canvasH, t, x, y, s, poses);
}

} // namespace art
