// canvas.h — float pixel buffers for the tile painters: blending, noise
// that repeats with the tile, cairo hand-over and PNG encoding.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

typedef struct _cairo_surface cairo_surface_t;

namespace forge {

struct Rgb {
  float r = 0, g = 0, b = 0;
};

Rgb Mix(Rgb a, Rgb b, float t);
Rgb Scale(Rgb c, float k);
Rgb Rgb8(int r, int g, int b);

// Premultiplied RGBA, 0..1 per channel, row by row.
struct Pixels {
  int width = 0, height = 0;
  std::vector<float> rgba;
};

Pixels MakePixels(int width, int height);
// Straight colour c with coverage a drawn over pixel (x, y).
void BlendOver(Pixels &dst, int x, int y, Rgb c, float a);
// src drawn over dst with its top-left at (dx, dy).
void DrawOver(Pixels &dst, const Pixels &src, int dx, int dy);
// Copies src into dst at (dx, dy), replacing what was there.
void Copy(Pixels &dst, const Pixels &src, int dx, int dy);
// A part of src.
Pixels Crop(const Pixels &src, int x, int y, int width, int height);
// Half the size, each pixel the mean of four.
Pixels Halve(const Pixels &src);
// Side by side, left to right.
Pixels Strip(const std::vector<Pixels> &frames);

// A cairo image surface (ARGB32) of the same size, and back.
cairo_surface_t *ToCairo(const Pixels &src);
Pixels FromCairo(cairo_surface_t *surface);

// 8-bit RGBA PNG, the same bytes for the same pixels.
std::vector<uint8_t> EncodePng(const Pixels &src);
bool WritePng(const std::string &path, const Pixels &src);

// Deterministic hashing and noise. Noise repeats every `period` pixels so
// that neighbouring tiles join without a seam; period must divide 96.
uint32_t Hash(uint32_t a, uint32_t b = 0, uint32_t c = 0, uint32_t d = 0);
float Hash01(uint32_t a, uint32_t b = 0, uint32_t c = 0, uint32_t d = 0);
float ValueNoise(float x, float y, int period, uint32_t seed);
// Three octaves starting at `period`, 0..1.
float Fbm(float x, float y, int period, uint32_t seed);

float Clamp01(float v);
float SmoothStep(float edge0, float edge1, float v);

} // namespace forge
