// canvas.cpp — float pixel buffers, noise and PNG encoding for the forge.
#include "canvas.h"

#include "common/png_encode.h"

#include <algorithm>
#include <cairo.h>
#include <cmath>
#include <cstdio>

namespace forge {

Rgb Mix(Rgb a, Rgb b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Rgb Scale(Rgb c, float k) { return {c.r * k, c.g * k, c.b * k}; }

Rgb Rgb8(int r, int g, int b) {
  return {static_cast<float>(r) / 255.0f, static_cast<float>(g) / 255.0f,
          static_cast<float>(b) / 255.0f};
}

Pixels MakePixels(int width, int height) {
  Pixels p;
  p.width = width;
  p.height = height;
  p.rgba.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4,
                0.0f);
  return p;
}

void BlendOver(Pixels &dst, int x, int y, Rgb c, float a) {
  if (x < 0 || y < 0 || x >= dst.width || y >= dst.height || a <= 0.0f)
    return;
  a = std::min(a, 1.0f);
  float *p = &dst.rgba[(static_cast<size_t>(y) * dst.width + x) * 4];
  p[0] = Clamp01(c.r) * a + p[0] * (1 - a);
  p[1] = Clamp01(c.g) * a + p[1] * (1 - a);
  p[2] = Clamp01(c.b) * a + p[2] * (1 - a);
  p[3] = a + p[3] * (1 - a);
}

void DrawOver(Pixels &dst, const Pixels &src, int dx, int dy) {
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      const int tx = x + dx, ty = y + dy;
      if (tx < 0 || ty < 0 || tx >= dst.width || ty >= dst.height)
        continue;
      const float *s = &src.rgba[(static_cast<size_t>(y) * src.width + x) * 4];
      float *d = &dst.rgba[(static_cast<size_t>(ty) * dst.width + tx) * 4];
      const float k = 1.0f - s[3];
      for (int c = 0; c < 4; ++c)
        d[c] = s[c] + d[c] * k;
    }
}

void Copy(Pixels &dst, const Pixels &src, int dx, int dy) {
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      const int tx = x + dx, ty = y + dy;
      if (tx < 0 || ty < 0 || tx >= dst.width || ty >= dst.height)
        continue;
      const float *s = &src.rgba[(static_cast<size_t>(y) * src.width + x) * 4];
      float *d = &dst.rgba[(static_cast<size_t>(ty) * dst.width + tx) * 4];
      std::copy(s, s + 4, d);
    }
}

Pixels Crop(const Pixels &src, int x, int y, int width, int height) {
  Pixels out = MakePixels(width, height);
  Copy(out, src, -x, -y);
  return out;
}

Pixels Halve(const Pixels &src) {
  Pixels out = MakePixels(src.width / 2, src.height / 2);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      for (int c = 0; c < 4; ++c) {
        float sum = 0;
        for (int k = 0; k < 4; ++k) {
          const int sx = 2 * x + (k & 1), sy = 2 * y + (k >> 1);
          sum += src.rgba[(static_cast<size_t>(sy) * src.width + sx) * 4 + c];
        }
        out.rgba[(static_cast<size_t>(y) * out.width + x) * 4 + c] = sum / 4;
      }
  return out;
}

Pixels Strip(const std::vector<Pixels> &frames) {
  int width = 0, height = 0;
  for (const Pixels &f : frames) {
    width += f.width;
    height = std::max(height, f.height);
  }
  Pixels out = MakePixels(width, height);
  int x = 0;
  for (const Pixels &f : frames) {
    Copy(out, f, x, 0);
    x += f.width;
  }
  return out;
}

cairo_surface_t *ToCairo(const Pixels &src) {
  cairo_surface_t *s =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, src.width, src.height);
  cairo_surface_flush(s);
  unsigned char *data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < src.height; ++y)
    for (int x = 0; x < src.width; ++x) {
      const float *p = &src.rgba[(static_cast<size_t>(y) * src.width + x) * 4];
      uint32_t v = 0;
      const int shifts[4] = {16, 8, 0, 24};
      for (int c = 0; c < 4; ++c)
        v |= static_cast<uint32_t>(std::lround(Clamp01(p[c]) * 255.0f))
             << shifts[c];
      *reinterpret_cast<uint32_t *>(data + y * stride + x * 4) = v;
    }
  cairo_surface_mark_dirty(s);
  return s;
}

