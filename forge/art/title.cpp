// title.cpp — the title pictures: the game's name over the maze world.
#include "canvas.h"
#include "colour.h"
#include "entries.h"
#include "game_name.h"
#include "maze_scene.h"
#include "rng.h"
#include "shapes.h"

#include <algorithm>
#include <cmath>

namespace art {

namespace {

void Sky(cairo_t *cr, int w, int h, double horizon) {
  cairo_pattern_t *p = cairo_pattern_create_linear(0, 0, 0, horizon);
  AddStop(p, 0, Rgb8(4, 4, 22));
  AddStop(p, 0.6, Rgb8(24, 14, 64));
  AddStop(p, 1, Rgb8(70, 30, 110));
  cairo_set_source(cr, p);
  cairo_rectangle(cr, 0, 0, w, horizon);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  // A warm band of light along the horizon.
  cairo_pattern_t *band =
      cairo_pattern_create_linear(0, horizon - h * 0.12, 0, horizon);
  cairo_pattern_add_color_stop_rgba(band, 0, 1, 0.45, 0.55, 0);
  cairo_pattern_add_color_stop_rgba(band, 1, 1, 0.5, 0.55, 0.45);
  cairo_set_source(cr, band);
  cairo_rectangle(cr, 0, horizon - h * 0.12, w, h * 0.12);
  cairo_fill(cr);
  cairo_pattern_destroy(band);
  Rng rng(31);
  int count = w * static_cast<int>(horizon) / 9000;
  for (int i = 0; i < count; ++i) {
    double x = rng.Range(0, w), y = rng.Range(0, horizon * 0.95);
    double r = rng.Range(0.6, 1.7);
    double a = rng.Range(0.35, 1.0) * (1 - y / horizon * 0.6);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    cairo_set_source_rgba(cr, 1, 1, 0.95, a);
    cairo_fill(cr);
  }
  for (int i = 0; i < 14; ++i) {
    double x = rng.Range(0, w), y = rng.Range(0, horizon * 0.8);
    Sparkle(cr, x, y, rng.Range(5, 11), Rgb8(255, 255, 240, 0.9));
  }
}

} // namespace

void WriteTitle(Sink &sink, const Aspect &a) {
  Canvas c(a.width, a.height);
  double w = a.width, h = a.height;
  double horizon = h * 0.45;
  Sky(c.cr, a.width, a.height, horizon);
  DrawMazeScene(c.cr, a.width, a.height, horizon);
  // The name: large, as wide as the shape allows but never taller than a
  // quarter of the picture, centred in the sky.
  double width = std::min(w * 0.76, h * 0.25 / (GameNameHeight(1000) / 1000));
  DrawGameName(c.cr, a.width, a.height, w / 2, h * 0.215, width);
  Save(sink, std::string("title_") + a.suffix + ".png", ToImage(c, false));
}

} // namespace art
