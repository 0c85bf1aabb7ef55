// logo.cpp — the menu logo: a maze medallion above the game's name.
#include "canvas.h"
#include "characters.h"
#include "colour.h"
#include "entries.h"
#include "game_name.h"
#include "items.h"
#include "shapes.h"

#include <cmath>

namespace art {

namespace {

// Drawn in an 800 x 680 design space and scaled down to keep the picture
// within its size limit.
constexpr int kW = 800, kH = 680;
constexpr double kScale = 0.88;
constexpr double kCx = 400, kCy = 262, kR = 246;

void Figure(cairo_t *cr, double cx, double footY, double size, int kind,
            Dir dir, int frame) {
  cairo_save(cr);
  cairo_translate(cr, cx - size / 2, footY - size * 0.95);
  cairo_scale(cr, size / kFrameSize, size / kFrameSize);
  if (kind == 0)
    DrawPlayer(cr, dir, frame);
  else
    DrawMonster(cr, kind, dir, frame);
  cairo_restore(cr);
}

// Concentric maze rings with gaps, joined by short spokes.
void Rings(cairo_t *cr) {
  struct Arc {
    double r, from, to; // radians, 0 = right, clockwise
  };
  const Arc arcs[] = {
      {196, 0.35, 2.6}, {196, 2.95, 5.9}, {150, -0.6, 1.3}, {150, 1.75, 4.2},
      {150, 4.6, 5.4},  {104, 0.9, 3.6},  {104, 4.0, 6.9},
  };
  const Arc spokes[] = {{150, 1.3, 196},
                        {104, 3.6, 150},
                        {150, 4.2, 196},
                        {104, 0.9, 150},
                        {150, 5.4, 196}};
  auto path = [&] {
    cairo_new_path(cr);
    for (const Arc &a : arcs) {
      cairo_new_sub_path(cr);
      cairo_arc(cr, kCx, kCy, a.r, a.from, a.to);
    }
    for (const Arc &s : spokes) {
      double a = s.from;
      cairo_move_to(cr, kCx + s.r * std::cos(a), kCy + s.r * std::sin(a));
      cairo_line_to(cr, kCx + s.to * std::cos(a), kCy + s.to * std::sin(a));
    }
  };
  path();
  StrokeWith(cr, Rgb8(30, 120, 140), 16);
  StrokeWith(cr, Rgb8(150, 255, 232), 5);
  cairo_new_path(cr);
  // Dots along the corridors between the rings.
  for (double r : {173.0, 127.0}) {
    for (int i = 0; i < 16; ++i) {
      double a = i * 2 * kPi / 16 + (r > 150 ? 0.1 : 0.3);
      DrawDot(cr, kCx + r * std::cos(a), kCy + r * std::sin(a), 6, false);
    }
  }
}

} // namespace

void WriteLogo(Sink &sink) {
  Canvas c(static_cast<int>(kW * kScale), static_cast<int>(kH * kScale));
  cairo_t *cr = c.cr;
  cairo_scale(cr, kScale, kScale);
  // Medallion.
  cairo_arc(cr, kCx, kCy + 8, kR, 0, 2 * kPi);
  cairo_set_source_rgba(cr, 0, 0, 0, 0.45);
  cairo_fill(cr);
  cairo_arc(cr, kCx, kCy, kR, 0, 2 * kPi);
  SetColour(cr, Rgb8(16, 16, 60));
  cairo_fill_preserve(cr);
  StrokeWith(cr, Rgb8(40, 10, 70), 30);
  StrokeWith(cr, Rgb8(255, 206, 60), 16);
  StrokeWith(cr, Rgb8(255, 248, 200), 4);
  cairo_new_path(cr);
  Rings(cr);
  Figure(cr, kCx, kCy + 70, 170, 0, Dir::Down, 2);
  Figure(cr, kCx - 150, kCy + 40, 92, 1, Dir::Right, 1);
  Figure(cr, kCx + 150, kCy + 40, 92, 4, Dir::Left, 0);
  DrawCherries(cr, kCx - 40, kCy - 205, 80);
  DrawGameName(cr, c.width, c.height, kW / 2.0, 560, 770, true);
  Save(sink, "logo.png", ToImage(c));
}

} // namespace art
