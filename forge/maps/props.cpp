// props.cpp — paints items, doors and decorations with cairo.
#include "props.h"

#include "common/shapes.h"

#include <cairo.h>
#include <cmath>
#include <functional>
#include <vector>

namespace forge {

namespace {

constexpr double kPi = 3.14159265358979;

using common::RoundedRect;

using Painter = std::function<void(cairo_t *, int frame, int frames)>;

Pixels Draw(int frames, const Painter &paint) {
  std::vector<Pixels> strip;
  for (int f = 0; f < frames; ++f) {
    cairo_surface_t *s =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 96, 96);
    cairo_t *cr = cairo_create(s);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_BEST);
    paint(cr, f, frames);
    cairo_destroy(cr);
    strip.push_back(FromCairo(s));
    cairo_surface_destroy(s);
  }
  return Strip(strip);
}

void Source(cairo_t *cr, Rgb c, double a = 1) {
  cairo_set_source_rgba(cr, c.r, c.g, c.b, a);
}

// A radial glow fading to nothing.
void Glow(cairo_t *cr, double x, double y, double r, Rgb c, double a) {
  cairo_pattern_t *p = cairo_pattern_create_radial(x, y, 0, x, y, r);
  cairo_pattern_add_color_stop_rgba(p, 0, c.r, c.g, c.b, a);
  cairo_pattern_add_color_stop_rgba(p, 0.45, c.r, c.g, c.b, a * 0.45);
  cairo_pattern_add_color_stop_rgba(p, 1, c.r, c.g, c.b, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, x, y, r, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
}

// A shaded ball lit from the upper left, with a dark outline.
void Ball(cairo_t *cr, double x, double y, double r, Rgb light, Rgb dark,
          Rgb outline) {
  cairo_pattern_t *p =
      cairo_pattern_create_radial(x - r * 0.4, y - r * 0.45, r * 0.1, x, y, r);
  cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 1, dark.r, dark.g, dark.b);
  cairo_arc(cr, x, y, r, 0, 2 * kPi);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  Source(cr, outline);
  cairo_set_line_width(cr, 2.0);
  cairo_stroke(cr);
  // Shine.
  cairo_save(cr);
  cairo_translate(cr, x - r * 0.38, y - r * 0.42);
  cairo_scale(cr, r * 0.28, r * 0.18);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.75);
  cairo_fill(cr);
}

