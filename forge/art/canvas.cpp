// canvas.cpp — cairo surfaces and their conversion to straight RGBA.
#include "canvas.h"

#include <stdexcept>

namespace art {

Canvas::Canvas(int w, int h) : width(w), height(h) {
  surface = MakeSurface(w, h, CAIRO_FORMAT_ARGB32);
  cr = cairo_create(surface);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_GOOD);
}

Canvas::~Canvas() {
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
}

cairo_surface_t *MakeSurface(int w, int h, cairo_format_t format) {
  cairo_surface_t *s = cairo_image_surface_create(format, w, h);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS)
    throw std::runtime_error("cannot create a drawing surface");
  return s;
}

namespace {

// cairo keeps ARGB32 as native-endian 32-bit words: A in the top byte.
struct Pixel {
  uint32_t a, r, g, b;
};

Pixel ReadPixel(const unsigned char *row, int x) {
  uint32_t v = reinterpret_cast<const uint32_t *>(row)[x];
  return Pixel{v >> 24, (v >> 16) & 255, (v >> 8) & 255, v & 255};
}

uint8_t Unpremultiply(uint32_t c, uint32_t a) {
  if (a == 0)
    return 0;
  uint32_t v = (c * 255 + a / 2) / a;
  return static_cast<uint8_t>(v > 255 ? 255 : v);
}

} // namespace

Image ToImage(Canvas &canvas, bool alpha) {
  cairo_surface_flush(canvas.surface);
  Image img;
  img.width = canvas.width;
  img.height = canvas.height;
  img.alpha = alpha;
  img.rgba.resize(static_cast<size_t>(img.width) * img.height * 4);
  const unsigned char *data = cairo_image_surface_get_data(canvas.surface);
  int stride = cairo_image_surface_get_stride(canvas.surface);
  uint8_t *out = img.rgba.data();
  for (int y = 0; y < img.height; ++y) {
    const unsigned char *row = data + static_cast<size_t>(y) * stride;
    for (int x = 0; x < img.width; ++x) {
      Pixel p = ReadPixel(row, x);
      if (alpha) {
        *out++ = Unpremultiply(p.r, p.a);
        *out++ = Unpremultiply(p.g, p.a);
        *out++ = Unpremultiply(p.b, p.a);
        *out++ = static_cast<uint8_t>(p.a);
      } else {
        // An opaque picture: whatever coverage is missing reads as black.
        *out++ = static_cast<uint8_t>(p.r);
        *out++ = static_cast<uint8_t>(p.g);
        *out++ = static_cast<uint8_t>(p.b);
        *out++ = 255;
      }
    }
  }
  return img;
}

Image ToKeyedImage(Canvas &canvas) {
  Image img = ToImage(canvas, true);
  for (size_t i = 0; i < img.rgba.size(); i += 4) {
    uint8_t *p = &img.rgba[i];
    if (p[3] >= 128) {
      if (p[0] == 0 && p[1] == 0 && p[2] == 0)
        p[0] = p[1] = p[2] = 1;
    } else {
      p[0] = p[1] = p[2] = 0;
    }
    p[3] = 255;
  }
  return img;
}

} // namespace art
