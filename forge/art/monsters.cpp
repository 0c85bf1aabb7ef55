// monsters.cpp — the six monster kinds, each its own colour and shape.
#include "characters.h"

#include "colour.h"
#include "shapes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace art {

namespace {

struct Palette {
  Rgba light, base, dark, ink;
};

const Rgba kWhite = Rgb8(255, 255, 255);
const Rgba kPupil = Rgb8(24, 18, 40);
constexpr double kLine = 3.4;

struct Look {
  double dx, dy; // unit direction
  double fx, fy; // how far the face turns towards it
};

Look LookFor(Dir dir) {
  Look l;
  DirVector(dir, l.dx, l.dy);
  l.fx = l.dx * 6;
  l.fy = l.dy > 0 ? 3 : l.dy * 5;
  return l;
}

void Shade(cairo_t *cr, const Palette &p, double cx, double cy, double r) {
  FillShaded(cr, cx, cy, r, p.light, p.base, p.dark);
  StrokeWith(cr, p.ink, kLine);
  cairo_new_path(cr);
}

// An eye with a round pupil looking along (dx, dy); `lid` 0..1 closes it
// from the top.
void Eye(cairo_t *cr, double cx, double cy, double rx, double ry, double dx,
         double dy, Rgba ink, double lid = 0, Rgba iris = kPupil,
         double pupil = 0.55) {
  cairo_new_path(cr);
  EllipsePath(cr, cx, cy, rx, ry);
  SetColour(cr, kWhite);
  cairo_fill_preserve(cr);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  cairo_new_path(cr);
  double px = cx + dx * rx * 0.45, py = cy + dy * ry * 0.45;
  cairo_arc(cr, px, py, rx * pupil, 0, 2 * kPi);
  SetColour(cr, iris);
  cairo_fill(cr);
  if (iris.r != kPupil.r || iris.g != kPupil.g) {
    cairo_arc(cr, px, py, rx * pupil * 0.5, 0, 2 * kPi);
    SetColour(cr, kPupil);
    cairo_fill(cr);
  }
  cairo_arc(cr, px - rx * 0.2, py - ry * 0.22, rx * 0.2, 0, 2 * kPi);
  SetColour(cr, kWhite);
  cairo_fill(cr);
  if (lid > 0) {
    cairo_rectangle(cr, cx - rx - 2, cy - ry - 2, 2 * rx + 4,
                    (2 * ry + 2) * lid);
    SetColour(cr, Mix(ink, kWhite, 0.25));
    cairo_fill(cr);
  }
  cairo_restore(cr);
  EllipsePath(cr, cx, cy, rx, ry);
  StrokeWith(cr, ink, 2.2);
  cairo_new_path(cr);
}

void Brow(cairo_t *cr, double x1, double y1, double x2, double y2, Rgba ink) {
  cairo_new_path(cr);
  cairo_move_to(cr, x1, y1);
  cairo_line_to(cr, x2, y2);
  StrokeWith(cr, ink, 3.6);
  cairo_new_path(cr);
}

// ---------------------------------------------------------------- kind 1
// A red slime blob with a curl on top and a rippling base.
void Blob(cairo_t *cr, const Look &l, int f) {
  const Palette p{Rgb8(255, 160, 150), Rgb8(232, 48, 60), Rgb8(140, 14, 36),
                  Rgb8(66, 6, 18)};
  constexpr double kSx[4] = {1.0, 1.06, 1.0, 0.95};
  constexpr double kSy[4] = {1.0, 0.94, 1.0, 1.05};
  double sx = kSx[f], sy = kSy[f];
  double phase = f * kPi / 2;
  cairo_save(cr);
  // Squash about the base so it stays on the ground.
  cairo_translate(cr, 48, 86);
  cairo_scale(cr, sx, sy);
  cairo_translate(cr, -48, -86);
  cairo_new_path(cr);
  cairo_move_to(cr, 12, 80);
  cairo_curve_to(cr, 14, 64, 16, 54, 18, 44);
  cairo_curve_to(cr, 20, 22, 34, 14, 46, 14);
  // The curl on top.
  cairo_curve_to(cr, 46, 8, 52, 4, 57, 8);
  cairo_curve_to(cr, 53, 8, 51, 11, 53, 14);
  cairo_curve_to(cr, 66, 16, 77, 26, 78, 44);
  cairo_curve_to(cr, 80, 54, 82, 64, 84, 80);
  for (int i = 0; i <= 24; ++i) {
    double x = 84 - i * 3.0;
    double y = 84 + 3.2 * std::sin(phase + i * 0.55) * std::sin(i * kPi / 24);
    cairo_line_to(cr, x, y);
  }
  cairo_close_path(cr);
  Shade(cr, p, 48, 50, 40);
  // Glossy spot.
  EllipsePath(cr, 30, 32, 6, 3.5, -0.7);
  SetColour(cr, Rgb8(255, 255, 255, 0.75));
  cairo_fill(cr);
  cairo_restore(cr);

  double fx = 48 + l.fx, fy = 44 + l.fy + (1 - sy) * 30;
  Eye(cr, fx - 12, fy, 9, 10.5, l.dx, l.dy, p.ink);
  Eye(cr, fx + 12, fy, 9, 10.5, l.dx, l.dy, p.ink);
  // Grin with two fangs.
  double my = fy + 19, mw = 13;
  cairo_new_path(cr);
  cairo_move_to(cr, fx - mw, my - 2);
  cairo_curve_to(cr, fx - 6, my + 7, fx + 6, my + 7, fx + mw, my - 2);
  cairo_curve_to(cr, fx + 6, my + 3, fx - 6, my + 3, fx - mw, my - 2);
  cairo_close_path(cr);
  SetColour(cr, p.ink);
  cairo_fill_preserve(cr);
  StrokeWith(cr, p.ink, 2);
  cairo_new_path(cr);
  for (double s : {-1.0, 1.0}) {
    cairo_move_to(cr, fx + s * 7.5, my + 1.5);
    cairo_line_to(cr, fx + s * 3.5, my + 2.5);
    cairo_line_to(cr, fx + s * 5.8, my + 7.5);
    cairo_close_path(cr);
  }
  SetColour(cr, kWhite);
  cairo_fill(cr);
}

// ---------------------------------------------------------------- kind 2
// A violet urchin: bristling spikes and quick little feet.
void Spiky(cairo_t *cr, const Look &l, int f) {
  const Palette p{Rgb8(238, 210, 255), Rgb8(180, 100, 255), Rgb8(106, 42, 192),
                  Rgb8(40, 8, 76)};
  constexpr double kBob[4] = {0, -2, 0, -2};
  double y = kBob[f];
  double cx = 48, cy = 47 + y;
  // Feet first, half hidden under the body.
  constexpr double kStep[4] = {0, 4, 0, -4};
  for (double s : {-1.0, 1.0}) {
    double lift = (s < 0 ? kStep[f] : -kStep[f]);
    cairo_new_path(cr);
    EllipsePath(cr, cx + s * 13, 84 - std::max(0.0, lift), 9, 5.5);
    FillShaded(cr, cx + s * 13, 84, 9, p.base, p.dark, p.ink);
    StrokeWith(cr, p.ink, kLine * 0.9);
    cairo_new_path(cr);
  }
  // Spikes alternate long and short, swapping every frame.
  int n = 14;
  double turn = (l.dx != 0 ? l.dx : 1) * f * kPi / n / 2;
  cairo_new_path(cr);
  for (int i = 0; i < 2 * n; ++i) {
    double a = turn + i * kPi / n - kPi / 2;
    double r = 27;
    if (i % 2 == 0)
      r = ((i / 2 + f) % 2 == 0) ? 44 : 38;
    double px = cx + r * std::cos(a), py = cy + r * std::sin(a);
    if (i == 0)
      cairo_move_to(cr, px, py);
    else
      cairo_line_to(cr, px, py);
  }
  cairo_close_path(cr);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  Shade(cr, p, cx, cy, 40);
  // Inner body disc so the face sits on a smooth round.
  cairo_arc(cr, cx, cy, 27.5, 0, 2 * kPi);
  FillShaded(cr, cx, cy, 27.5, p.light, p.base, p.dark);
  cairo_new_path(cr);
  double fx = cx + l.fx, fy = cy - 2 + l.fy;
  Eye(cr, fx - 10, fy, 8.5, 9.5, l.dx, l.dy, p.ink);
  Eye(cr, fx + 10, fy, 8.5, 9.5, l.dx, l.dy, p.ink);
  Brow(cr, fx - 17, fy - 11, fx - 4, fy - 7, p.ink);
  Brow(cr, fx + 17, fy - 11, fx + 4, fy - 7, p.ink);
  // Zigzag teeth.
  cairo_new_path(cr);
  double my = fy + 15;
  cairo_move_to(cr, fx - 10, my);
  for (int i = 1; i <= 6; ++i)
    cairo_line_to(cr, fx - 10 + i * 20.0 / 6, my + (i % 2 ? 4 : 0));
  cairo_line_to(cr, fx - 10, my);
  SetColour(cr, kWhite);
  cairo_fill_preserve(cr);
  StrokeWith(cr, p.ink, 2);
  cairo_new_path(cr);
}

// ---------------------------------------------------------------- kind 3
// A cyan furry brute with two curved horns and stomping legs.
void Horned(cairo_t *cr, const Look &l, int f) {
  const Palette p{Rgb8(186, 246, 255), Rgb8(38, 196, 240), Rgb8(8, 104, 168),
                  Rgb8(4, 40, 76)};
  const Palette bone{Rgb8(255, 255, 245), Rgb8(250, 236, 206),
                     Rgb8(196, 170, 128), Rgb8(4, 40, 76)};
  constexpr double kBob[4] = {0, -2.5, 0, -2.5};
  double y = kBob[f];
  // Legs.
  constexpr double kLift[4] = {0, 6, 0, 0};
  constexpr double kLift2[4] = {0, 0, 0, 6};
  for (int side = 0; side < 2; ++side) {
    double s = side ? 1 : -1;
    double lift = side ? kLift2[f] : kLift[f];
    cairo_new_path(cr);
    RoundedRect(cr, 48 + s * 15 - 7, 70 - lift, 14, 18, 6);
    FillShaded(cr, 48 + s * 15, 78 - lift, 12, p.base, p.dark, p.ink);
    StrokeWith(cr, p.ink, kLine);
    cairo_new_path(cr);
  }
  // Horns.
  for (double s : {-1.0, 1.0}) {
    double bx = 48 + s * 20, by = 28 + y;
    cairo_new_path(cr);
    cairo_move_to(cr, bx - s * 7, by + 4);
    cairo_curve_to(cr, bx + s * 2, by - 8, bx + s * 14, by - 14, bx + s * 16,
                   by - 26);
    cairo_curve_to(cr, bx + s * 20, by - 12, bx + s * 12, by + 2, bx + s * 6,
                   by + 8);
    cairo_close_path(cr);
    Shade(cr, bone, bx + s * 6, by - 8, 16);
  }
  // Shaggy body: a rounded block with a fringe along the bottom.
  cairo_new_path(cr);
  double top = 22 + y, bottom = 76 + y;
  cairo_move_to(cr, 18, bottom - 4);
  cairo_curve_to(cr, 14, 50 + y, 16, top, 48, top);
  cairo_curve_to(cr, 80, top, 82, 50 + y, 78, bottom - 4);
  for (int i = 1; i <= 8; ++i) {
    double x = 78 - i * 60.0 / 8;
    double dip = (i % 2 ? 7 : 0) + ((i + f) % 4 == 0 ? 1.5 : 0);
    cairo_line_to(cr, x, bottom + dip - 3);
  }
  cairo_close_path(cr);
  Shade(cr, p, 48, 48 + y, 36);
  // Fur tufts.
  for (double s : {-1.0, 1.0}) {
    cairo_move_to(cr, 48 + s * 22, 40 + y);
    cairo_line_to(cr, 48 + s * 27, 46 + y);
    cairo_move_to(cr, 48 + s * 24, 54 + y);
    cairo_line_to(cr, 48 + s * 28, 60 + y);
  }
  StrokeWith(cr, Mix(p.dark, p.base, 0.3), 2.2);
  cairo_new_path(cr);
  double fx = 48 + l.fx, fy = 42 + y + l.fy;
  Eye(cr, fx - 10, fy, 7.5, 8, l.dx, l.dy, p.ink);
  Eye(cr, fx + 10, fy, 7.5, 8, l.dx, l.dy, p.ink);
  Brow(cr, fx - 18, fy - 10, fx - 3, fy - 8, p.ink);
  Brow(cr, fx + 18, fy - 10, fx + 3, fy - 8, p.ink);
  // Wide mouth with an underbite.
  double my = fy + 14;
  cairo_new_path(cr);
  RoundedRect(cr, fx - 13, my - 3, 26, 10, 5);
  SetColour(cr, p.ink);
  cairo_fill(cr);
  for (double s : {-1.0, 1.0}) {
    cairo_move_to(cr, fx + s * 10, my + 6);
    cairo_line_to(cr, fx + s * 7, my - 3.5);
    cairo_line_to(cr, fx + s * 4, my + 6);
    cairo_close_path(cr);
  }
  SetColour(cr, bone.base);
  cairo_fill(cr);
}

// ---------------------------------------------------------------- kind 4
// A pink one-eyed flyer flapping bat wings.
void OneEye(cairo_t *cr, const Look &l, int f) {
  const Palette p{Rgb8(255, 200, 238), Rgb8(250, 84, 190), Rgb8(170, 24, 118),
                  Rgb8(74, 6, 48)};
  const Palette wing{Rgb8(236, 120, 210), Rgb8(196, 46, 150), Rgb8(120, 14, 86),
                     Rgb8(74, 6, 48)};
  constexpr double kBob[4] = {0, -3, -5, -3};
  constexpr double kWing[4] = {-0.5, 0.05, 0.55, 0.05};
  double y = kBob[f];
  double cx = 48, cy = 48 + y;
  for (double s : {-1.0, 1.0}) {
    cairo_save(cr);
    cairo_translate(cr, cx + s * 18, cy - 4);
    cairo_rotate(cr, s * kWing[f]);
    cairo_new_path(cr);
    cairo_move_to(cr, 0, -6);
    cairo_curve_to(cr, s * 12, -20, s * 26, -18, s * 32, -10);
    // Scalloped trailing edge.
    cairo_curve_to(cr, s * 28, -2, s * 26, 2, s * 27, 8);
    cairo_curve_to(cr, s * 22, 4, s * 18, 6, s * 16, 12);
    cairo_curve_to(cr, s * 12, 6, s * 8, 8, s * 4, 12);
    cairo_close_path(cr);
    Shade(cr, wing, s * 14, -4, 20);
    cairo_move_to(cr, s * 4, -6);
    cairo_line_to(cr, s * 27, 6);
    cairo_move_to(cr, s * 4, -6);
    cairo_line_to(cr, s * 16, 10);
    StrokeWith(cr, wing.dark, 1.6);
    cairo_new_path(cr);
    cairo_restore(cr);
  }
  // Dangling feet.
  for (double s : {-1.0, 1.0}) {
    cairo_new_path(cr);
    EllipsePath(cr, cx + s * 9, cy + 31 + (f % 2 ? 1.5 : 0), 5, 6);
    Shade(cr, p, cx + s * 9, cy + 31, 6);
  }
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, 27, 0, 2 * kPi);
  Shade(cr, p, cx, cy, 27);
  // Little ear tufts.
  for (double s : {-1.0, 1.0}) {
    cairo_move_to(cr, cx + s * 10, cy - 24);
    cairo_line_to(cr, cx + s * 15, cy - 36);
    cairo_line_to(cr, cx + s * 20, cy - 20);
    cairo_close_path(cr);
    Shade(cr, p, cx + s * 15, cy - 28, 10);
  }
  cairo_arc(cr, cx, cy, 25.3, -kPi * 0.9, -kPi * 0.1);
  SetColour(cr, p.base);
  cairo_fill(cr);
  double fx = cx + l.fx * 0.8, fy = cy - 2 + l.fy * 0.8;
  // The single eye blinks halfway on the last frame of the cycle.
  Eye(cr, fx, fy, 14, 14, l.dx, l.dy, p.ink, f == 3 ? 0.45 : 0,
      Rgb8(70, 200, 110), 0.56);
  cairo_new_path(cr);
  cairo_move_to(cr, fx - 8, fy + 19);
  cairo_curve_to(cr, fx - 3, fy + 23, fx + 3, fy + 23, fx + 8, fy + 19);
  StrokeWith(cr, p.ink, 2.4);
  cairo_new_path(cr);
  for (double s : {-1.0, 1.0}) {
    cairo_move_to(cr, fx + s * 5.5, fy + 20.5);
    cairo_line_to(cr, fx + s * 3.5, fy + 25.5);
    cairo_line_to(cr, fx + s * 2, fy + 21.6);
    cairo_close_path(cr);
  }
  SetColour(cr, kWhite);
  cairo_fill(cr);
}