// A soft shadow on the ground under a decoration.
void GroundShadow(cairo_t *cr, double x, double y, double rx, double ry) {
  cairo_save(cr);
  cairo_translate(cr, x, y);
  cairo_scale(cr, rx, ry);
  cairo_pattern_t *p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  cairo_pattern_add_color_stop_rgba(p, 0, 0, 0, 0, 0.45);
  cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

// One gate leaf: planks with iron bands, hinged at the origin, pointing
// along +x before rotation.
void GateLeaf(cairo_t *cr, double hx, double hy, double angle, double length) {
  cairo_save(cr);
  cairo_translate(cr, hx, hy);
  cairo_rotate(cr, angle);
  const double t = 26;
  RoundedRect(cr, 0, -t / 2, length, t, 5);
  cairo_pattern_t *wood = cairo_pattern_create_linear(0, -t / 2, 0, t / 2);
  cairo_pattern_add_color_stop_rgb(wood, 0, 0.78, 0.55, 0.30);
  cairo_pattern_add_color_stop_rgb(wood, 1, 0.48, 0.30, 0.14);
  cairo_set_source(cr, wood);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(wood);
  cairo_set_source_rgb(cr, 0.22, 0.12, 0.05);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  // Plank joint along the leaf.
  cairo_move_to(cr, 3, 0);
  cairo_line_to(cr, length - 3, 0);
  cairo_set_source_rgba(cr, 0.25, 0.13, 0.05, 0.7);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  // Iron bands with rivets.
  for (double bx : {length * 0.3, length * 0.75}) {
    cairo_rectangle(cr, bx - 4, -t / 2, 8, t);
    cairo_set_source_rgb(cr, 0.30, 0.32, 0.38);
    cairo_fill(cr);
    for (double by : {-t / 4, t / 4}) {
      cairo_arc(cr, bx, by, 2.2, 0, 2 * kPi);
      cairo_set_source_rgb(cr, 0.85, 0.86, 0.9);
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);
}

void Post(cairo_t *cr, double x, double y) {
  Ball(cr, x, y, 11, Rgb{0.75f, 0.76f, 0.82f}, Rgb{0.25f, 0.26f, 0.32f},
       Rgb{0.08f, 0.08f, 0.1f});
}

// Petals around a heart, for the meadow's flowers.
void Bloom(cairo_t *cr, double x, double y, double r, Rgb petal, Rgb heart) {
  for (int k = 0; k < 5; ++k) {
    const double a = 2 * kPi * k / 5 - kPi / 2;
    cairo_save(cr);
    cairo_translate(cr, x + r * 0.75 * std::cos(a), y + r * 0.75 * std::sin(a));
    cairo_rotate(cr, a);
    cairo_scale(cr, r * 0.62, r * 0.42);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    Source(cr, petal);
    cairo_fill_preserve(cr);
    Source(cr, Scale(petal, 0.55f));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
  }
  cairo_arc(cr, x, y, r * 0.38, 0, 2 * kPi);
  Source(cr, heart);
  cairo_fill(cr);
}

void Stem(cairo_t *cr, double x0, double y0, double x1, double y1, double bend,
          Rgb c, double width) {
  cairo_move_to(cr, x0, y0);
  cairo_curve_to(cr, x0, y0 - (y0 - y1) * 0.5, x1 - bend, y1 + (y0 - y1) * 0.3,
                 x1, y1);
  Source(cr, c);
  cairo_set_line_width(cr, width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_stroke(cr);
}

void Flowers(cairo_t *cr, const Theme &t, int f, int n) {
  const double sway = std::sin(2 * kPi * f / n);
  GroundShadow(cr, 48, 80, 30, 8);
  const struct {
    double x, top, r;
    Rgb petal;
  } stems[] = {{30, 34, 11, t.accent},
               {50, 20, 13, Rgb8(248, 246, 236)},
               {68, 38, 11, Rgb8(236, 120, 170)}};
  int k = 0;
  for (const auto &s : stems) {
    const double dx = sway * (10 + 3 * k);
    Stem(cr, s.x + 2, 82, s.x + dx, s.top, dx, Rgb8(40, 100, 30), 4);
    // A leaf halfway up.
    cairo_save(cr);
    cairo_translate(cr, s.x + 2 + dx * 0.4, 64);
    cairo_rotate(cr, (k % 2 ? -0.6 : 0.6) + sway * 0.2);
    cairo_scale(cr, 9, 4);
    cairo_arc(cr, k % 2 ? -1 : 1, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    Source(cr, Rgb8(70, 140, 40));
    cairo_fill(cr);
    Bloom(cr, s.x + dx, s.top, s.r, s.petal, Rgb8(240, 170, 30));
    ++k;
  }
}

void Fern(cairo_t *cr, int f, int n) {
  const double sway = std::sin(2 * kPi * f / n);
  GroundShadow(cr, 48, 82, 32, 8);
  for (int k = 0; k < 5; ++k) {
    const double spread = (k - 2) * 0.42 + sway * 0.22;
    const double len = 46 - std::abs(k - 2) * 5;
    const double ex = 48 + std::sin(spread) * len,
                 ey = 82 - std::cos(spread) * len;
    cairo_move_to(cr, 48, 84);
    cairo_curve_to(cr, 48, 70, ex - std::sin(spread) * 8, ey + 10, ex, ey);
    cairo_set_source_rgb(cr, 0.18, 0.42, 0.12);
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    // Leaflets along the frond.
    for (int j = 1; j <= 5; ++j) {
      const double u = j / 6.0;
      const double px = 48 + (ex - 48) * u, py = 84 + (ey - 84) * u;
      const double size = 8.5 * (1.1 - u);
      for (int side : {-1, 1}) {
        cairo_save(cr);
        cairo_translate(cr, px, py);
        cairo_rotate(cr, spread + side * 1.1);
        cairo_scale(cr, 2.6, size);
        cairo_arc(cr, 0, -1, 1, 0, 2 * kPi);
        cairo_restore(cr);
        cairo_set_source_rgb(cr, 0.36 + 0.1 * u, 0.62, 0.16);
        cairo_fill(cr);
      }
    }
  }
}

void Fireflies(cairo_t *cr, const Theme &t, int f, int n) {
  for (int k = 0; k < 5; ++k) {
    const double phase = 2 * kPi * (f / static_cast<double>(n) + k * 0.19);
    const double cx = 20 + 14 * k + 8 * std::sin(phase + k);
    const double cy = 30 + 30 * Hash01(static_cast<uint32_t>(k), 901) +
                      8 * std::cos(phase * (k % 2 ? 1 : -1));
    const double pulse = 0.55 + 0.45 * std::sin(phase * 2 + k);
    Glow(cr, cx, cy, 17, t.accent, 0.95 * pulse);
    cairo_arc(cr, cx, cy, 3.4, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 1, 1, 0.85, 0.6 + 0.4 * pulse);
    cairo_fill(cr);
  }
}

void Flame(cairo_t *cr, double x, double base, double height, double width,
           double lean) {
  cairo_move_to(cr, x - width, base);
  cairo_curve_to(cr, x - width * 1.2, base - height * 0.5,
                 x + lean - width * 0.3, base - height * 0.75, x + lean,
                 base - height);
  cairo_curve_to(cr, x + lean + width * 0.3, base - height * 0.75,
                 x + width * 1.2, base - height * 0.5, x + width, base);
  cairo_curve_to(cr, x + width * 0.6, base + width * 0.7, x - width * 0.6,
                 base + width * 0.7, x - width, base);
  cairo_close_path(cr);
}

void Torch(cairo_t *cr, const Theme &t, int f, int n) {
  const double flick[] = {0, 0.6, -0.4, 0.9};
  const double k = flick[f % 4];
  // Drawn a third larger than its sketch, standing on the same foot.
  cairo_translate(cr, 48, 88);
  cairo_scale(cr, 1.3, 1.3);
  cairo_translate(cr, -48, -86);
  Glow(cr, 48, 46, 30, t.accent, 0.4 + 0.08 * k);
  // Handle and iron cup.
  cairo_move_to(cr, 44, 84);
  cairo_line_to(cr, 52, 84);
  cairo_line_to(cr, 55, 50);
  cairo_line_to(cr, 41, 50);
  cairo_close_path(cr);
  cairo_set_source_rgb(cr, 0.42, 0.25, 0.12);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.16, 0.08, 0.03);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  RoundedRect(cr, 36, 44, 24, 10, 3);
  cairo_set_source_rgb(cr, 0.3, 0.3, 0.34);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.12);
  cairo_stroke(cr);
  (void)n;
  Flame(cr, 48, 44, 30 + 4 * k, 10, 3 * k);
  cairo_set_source_rgb(cr, 0.93, 0.35, 0.05);
  cairo_fill(cr);
  Flame(cr, 48, 44, 20 + 3 * k, 6.5, 2 * k);
  Source(cr, t.accent);
  cairo_fill(cr);
  Flame(cr, 48, 44, 10 + 2 * k, 3.5, k);
  cairo_set_source_rgb(cr, 1, 0.95, 0.7);
  cairo_fill(cr);
}

void LavaPool(cairo_t *cr, const Theme &t, int f, int n) {
  // An irregular pool with a dark crust.
  cairo_save(cr);
  cairo_translate(cr, 48, 52);
  cairo_new_path(cr);
  for (int k = 0; k <= 24; ++k) {
    const double a = 2 * kPi * k / 24;
    const double r = 30 + 5 * std::sin(3 * a + 1) + 3 * std::sin(5 * a);
    const double px = r * std::cos(a), py = r * 0.78 * std::sin(a);
    if (k == 0)
      cairo_move_to(cr, px, py);
    else
      cairo_line_to(cr, px, py);
  }
  cairo_close_path(cr);
  cairo_restore(cr);
  cairo_set_source_rgb(cr, 0.16, 0.09, 0.07);
  cairo_set_line_width(cr, 9);
  cairo_stroke_preserve(cr);
  cairo_pattern_t *p = cairo_pattern_create_radial(44, 46, 4, 48, 52, 34);
  cairo_pattern_add_color_stop_rgb(p, 0, 1, 0.86, 0.35);
  cairo_pattern_add_color_stop_rgb(p, 0.5, t.accent.r, t.accent.g, t.accent.b);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.65, 0.12, 0.02);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // Bubbles swell and burst in turn.
  for (int k = 0; k < 3; ++k) {
    const double life = std::fmod(f / static_cast<double>(n) + k / 3.0, 1.0);
    const double bx = 34 + 14 * k, by = 46 + 8 * ((k * 7) % 3) - 4;
    const double r = 2 + 7 * life;
    cairo_arc(cr, bx, by, r, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 1, 0.92, 0.55, 0.9 * (1 - life * 0.7));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
  }
}

void Prism(cairo_t *cr, double x, double base, double w, double h, double tilt,
           Rgb c, double glow) {
  cairo_save(cr);
  cairo_translate(cr, x, base);
  cairo_rotate(cr, tilt);
  cairo_move_to(cr, -w / 2, 0);
  cairo_line_to(cr, -w / 2, -h + w * 0.6);
  cairo_line_to(cr, 0, -h);
  cairo_line_to(cr, w / 2, -h + w * 0.6);
  cairo_line_to(cr, w / 2, 0);
  cairo_close_path(cr);
  cairo_pattern_t *p = cairo_pattern_create_linear(-w / 2, 0, w / 2, 0);
  const Rgb light =
      Mix(c, Rgb8(255, 255, 255), 0.35f + 0.3f * static_cast<float>(glow));
  cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 0.5, c.r, c.g, c.b);
  cairo_pattern_add_color_stop_rgb(p, 1, c.r * 0.45, c.g * 0.45, c.b * 0.55);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  cairo_set_source_rgb(cr, c.r * 0.25, c.g * 0.25, c.b * 0.35);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  cairo_move_to(cr, 0, -h);
  cairo_line_to(cr, 0, -2);
  cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
  cairo_set_line_width(cr, 1.5);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Crystal(cairo_t *cr, const Theme &t, int f, int n) {
  const double pulse = 0.5 + 0.5 * std::sin(2 * kPi * f / n);
  GroundShadow(cr, 48, 80, 28, 7);
  Glow(cr, 48, 52, 42, t.accent, 0.1 + 0.6 * pulse);
  Prism(cr, 34, 82, 14, 34, -0.4, t.accent, pulse);
  Prism(cr, 62, 82, 13, 30, 0.45, t.accent, pulse);
  Prism(cr, 48, 84, 18, 52, 0.0, t.accent, pulse);
}

void DriftSand(cairo_t *cr, int f, int n) {
  // A low dune with grains blowing over its crest.
  cairo_move_to(cr, 10, 74);
  cairo_curve_to(cr, 30, 50, 56, 46, 86, 70);
  cairo_curve_to(cr, 70, 80, 28, 82, 10, 74);
  cairo_close_path(cr);
  cairo_pattern_t *p = cairo_pattern_create_linear(0, 50, 0, 82);
  cairo_pattern_add_color_stop_rgb(p, 0, 0.93, 0.78, 0.55);
  cairo_pattern_add_color_stop_rgb(p, 1, 0.62, 0.46, 0.30);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  cairo_set_source_rgb(cr, 0.35, 0.24, 0.14);
  cairo_set_line_width(cr, 2);
  cairo_stroke(cr);
  for (int k = 0; k < 9; ++k) {
    const double u = std::fmod(f / static_cast<double>(n) + k / 9.0, 1.0);
    const double gx = 30 + 56 * u;
    const double gy = 52 - 10 * std::sin(kPi * u) + (k % 3) * 4;
    cairo_arc(cr, gx, gy, 2.4, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 1, 0.88, 0.62, 0.95 * std::sin(kPi * u));
    cairo_fill(cr);
  }
}

void Lantern(cairo_t *cr, const Theme &t, int f, int) {
  const double flick[] = {0, 0.5, -0.3, 0.8};
  const double k = flick[f % 4];
  Glow(cr, 48, 52, 44, t.accent, 0.32 + 0.06 * k);
  // Hook and handle.
  cairo_arc(cr, 48, 22, 7, kPi, 2 * kPi);
  cairo_set_source_rgb(cr, 0.2, 0.16, 0.12);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  RoundedRect(cr, 36, 26, 24, 7, 2);
  cairo_set_source_rgb(cr, 0.28, 0.2, 0.14);
  cairo_fill(cr);
  // Glass with the flame inside, and the frame bars.
  RoundedRect(cr, 34, 32, 28, 38, 5);
  cairo_set_source_rgba(cr, 1, 0.85, 0.45, 0.55 + 0.1 * k);
  cairo_fill(cr);
  Flame(cr, 48 + k, 62, 20 + 3 * k, 6, k);
  Source(cr, t.accent);
  cairo_fill(cr);
  Flame(cr, 48 + k, 62, 11 + 2 * k, 3, k);
  cairo_set_source_rgb(cr, 1, 0.97, 0.8);
  cairo_fill(cr);
  RoundedRect(cr, 34, 32, 28, 38, 5);
  cairo_set_source_rgb(cr, 0.2, 0.14, 0.1);
  cairo_set_line_width(cr, 3);
  cairo_stroke(cr);
  cairo_move_to(cr, 48, 32);
  cairo_line_to(cr, 48, 70);
  cairo_stroke(cr);
  RoundedRect(cr, 33, 68, 30, 8, 2);
  cairo_set_source_rgb(cr, 0.28, 0.2, 0.14);
  cairo_fill(cr);
}

void StarLamp(cairo_t *cr, const Theme &t, int f, int n) {
  const double phase = 2 * kPi * f / n;
  const double pulse = 0.5 + 0.5 * std::sin(phase);
  Glow(cr, 48, 40, 40, t.accent, 0.25 + 0.3 * pulse);
  // A slender post with a globe.
  GroundShadow(cr, 48, 84, 14, 4);
  cairo_rectangle(cr, 45, 46, 6, 38);
  cairo_set_source_rgb(cr, 0.25, 0.28, 0.4);
  cairo_fill(cr);
  Ball(cr, 48, 40, 10, Rgb8(240, 250, 255), t.accent, Rgb8(40, 60, 110));
  // A four-pointed sparkle that turns and twinkles.
  cairo_save(cr);
  cairo_translate(cr, 48, 40);
  cairo_rotate(cr, phase / 4);
  const double len = 12 + 10 * pulse;
  for (int k = 0; k < 4; ++k) {
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, 2.2, -2.2);
    cairo_line_to(cr, 0, -len);
    cairo_line_to(cr, -2.2, -2.2);
    cairo_close_path(cr);
    cairo_rotate(cr, kPi / 2);
  }
  cairo_set_source_rgba(cr, 1, 1, 1, 0.6 + 0.4 * pulse);
  cairo_fill(cr);
  cairo_restore(cr);
}