Pixels FromCairo(cairo_surface_t *surface) {
  cairo_surface_flush(surface);
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  const unsigned char *data = cairo_image_surface_get_data(surface);
  Pixels out = MakePixels(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t v =
          *reinterpret_cast<const uint32_t *>(data + y * stride + x * 4);
      float *p = &out.rgba[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = static_cast<float>((v >> 16) & 0xFF) / 255.0f;
      p[1] = static_cast<float>((v >> 8) & 0xFF) / 255.0f;
      p[2] = static_cast<float>(v & 0xFF) / 255.0f;
      p[3] = static_cast<float>(v >> 24) / 255.0f;
    }
  return out;
}

std::vector<uint8_t> EncodePng(const Pixels &src) {
  std::vector<uint8_t> rows(static_cast<size_t>(src.width) * src.height * 4);
  for (size_t i = 0; i < static_cast<size_t>(src.width) * src.height; ++i) {
    const float *p = &src.rgba[i * 4];
    const float a = Clamp01(p[3]);
    const long a8 = std::lround(a * 255.0f);
    for (int c = 0; c < 3; ++c) {
      // Back to straight colour; fully transparent pixels store black.
      const float v = a8 > 0 ? Clamp01(p[c] / a) : 0.0f;
      rows[i * 4 + c] = static_cast<uint8_t>(std::lround(v * 255.0f));
    }
    rows[i * 4 + 3] = static_cast<uint8_t>(a8);
  }
  // Adaptive filters, libpng's own memory level: how the tiles were
  // always packed, so the archive keeps its bytes.
  return common::EncodePng(rows.data(), src.width, src.height, true,
                           common::PngSettings{});
}

bool WritePng(const std::string &path, const Pixels &src) {
  const std::vector<uint8_t> bytes = EncodePng(src);
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f)
    return false;
  const bool ok = !bytes.empty() &&
                  std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  uint32_t h = 0x9E3779B9u;
  for (uint32_t v : {a, b, c, d}) {
    h ^= v + 0x7F4A7C15u + (h << 6) + (h >> 2);
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
    h *= 0xC2B2AE35u;
    h ^= h >> 16;
  }
  return h;
}

float Hash01(uint32_t a, uint32_t b, uint32_t c, uint32_t d) {
  return static_cast<float>(Hash(a, b, c, d) & 0xFFFFFF) / 16777216.0f;
}

float ValueNoise(float x, float y, int period, uint32_t seed) {
  const int cells = 96 / period;
  const float fx = x / static_cast<float>(period),
              fy = y / static_cast<float>(period);
  const float ix = std::floor(fx), iy = std::floor(fy);
  const float tx = fx - ix, ty = fy - iy;
  const auto wrap = [cells](float v) {
    const int i = static_cast<int>(v) % cells;
    return static_cast<uint32_t>(i < 0 ? i + cells : i);
  };
  const auto at = [&](float cx, float cy) {
    return Hash01(wrap(cx), wrap(cy), seed, static_cast<uint32_t>(period));
  };
  const float sx = tx * tx * (3 - 2 * tx), sy = ty * ty * (3 - 2 * ty);
  const float top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * sx;
  const float bottom =
      at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * sx;
  return top + (bottom - top) * sy;
}

float Fbm(float x, float y, int period, uint32_t seed) {
  float sum = 0, weight = 0, amp = 1;
  for (int octave = 0; octave < 3 && period >= 2; ++octave) {
    sum += ValueNoise(x, y, period, seed + static_cast<uint32_t>(octave)) * amp;
    weight += amp;
    amp *= 0.5f;
    period /= 2;
  }
  return sum / weight;
}

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

float SmoothStep(float edge0, float edge1, float v) {
  const float t = Clamp01((v - edge0) / (edge1 - edge0));
  return t * t * (3 - 2 * t);
}

} // namespace forge