// ---------------------------------------------------------------- kind 5
// A blue octopus with five waving tentacles.
void Tentacle(cairo_t *cr, const Palette &p, double x0, double y0, double len,
              double sway, double trail, double phase) {
  constexpr int kSteps = 14;
  double lx[kSteps + 1], ly[kSteps + 1], rx[kSteps + 1], ry[kSteps + 1];
  for (int i = 0; i <= kSteps; ++i) {
    double t = static_cast<double>(i) / kSteps;
    // The wave grows towards the tip; moving sideways, the tips trail.
    double x = x0 + sway * t * std::sin(phase + t * kPi * 1.4) + trail * t * t;
    double y = y0 + len * t;
    double xn = x0 +
                sway * (t + 0.01) * std::sin(phase + (t + 0.01) * kPi * 1.4) +
                trail * (t + 0.01) * (t + 0.01);
    double tx = xn - x, ty = len * 0.01;
    double n = std::hypot(tx, ty);
    double w = 6.2 * (1 - t * 0.65);
    lx[i] = x - ty / n * w;
    ly[i] = y + tx / n * w;
    rx[i] = x + ty / n * w;
    ry[i] = y - tx / n * w;
  }
  cairo_new_path(cr);
  cairo_move_to(cr, lx[0], ly[0]);
  for (int i = 1; i <= kSteps; ++i)
    cairo_line_to(cr, lx[i], ly[i]);
  // A rounded tip.
  cairo_curve_to(cr, lx[kSteps], ly[kSteps] + 4, rx[kSteps], ry[kSteps] + 4,
                 rx[kSteps], ry[kSteps]);
  for (int i = kSteps - 1; i >= 0; --i)
    cairo_line_to(cr, rx[i], ry[i]);
  cairo_close_path(cr);
  FillShaded(cr, x0, y0 + len / 2, len * 0.6, p.base, p.base, p.dark);
  StrokeWith(cr, p.ink, kLine * 0.85);
  cairo_new_path(cr);
}