void Rock(cairo_t *cr, const Theme &t) {
  GroundShadow(cr, 50, 72, 32, 10);
  cairo_move_to(cr, 20, 70);
  cairo_curve_to(cr, 14, 50, 30, 30, 50, 32);
  cairo_curve_to(cr, 72, 32, 84, 52, 78, 70);
  cairo_curve_to(cr, 60, 78, 36, 78, 20, 70);
  cairo_close_path(cr);
  const Rgb light = Mix(t.wallLight, Rgb8(190, 190, 180), 0.5f);
  cairo_pattern_t *p = cairo_pattern_create_linear(30, 30, 70, 76);
  cairo_pattern_add_color_stop_rgb(p, 0, light.r, light.g, light.b);
  cairo_pattern_add_color_stop_rgb(p, 1, light.r * 0.4, light.g * 0.4,
                                   light.b * 0.4);
  cairo_set_source(cr, p);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(p);
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  cairo_set_line_width(cr, 2.5);
  cairo_stroke(cr);
  // Moss on top.
  cairo_move_to(cr, 28, 42);
  cairo_curve_to(cr, 38, 32, 58, 30, 70, 42);
  cairo_curve_to(cr, 58, 40, 40, 40, 28, 42);
  cairo_set_source_rgba(cr, 0.35, 0.55, 0.2, 0.8);
  cairo_fill(cr);
}

