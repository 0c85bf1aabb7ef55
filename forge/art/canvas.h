// canvas.h — a cairo drawing surface and its export to RGBA pixels.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <vector>

namespace art {

// One ARGB32 cairo surface with its context; starts fully transparent.
struct Canvas {
  int width = 0;
  int height = 0;
  cairo_surface_t *surface = nullptr;
  cairo_t *cr = nullptr;

  Canvas(int w, int h);
  ~Canvas();
  Canvas(const Canvas &) = delete;
  Canvas &operator=(const Canvas &) = delete;
};

// Straight (not premultiplied) pixels, R G B A per pixel, rows top down.
// `alpha` false means every pixel is opaque and the PNG is written as RGB.
struct Image {
  int width = 0;
  int height = 0;
  bool alpha = true;
  std::vector<uint8_t> rgba;
};

// Un-premultiplies the canvas. With alpha false the canvas must be opaque.
Image ToImage(Canvas &canvas, bool alpha = true);

// For pictures the game loads with a colour key (pure black is see-through,
// everything else opaque): pixels at least half covered keep their colour,
// made opaque and never pure black; the rest become pure black.
Image ToKeyedImage(Canvas &canvas);

// A fresh, fully transparent w x h image surface; throws when cairo cannot
// make it.
cairo_surface_t *MakeSurface(int w, int h, cairo_format_t format);

} // namespace art
