// blur.cpp — separable box blur used for glows and drop shadows.
#include "blur.h"

#include "canvas.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace art {

namespace {

// One box pass over `n` samples spaced `step` apart, window 2r+1, with the
// edges treated as transparent. Integer arithmetic keeps it exact.
void BoxPass(uint8_t *data, int n, int step, int r,
             std::vector<uint32_t> &tmp) {
  tmp.assign(static_cast<size_t>(n), 0);
  uint32_t window = 2 * r + 1;
  uint32_t sum = 0;
  for (int i = 0; i <= r && i < n; ++i)
    sum += data[i * step];
  for (int i = 0; i < n; ++i) {
    tmp[static_cast<size_t>(i)] = (sum + window / 2) / window;
    int add = i + r + 1;
    int drop = i - r;
    if (add < n)
      sum += data[add * step];
    if (drop >= 0)
      sum -= data[drop * step];
  }
  for (int i = 0; i < n; ++i)
    data[i * step] = static_cast<uint8_t>(tmp[static_cast<size_t>(i)]);
}

} // namespace

void BlurSurface(cairo_surface_t *surface, double radius) {
  if (radius < 0.5)
    return;
  cairo_surface_flush(surface);
  int w = cairo_image_surface_get_width(surface);
  int h = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  int channels =
      cairo_image_surface_get_format(surface) == CAIRO_FORMAT_A8 ? 1 : 4;
  uint8_t *data = cairo_image_surface_get_data(surface);
  // Three boxes of width ~ sqrt(12 s^2 / 3 + 1) give a gaussian of s.
  int r =
      std::max(1, static_cast<int>(std::lround(
                      (std::sqrt(4.0 * radius * radius + 1.0) - 1.0) / 2.0)));
  std::vector<uint32_t> tmp;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < h; ++y)
      for (int c = 0; c < channels; ++c)
        BoxPass(data + static_cast<size_t>(y) * stride + c, w, channels, r,
                tmp);
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < channels; ++c)
        BoxPass(data + static_cast<size_t>(x) * channels + c, h, stride, r,
                tmp);
  }
  cairo_surface_mark_dirty(surface);
}

void PaintBlurred(cairo_t *cr, int w, int h, double radius, Rgba colour,
                  const std::function<void(cairo_t *)> &shape) {
  cairo_surface_t *mask = MakeSurface(w, h, CAIRO_FORMAT_A8);
  cairo_t *mc = cairo_create(mask);
  cairo_matrix_t m;
  cairo_get_matrix(cr, &m);
  cairo_set_matrix(mc, &m);
  cairo_set_source_rgba(mc, 0, 0, 0, 1);
  shape(mc);
  cairo_destroy(mc);
  BlurSurface(mask, radius);
  cairo_save(cr);
  cairo_identity_matrix(cr);
  SetColour(cr, colour);
  cairo_mask_surface(cr, mask, 0, 0);
  cairo_restore(cr);
  cairo_surface_destroy(mask);
}

} // namespace art