void Mushrooms(cairo_t *cr) {
  GroundShadow(cr, 48, 80, 32, 8);
  const struct {
    double x, y, r;
  } caps[] = {{30, 60, 12}, {56, 46, 17}, {74, 66, 9}};
  for (const auto &c : caps) {
    RoundedRect(cr, c.x - c.r * 0.35, c.y, c.r * 0.7, 80 - c.y, 3);
    cairo_set_source_rgb(cr, 0.93, 0.9, 0.82);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.35, 0.3, 0.25);
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_arc(cr, c.x, c.y + 2, c.r, kPi, 2 * kPi);
    cairo_close_path(cr);
    cairo_pattern_t *p =
        cairo_pattern_create_linear(c.x, c.y - c.r, c.x, c.y + 2);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.95, 0.25, 0.2);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.6, 0.06, 0.06);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_source_rgb(cr, 0.25, 0.02, 0.02);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    for (int k = 0; k < 3; ++k) {
      const double a = kPi * (1.25 + 0.25 * k);
      cairo_arc(cr, c.x + c.r * 0.6 * std::cos(a),
                c.y + 2 + c.r * 0.6 * std::sin(a), c.r * 0.14, 0, 2 * kPi);
      cairo_set_source_rgb(cr, 1, 0.97, 0.9);
      cairo_fill(cr);
    }
  }
}

