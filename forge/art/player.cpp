// player.cpp — the player: a round golden bunny-ball that walks and munches.
#include "characters.h"

#include "colour.h"
#include "shapes.h"

#include <cmath>

namespace art {

namespace {

const Rgba kFurLight = Rgb8(255, 248, 190);
const Rgba kFur = Rgb8(255, 204, 40);
const Rgba kFurDark = Rgb8(222, 124, 18);
const Rgba kInk = Rgb8(92, 40, 12);
const Rgba kEarPink = Rgb8(255, 150, 172);
const Rgba kPaw = Rgb8(255, 236, 200);
const Rgba kPawDark = Rgb8(226, 170, 110);
const Rgba kMouth = Rgb8(128, 20, 36);
const Rgba kTongue = Rgb8(255, 104, 128);
const Rgba kBlush = Rgb8(255, 110, 110, 0.5);
const Rgba kWhite = Rgb8(255, 255, 255);
const Rgba kPupil = Rgb8(34, 22, 48);

constexpr double kLine = 3.4;
constexpr double kBodyX = 48, kBodyY = 52, kBodyR = 30;

// Walk cycle: contact, passing (up), contact, passing (up).
constexpr double kBob[4] = {0, -2.5, 0, -2.5};
constexpr double kEarSwing[4] = {0, 0.09, 0, -0.09};
constexpr double kMunch[4] = {0.25, 0.7, 1.0, 0.55};

void Ear(cairo_t *cr, double cx, double cy, double angle, bool pink) {
  cairo_new_path(cr);
  EllipsePath(cr, cx, cy, 8.5, 19, angle);
  FillShaded(cr, cx, cy, 19, kFurLight, kFur, kFurDark);
  StrokeWith(cr, kInk, kLine);
  cairo_new_path(cr);
  if (pink) {
    EllipsePath(cr, cx + std::sin(angle) * 2, cy - std::cos(angle) * -2, 4,
                12.5, angle);
    SetColour(cr, kEarPink);
    cairo_fill(cr);
  }
}

void Body(cairo_t *cr, double y) {
  cairo_new_path(cr);
  cairo_arc(cr, kBodyX, kBodyY + y, kBodyR, 0, 2 * kPi);
  FillShaded(cr, kBodyX, kBodyY + y, kBodyR, kFurLight, kFur, kFurDark);
  StrokeWith(cr, kInk, kLine);
  cairo_new_path(cr);
}

void Foot(cairo_t *cr, double cx, double cy, double rx, double ry) {
  cairo_new_path(cr);
  EllipsePath(cr, cx, cy, rx, ry);
  FillShaded(cr, cx, cy, rx, kWhite, kPaw, kPawDark);
  StrokeWith(cr, kInk, kLine * 0.85);
  cairo_new_path(cr);
}

void Eye(cairo_t *cr, double cx, double cy, double rx, double ry, double lookX,
         double lookY) {
  cairo_new_path(cr);
  EllipsePath(cr, cx, cy, rx, ry);
  SetColour(cr, kWhite);
  cairo_fill_preserve(cr);
  StrokeWith(cr, kInk, 2.2);
  cairo_new_path(cr);
  double px = cx + lookX * rx * 0.42, py = cy + lookY * ry * 0.42;
  cairo_arc(cr, px, py, rx * 0.62, 0, 2 * kPi);
  SetColour(cr, kPupil);
  cairo_fill(cr);
  cairo_arc(cr, px - rx * 0.22, py - ry * 0.25, rx * 0.24, 0, 2 * kPi);
  SetColour(cr, kWhite);
  cairo_fill(cr);
}

void Blush(cairo_t *cr, double cx, double cy) {
  cairo_new_path(cr);
  EllipsePath(cr, cx, cy, 5.5, 3.2);
  SetColour(cr, kBlush);
  cairo_fill(cr);
}

// An open mouth whose height follows the munch amount.
void Mouth(cairo_t *cr, double cx, double cy, double w, double open) {
  double h = 1.5 + open * 7.5;
  cairo_new_path(cr);
  cairo_move_to(cr, cx - w / 2, cy - 1);
  cairo_curve_to(cr, cx - w / 4, cy + 1, cx + w / 4, cy + 1, cx + w / 2,
                 cy - 1);
  cairo_curve_to(cr, cx + w / 2, cy + h, cx - w / 2, cy + h, cx - w / 2,
                 cy - 1);
  cairo_close_path(cr);
  SetColour(cr, kMouth);
  cairo_fill_preserve(cr);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  cairo_new_path(cr);
  EllipsePath(cr, cx, cy + h * 0.95, w * 0.32, h * 0.45);
  SetColour(cr, kTongue);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_move_to(cr, cx - w / 2, cy - 1);
  cairo_curve_to(cr, cx - w / 4, cy + 1, cx + w / 4, cy + 1, cx + w / 2,
                 cy - 1);
  cairo_curve_to(cr, cx + w / 2, cy + h, cx - w / 2, cy + h, cx - w / 2,
                 cy - 1);
  cairo_close_path(cr);
  StrokeWith(cr, kInk, 2.2);
  cairo_new_path(cr);
}

void Nose(cairo_t *cr, double cx, double cy) {
  cairo_new_path(cr);
  EllipsePath(cr, cx, cy, 3.2, 2.3);
  SetColour(cr, Rgb8(236, 84, 110));
  cairo_fill_preserve(cr);
  StrokeWith(cr, kInk, 1.4);
  cairo_new_path(cr);
}

void Tail(cairo_t *cr, double cx, double cy, double r) {
  cairo_new_path(cr);
  for (int i = 0; i < 7; ++i) {
    double a = i * 2 * kPi / 7;
    cairo_new_sub_path(cr);
    cairo_arc(cr, cx + std::cos(a) * r * 0.45, cy + std::sin(a) * r * 0.45,
              r * 0.62, 0, 2 * kPi);
  }
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  StrokeWith(cr, kInk, kLine);
  SetColour(cr, kWhite);
  cairo_fill_preserve(cr);
  cairo_new_path(cr);
  cairo_arc(cr, cx + r * 0.15, cy + r * 0.2, r * 0.5, 0, 2 * kPi);
  SetColour(cr, Rgb8(226, 226, 240));
  cairo_fill(cr);
  cairo_arc(cr, cx - r * 0.1, cy - r * 0.1, r * 0.55, 0, 2 * kPi);
  SetColour(cr, kWhite);
  cairo_fill(cr);
}

void FacingDown(cairo_t *cr, int f) {
  double y = kBob[f];
  double swing = kEarSwing[f];
  Ear(cr, 34, 22 + y, -0.3 - swing, true);
  Ear(cr, 62, 22 + y, 0.3 - swing, true);
  Body(cr, y);
  Blush(cr, 28, 62 + y);
  Blush(cr, 68, 62 + y);
  Eye(cr, 37, 47 + y, 7.5, 9.5, 0, 0.8);
  Eye(cr, 59, 47 + y, 7.5, 9.5, 0, 0.8);
  Nose(cr, 48, 58 + y);
  Mouth(cr, 48, 64 + y, 15, kMunch[f]);
  double liftL = f == 1 ? 5 : 0, liftR = f == 3 ? 5 : 0;
  Foot(cr, 34, 86 - liftL, 10.5, 6.5);
  Foot(cr, 62, 86 - liftR, 10.5, 6.5);
}

void FacingUp(cairo_t *cr, int f) {
  double y = kBob[f];
  double swing = kEarSwing[f];
  // From behind the ears stand taller and show no pink.
  Ear(cr, 34, 19 + y, -0.26 - swing, false);
  Ear(cr, 62, 19 + y, 0.26 - swing, false);
  Body(cr, y);
  // A touch of shade under the ears hints at the back of the head.
  Tail(cr, 48, 70 + y, 10);
  double liftL = f == 1 ? 5 : 0, liftR = f == 3 ? 5 : 0;
  Foot(cr, 34, 87 - liftL, 10, 6);
  Foot(cr, 62, 87 - liftR, 10, 6);
}

// Side view; s = 1 faces right, -1 left. The light stays upper left.
void FacingSide(cairo_t *cr, int f, double s) {
  double y = kBob[f];
  double swing = kEarSwing[f];
  auto X = [&](double dx) { return 48 + s * dx; };
  constexpr double kStride[4] = {0, 7, 0, -7};
  double stride = kStride[f];
  Ear(cr, X(-14), 24 + y, s * (-0.62 + swing), false);
  Tail(cr, X(-30), 62 + y, 9);
  Foot(cr, X(-8 - stride), 86 - (f == 3 ? 4 : 0), 11, 6.2);
  Body(cr, y);
  Ear(cr, X(-4), 21 + y, s * (-0.38 + swing), true);
  Blush(cr, X(14), 61 + y);
  Eye(cr, X(14), 45 + y, 7, 9.2, s, 0);
  Nose(cr, X(29), 54 + y);
  Mouth(cr, X(23), 63 + y, 11, kMunch[f]);
  Foot(cr, X(10 + stride), 86 - (f == 1 ? 4 : 0), 11, 6.2);
}

} // namespace

void DirVector(Dir dir, double &dx, double &dy) {
  dx = dir == Dir::Left ? -1 : dir == Dir::Right ? 1 : 0;
  dy = dir == Dir::Up ? -1 : dir == Dir::Down ? 1 : 0;
}

void DrawPlayer(cairo_t *cr, Dir dir, int frame) {
  cairo_save(cr);
  cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
  int f = frame & 3;
  switch (dir) {
  case Dir::Down:
    FacingDown(cr, f);
    break;
  case Dir::Up:
    FacingUp(cr, f);
    break;
  case Dir::Right:
    FacingSide(cr, f, 1);
    break;
  case Dir::Left:
    FacingSide(cr, f, -1);
    break;
  }
  cairo_restore(cr);
}

} // namespace art
