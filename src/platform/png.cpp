// png.cpp — PNG decoding and encoding with libpng's simplified API, straight
// into and out of BGRA pictures. Safe on any thread: no shared state.
#include "platform/internal.h"
#include "platform/pictures.h"
#include "platform/png_fast.h"

#include <png.h>

namespace plat {

namespace {
constexpr size_t kMaxPngBytes = 10'000'000;
}

bool DecodePng(const uint8_t *data, size_t size, Picture &out) {
  out = Picture{};
  if (!data || size == 0 || size > kMaxPngBytes)
    return false;
  switch (detail::DecodePngFast(data, size, out)) {
  case detail::FastPng::Done:
    return true;
  case detail::FastPng::Failed:
    out = Picture{};
    return false;
  case detail::FastPng::NotMine:
    out = Picture{};
    break;
  }
  return detail::DecodePngWithLibpng(data, size, out);
}

bool detail::DecodePngWithLibpng(const uint8_t *data, size_t size,
                                 Picture &out) {
  out = Picture{};
  if (!data || size == 0 || size > kMaxPngBytes)
    return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, data, size))
    return false;
  int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
  if (image.width > 0x7fffffffu || image.height > 0x7fffffffu ||
      !detail::PictureSizeOk(w, h)) {
    png_image_free(&image);
    return false;
  }
  // B, G, R, A bytes: one little-endian ARGB8888 word per pixel, which is
  // what the textures take without conversion.
  image.format = PNG_FORMAT_BGRA;
  out.pixels.resize(static_cast<size_t>(w) * h * 4);
  if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr)) {
    png_image_free(&image);
    out = Picture{};
    return false;
  }
  out.width = w;
  out.height = h;
  return true;
}

bool EncodePng(const Picture &pic, std::vector<uint8_t> &out) {
  out.clear();
  if (!detail::PictureSizeOk(pic.width, pic.height) ||
      pic.pixels.size() != static_cast<size_t>(pic.width) * pic.height * 4)
    return false;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(pic.width);
  image.height = static_cast<png_uint_32>(pic.height);
  image.format = PNG_FORMAT_BGRA;
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(image, size, 0, pic.pixels.data(), 0,
                                       nullptr))
    return false;
  out.resize(size);
  if (!png_image_write_to_memory(&image, out.data(), &size, 0,
                                 pic.pixels.data(), 0, nullptr)) {
    out.clear();
    return false;
  }
  out.resize(size);
  return true;
}

} // namespace plat