void Bone(cairo_t *cr, double x0, double y0, double x1, double y1) {
  const double w = 6;
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  for (int pass = 0; pass < 2; ++pass) {
    const double extra = pass == 0 ? 3 : 0;
    if (pass == 0)
      cairo_set_source_rgb(cr, 0.3, 0.26, 0.2);
    else
      cairo_set_source_rgb(cr, 0.92, 0.88, 0.76);
    cairo_move_to(cr, x0, y0);
    cairo_line_to(cr, x1, y1);
    cairo_set_line_width(cr, w + extra);
    cairo_stroke(cr);
    const double dx = (y1 - y0) * 0.12, dy = -(x1 - x0) * 0.12;
    for (double s : {-1.0, 1.0}) {
      cairo_arc(cr, x0 + s * dx, y0 + s * dy, 4.5 + extra / 2, 0, 2 * kPi);
      cairo_fill(cr);
      cairo_arc(cr, x1 + s * dx, y1 + s * dy, 4.5 + extra / 2, 0, 2 * kPi);
      cairo_fill(cr);
    }
  }
}

void Bones(cairo_t *cr) {
  GroundShadow(cr, 48, 56, 30, 14);
  Bone(cr, 24, 30, 72, 72);
  Bone(cr, 72, 32, 26, 70);
}

