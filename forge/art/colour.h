// colour.h — colours as cairo wants them, and the helpers that mix them.
#pragma once

#include <cairo.h>

namespace art {

struct Rgba {
  double r = 0, g = 0, b = 0, a = 1;
};

// From 0-255 channels.
constexpr Rgba Rgb8(int r, int g, int b, double a = 1.0) {
  return Rgba{r / 255.0, g / 255.0, b / 255.0, a};
}

constexpr Rgba WithAlpha(Rgba c, double a) { return Rgba{c.r, c.g, c.b, a}; }

// t = 0 gives a, t = 1 gives b.
constexpr Rgba Mix(Rgba a, Rgba b, double t) {
  return Rgba{a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t,
              a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

// Towards black (f < 1) keeping alpha.
constexpr Rgba Shade(Rgba c, double f) {
  return Rgba{c.r * f, c.g * f, c.b * f, c.a};
}

// Towards white by t.
constexpr Rgba Tint(Rgba c, double t) { return Mix(c, Rgba{1, 1, 1, c.a}, t); }

inline void SetColour(cairo_t *cr, Rgba c) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a);
}

inline void AddStop(cairo_pattern_t *p, double at, Rgba c) {
  cairo_pattern_add_color_stop_rgba(p, at, c.r, c.g, c.b, c.a);
}

} // namespace art
