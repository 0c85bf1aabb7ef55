// shapes.h — path and paint helpers shared by every drawing of the forge.
#pragma once

#include "colour.h"

#include "common/shapes.h"

#include <cairo.h>

namespace art {

constexpr double kPi = 3.14159265358979323846;

using common::RoundedRect;
void EllipsePath(cairo_t *cr, double cx, double cy, double rx, double ry,
                 double angle = 0);
// Star with `points` tips, the first pointing at `rotation` (0 = up).
void StarPath(cairo_t *cr, double cx, double cy, int points, double outer,
              double inner, double rotation = 0);
// Soft-cornered star: the tips and valleys are rounded by `round` (0..1).
void RoundStarPath(cairo_t *cr, double cx, double cy, int points, double outer,
                   double inner, double rotation, double round);

// Fills the current path (kept) with a ball-like radial shading lit from
// the upper left: `light` at the highlight, `base` in the body, `dark` at
// the far edge. (cx, cy, r) describe the lit volume.
void FillShaded(cairo_t *cr, double cx, double cy, double r, Rgba light,
                Rgba base, Rgba dark);

// Strokes the current path (kept) with round joins.
void StrokeWith(cairo_t *cr, Rgba colour, double width);

// A small four-pointed twinkle.
void Sparkle(cairo_t *cr, double cx, double cy, double size, Rgba colour);

// Easing curves on t in [0, 1].
double EaseOutBack(double t, double overshoot = 1.70158);
double EaseOutCubic(double t);
double EaseInCubic(double t);
double EaseInOutSine(double t);
double EaseOutBounce(double t);
double Clamp01(double t);

} // namespace art