void Roots(cairo_t *cr) {
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const double paths[3][8] = {{8, 20, 30, 30, 40, 52, 60, 60},
                              {90, 30, 70, 40, 62, 62, 40, 80},
                              {30, 90, 36, 76, 56, 70, 84, 84}};
  for (int pass = 0; pass < 2; ++pass)
    for (const auto &p : paths) {
      cairo_move_to(cr, p[0], p[1]);
      cairo_curve_to(cr, p[2], p[3], p[4], p[5], p[6], p[7]);
      if (pass == 0)
        cairo_set_source_rgb(cr, 0.16, 0.09, 0.04);
      else
        cairo_set_source_rgb(cr, 0.55, 0.38, 0.22);
      cairo_set_line_width(cr, pass == 0 ? 9 : 5);
      cairo_stroke(cr);
    }
}

} // namespace

Pixels PaintDot() {
  return Draw(1, [](cairo_t *cr, int, int) {
    Glow(cr, 48, 48, 22, Rgb8(255, 230, 120), 0.45);
    Ball(cr, 48, 48, 10.5, Rgb8(255, 252, 222), Rgb8(236, 168, 34),
         Rgb8(110, 62, 8));
  });
}

Pixels PaintCherry() {
  return Draw(1, [](cairo_t *cr, int, int) {
    GroundShadow(cr, 50, 80, 30, 7);
    // Stems from a shared joint, and a leaf.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
      cairo_set_line_width(cr, pass == 0 ? 6 : 3.5);
      if (pass == 0)
        cairo_set_source_rgb(cr, 0.12, 0.16, 0.04);
      else
        cairo_set_source_rgb(cr, 0.45, 0.6, 0.15);
      cairo_move_to(cr, 32, 58);
      cairo_curve_to(cr, 34, 40, 46, 26, 56, 18);
      cairo_stroke(cr);
      cairo_move_to(cr, 64, 62);
      cairo_curve_to(cr, 64, 44, 60, 30, 56, 18);
      cairo_stroke(cr);
    }
    cairo_save(cr);
    cairo_translate(cr, 66, 18);
    cairo_rotate(cr, -0.35);
    cairo_scale(cr, 13, 6);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, 0.3, 0.62, 0.16);
    cairo_fill_preserve(cr);
    cairo_set_source_rgb(cr, 0.1, 0.25, 0.05);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    Ball(cr, 32, 64, 15, Rgb8(255, 120, 110), Rgb8(150, 8, 24), Rgb8(60, 0, 8));
    Ball(cr, 64, 67, 15, Rgb8(255, 120, 110), Rgb8(150, 8, 24), Rgb8(60, 0, 8));
  });
}

