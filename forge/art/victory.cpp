// victory.cpp — the level-clear banner: sunburst, words, stars, confetti.
#include "banner_kit.h"
#include "entries.h"
#include "items.h"
#include "rng.h"
#include "shapes.h"

#include <cmath>

namespace art {

namespace {

constexpr int kW = 1397, kH = 800, kFrames = 34;
constexpr double kCx = kW / 2.0, kCy = kH / 2.0 + 20;

struct Line {
  TextShape text;
  TextStyle style;
  double x = 0, y = 0;
  int start = 0; // frame the first letter appears
};

void PlaceCentred(Line &line, double cy) {
  line.x = kCx - (line.text.whole.inkX + line.text.whole.inkW / 2);
  line.y = cy - (line.text.whole.inkY + line.text.whole.inkH / 2);
}

std::vector<LetterPose> PopPoses(const Line &line, int i) {
  std::vector<LetterPose> poses(line.text.letters.size());
  for (size_t j = 0; j < poses.size(); ++j) {
    int start = line.start + static_cast<int>(j);
    poses[j].visible = i >= start;
    double t = Progress(i, start, 4);
    poses[j].scale = EaseOutBack(t, 2.6);
    poses[j].angle = (1 - t) * 0.5;
  }
  return poses;
}

void Confetti(cairo_t *cr, int i) {
  Rng rng(2024);
  const Rgba colours[6] = {Rgb8(255, 80, 80),   Rgb8(255, 210, 40),
                           Rgb8(80, 200, 255),  Rgb8(120, 230, 90),
                           Rgb8(250, 120, 220), Rgb8(255, 255, 255)};
  for (int k = 0; k < 36; ++k) {
    double x0 = rng.Range(80, kW - 80);
    double start = rng.Range(4, 20);
    double sway = rng.Range(10, 30);
    double spin = rng.Range(0.2, 0.5);
    double phase = rng.Range(0, 2 * kPi);
    Rgba c = colours[rng.Below(6)];
    double age = i - start;
    if (age < 0)
      continue;
    // Shot up from the middle, then falling and fluttering.
    double vy0 = -rng.Range(20, 34);
    double y = kCy + vy0 * age + 0.9 * age * age;
    double x = kCx + (x0 - kCx) * EaseOutCubic(age / 10.0) +
               sway * std::sin(phase + age * 0.5);
    if (y > kH + 20)
      continue;
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, phase + age * spin);
    // Flutter: the piece turns edge-on and back.
    cairo_scale(cr, 1, 0.35 + 0.65 * std::fabs(std::cos(phase + age * 0.7)));
    cairo_rectangle(cr, -8, -5, 16, 10);
    SetColour(cr, c);
    cairo_fill(cr);
    cairo_restore(cr);
  }
}

} // namespace

void WriteVictory(Sink &sink) {
  Line level, clear;
  double levelSize = SizeForWidth("LEVEL", Face::SansBold, 520, 6);
  level.text = MakeText("LEVEL", Face::SansBold, levelSize, 6);
  level.style = ArcadeStyle(Rgb8(235, 252, 255), Rgb8(90, 200, 255),
                            Rgb8(20, 90, 200), Rgb8(8, 20, 70), levelSize);
  level.start = 2;
  double clearSize = SizeForWidth("CLEAR!", Face::SansBold, 900, 8);
  clear.text = MakeText("CLEAR!", Face::SansBold, clearSize, 8);
  clear.style = ArcadeStyle(Rgb8(255, 255, 222), Rgb8(255, 212, 44),
                            Rgb8(232, 112, 8), Rgb8(72, 24, 0), clearSize);
  clear.start = 6;
  // Flat shadows and no bevel: the frames must stay small.
  for (TextStyle *s : {&level.style, &clear.style}) {
    s->shadowBlur = 0;
    s->bevel = 0;
  }
  PlaceCentred(level, kCy - 95);
  PlaceCentred(clear, kCy + 95);
  const int allIn = clear.start + 6 + 4;

  WriteFrames(sink, "victory_", kFrames, kW, kH, [&](cairo_t *cr, int i) {
    double open = EaseOutCubic((i + 1) / 8.0);
    Rays(cr, kCx, kCy, 390 * open, 16, i * 0.035, Rgb8(255, 236, 140, 0.55));
    Confetti(cr, i);
    if (i >= allIn - 4)
      SparkleBurst(cr, kCx, kCy, 640, 380, 26,
                   Progress(i, allIn - 4, kFrames - (allIn - 4)), 99);

    TextStyle ls = level.style, cs = clear.style;
    if (i >= allIn) {
      // Once the words stand, a bright halo pulses out around them.
      double g = Progress(i, allIn, 4);
      cs.halo = Rgb8(255, 236, 120, 0.85);
      cs.haloWidth = clearSize * 0.045 * g;
      ls.halo = Rgb8(150, 230, 255, 0.85);
      ls.haloWidth = levelSize * 0.045 * g;
    }
    DrawText(cr, kW, kH, level.text, level.x, level.y, ls, PopPoses(level, i));
    DrawText(cr, kW, kH, clear.text, clear.x, clear.y, cs, PopPoses(clear, i));

    // Three stars drop in above the words, the middle one biggest.
    const double sx[3] = {kCx - 170, kCx, kCx + 170};
    const double sy[3] = {kCy - 262, kCy - 296, kCy - 262};
    const double sr[3] = {52, 70, 52};
    for (int s = 0; s < 3; ++s) {
      int start = allIn - 6 + 3 * s;
      if (i < start)
        continue;
      double t = Progress(i, start, 5);
      double scale = EaseOutBack(t, 3);
      DrawGoldStar(cr, sx[s], sy[s], sr[s] * scale, (1 - t) * 1.2);
    }
    if (i >= allIn + 6 && i < kFrames - 1) {
      double t = Progress(i, allIn + 6, kFrames - 1 - (allIn + 6));
      double band = clear.x - 250 + t * (clear.text.width + 500);
      Sheen(cr, clear.text, clear.x, clear.y, band, 220, 0.75);
      Sheen(cr, level.text, level.x, level.y, band - 120, 200, 0.6);
    }
  });
}

} // namespace art
