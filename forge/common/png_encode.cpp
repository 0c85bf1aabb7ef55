// png_encode.cpp — libpng encoding into memory with fixed settings.
#include "common/png_encode.h"

#include <png.h>

namespace common {

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto *out = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// libpng reports errors by longjmp; nothing with a destructor lives in this
// frame, the rows are prepared by the caller.
bool Encode(const std::vector<png_bytep> &rows, int width, int height,
            bool alpha, const PngSettings &settings,
            std::vector<uint8_t> *out) {
  png_structp png =
      png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (!png)
    return false;
  png_infop info = png_create_info_struct(png);
  if (!info || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, AppendBytes, NoFlush);
  png_set_compression_level(png, settings.level);
  if (settings.memLevel > 0)
    png_set_compression_mem_level(png, settings.memLevel);
  // Left unset, libpng filters 8-bit colour rows adaptively.
  if (settings.filters == PngFilters::None)
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width),
               static_cast<png_uint_32>(height), 8,
               alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
               PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

} // namespace

std::vector<uint8_t> EncodePng(const uint8_t *pixels, int width, int height,
                               bool alpha, const PngSettings &settings) {
  const size_t rowBytes = static_cast<size_t>(width) * (alpha ? 4 : 3);
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y)
    rows[static_cast<size_t>(y)] =
        const_cast<png_bytep>(pixels + rowBytes * static_cast<size_t>(y));
  std::vector<uint8_t> out;
  if (!Encode(rows, width, height, alpha, settings, &out))
    out.clear();
  return out;
}

} // namespace common