Pixels PaintDoor(int value) {
  return Draw(1, [value](cairo_t *cr, int, int) {
    const bool open = value % 2 == 1;
    // Leaves swing out of the house: down, up, left or right.
    double outward = 0;
    bool across = true; // the gate spans the cell from left to right
    switch (value) {
    case 58:
    case 59:
      outward = kPi / 2;
      break;
    case 60:
    case 61:
      outward = -kPi / 2;
      break;
    case 62:
    case 63:
      outward = kPi, across = false;
      break;
    default:
      outward = 0, across = false;
      break;
    }
    const double swing = open ? 1.25 : 0.0;
    const double len = 36;
    if (across) {
      const double side = std::sin(outward) > 0 ? 1 : -1;
      GateLeaf(cr, 10, 48, 0 + side * swing, len);
      GateLeaf(cr, 86, 48, kPi - side * swing, len);
      Post(cr, 9, 48);
      Post(cr, 87, 48);
    } else {
      const double side = std::cos(outward) > 0 ? 1 : -1;
      GateLeaf(cr, 48, 10, kPi / 2 - side * swing, len);
      GateLeaf(cr, 48, 86, -kPi / 2 + side * swing, len);
      Post(cr, 48, 9);
      Post(cr, 48, 87);
    }
    if (!open) {
      // The bolt where the leaves meet.
      cairo_arc(cr, 48, 48, 7, 0, 2 * kPi);
      cairo_set_source_rgb(cr, 0.95, 0.78, 0.25);
      cairo_fill_preserve(cr);
      cairo_set_source_rgb(cr, 0.35, 0.22, 0.02);
      cairo_set_line_width(cr, 2);
      cairo_stroke(cr);
    }
  });
}

Pixels PaintDecoration(const Theme &t, const Decoration &d) {
  return Draw(d.frames, [&](cairo_t *cr, int f, int n) {
    switch (d.kind) {
    case DecorKind::Flowers:
      Flowers(cr, t, f, n);
      break;
    case DecorKind::Fern:
      Fern(cr, f, n);
      break;
    case DecorKind::Fireflies:
      Fireflies(cr, t, f, n);
      break;
    case DecorKind::Torch:
      Torch(cr, t, f, n);
      break;
    case DecorKind::LavaPool:
      LavaPool(cr, t, f, n);
      break;
    case DecorKind::Crystal:
      Crystal(cr, t, f, n);
      break;
    case DecorKind::DriftSand:
      DriftSand(cr, f, n);
      break;
    case DecorKind::Lantern:
      Lantern(cr, t, f, n);
      break;
    case DecorKind::StarLamp:
      StarLamp(cr, t, f, n);
      break;
    case DecorKind::Rock:
      Rock(cr, t);
      break;
    case DecorKind::Mushrooms:
      Mushrooms(cr);
      break;
    case DecorKind::Bones:
      Bones(cr);
      break;
    case DecorKind::Roots:
      Roots(cr);
      break;
    }
  });
}

} // namespace forge