void Octopus(cairo_t *cr, const Look &l, int f) {
  const Palette p{Rgb8(206, 224, 255), Rgb8(78, 132, 255), Rgb8(34, 66, 200),
                  Rgb8(8, 16, 78)};
  constexpr double kBob[4] = {0, -2, -3, -1};
  double y = kBob[f];
  double phase = f * kPi / 2;
  double trail = -l.dx * 7;
  constexpr double kX[5] = {22, 35, 48, 61, 74};
  constexpr double kLen[5] = {28, 34, 36, 34, 28};
  for (int i : {0, 4, 1, 3, 2}) {
    Tentacle(cr, p, kX[i], 58 + y, kLen[i] - y * 0.5, 6, trail,
             phase + i * 1.3);
  }
  cairo_new_path(cr);
  cairo_move_to(cr, 18, 62 + y);
  cairo_curve_to(cr, 12, 30 + y, 28, 10 + y, 48, 10 + y);
  cairo_curve_to(cr, 68, 10 + y, 84, 30 + y, 78, 62 + y);
  cairo_curve_to(cr, 64, 70 + y, 32, 70 + y, 18, 62 + y);
  cairo_close_path(cr);
  Shade(cr, p, 48, 38 + y, 34);
  // Spots.
  for (auto [sx, sy, r] :
       {std::array<double, 3>{30, 24, 4}, std::array<double, 3>{64, 22, 3.2},
        std::array<double, 3>{70, 34, 2.4}}) {
    cairo_arc(cr, sx, sy + y, r, 0, 2 * kPi);
    SetColour(cr, WithAlpha(p.light, 0.7));
    cairo_fill(cr);
  }
  double fx = 48 + l.fx, fy = 40 + y + l.fy * 0.8;
  Eye(cr, fx - 11, fy, 8.5, 10, l.dx, l.dy, p.ink);
  Eye(cr, fx + 11, fy, 8.5, 10, l.dx, l.dy, p.ink);
  cairo_new_path(cr);
  EllipsePath(cr, fx, fy + 16, 4, 3 + (f % 2) * 1.2);
  SetColour(cr, p.ink);
  cairo_fill(cr);
}

// ---------------------------------------------------------------- kind 6
// A wobbling cube of ice jelly.
void Cube(cairo_t *cr, const Look &l, int f) {
  const Palette p{Rgb8(255, 255, 255), Rgb8(206, 238, 255), Rgb8(110, 170, 226),
                  Rgb8(20, 54, 112)};
  constexpr double kShear[4] = {0, 4, 0, -4};
  constexpr double kSquash[4] = {1.0, 0.95, 1.0, 1.04};
  double shear = kShear[f] * (l.dx != 0 ? -l.dx : 1);
  double sy = kSquash[f];
  cairo_save(cr);
  cairo_matrix_t m;
  // Shear about the base: the top sways, the bottom stays put.
  cairo_matrix_init(&m, 1, 0, -shear / 60.0, sy, shear * 86 / 60.0,
                    86 * (1 - sy));
  cairo_transform(cr, &m);
  cairo_new_path(cr);
  RoundedRect(cr, 12, 18, 72, 68, 16);
  Shade(cr, p, 44, 48, 50);
  // Lighter top face and a glint.
  cairo_new_path(cr);
  RoundedRect(cr, 18, 22, 60, 13, 6);
  SetColour(cr, Rgb8(255, 255, 255, 0.65));
  cairo_fill(cr);
  cairo_move_to(cr, 20, 44);
  cairo_line_to(cr, 20, 70);
  StrokeWith(cr, Rgb8(255, 255, 255, 0.85), 4);
  cairo_new_path(cr);
  // Bubbles.
  for (auto [bx, by, r] :
       {std::array<double, 3>{70, 76, 3.5}, std::array<double, 3>{75, 66, 2.2},
        std::array<double, 3>{26, 79, 2.6}}) {
    cairo_arc(cr, bx, by, r, 0, 2 * kPi);
    StrokeWith(cr, WithAlpha(p.dark, 0.8), 1.5);
    cairo_new_path(cr);
  }
  double fx = 48 + l.fx, fy = 53 + l.fy;
  // Bead eyes with a big shine.
  for (double s : {-1.0, 1.0}) {
    double ex = fx + s * 12 + l.dx * 2, ey = fy + l.dy * 2;
    cairo_new_path(cr);
    EllipsePath(cr, ex, ey, 6.5, 9);
    SetColour(cr, kPupil);
    cairo_fill(cr);
    cairo_arc(cr, ex - 1.8 + l.dx * 1.5, ey - 3 + l.dy * 1.5, 2.6, 0, 2 * kPi);
    SetColour(cr, kWhite);
    cairo_fill(cr);
  }
  // Wavy mouth.
  cairo_new_path(cr);
  cairo_move_to(cr, fx - 9, fy + 15);
  cairo_curve_to(cr, fx - 6, fy + 11, fx - 3, fy + 11, fx, fy + 15);
  cairo_curve_to(cr, fx + 3, fy + 19, fx + 6, fy + 19, fx + 9, fy + 15);
  StrokeWith(cr, p.ink, 2.4);
  cairo_new_path(cr);
  for (double s : {-1.0, 1.0}) {
    EllipsePath(cr, fx + s * 22, fy + 8, 5, 3);
    SetColour(cr, Rgb8(120, 170, 255, 0.55));
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

} // namespace

void DrawMonster(cairo_t *cr, int kind, Dir dir, int frame) {
  cairo_save(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  Look l = LookFor(dir);
  int f = frame & 3;
  switch (kind) {
  case 1:
    Blob(cr, l, f);
    break;
  case 2:
    Spiky(cr, l, f);
    break;
  case 3:
    Horned(cr, l, f);
    break;
  case 4:
    OneEye(cr, l, f);
    break;
  case 5:
    Octopus(cr, l, f);
    break;
  default:
    Cube(cr, l, f);
    break;
  }
  cairo_restore(cr);
}

} // namespace art
