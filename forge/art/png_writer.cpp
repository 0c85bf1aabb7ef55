// png_writer.cpp — libpng encoding into memory with fixed settings.
#include "png_writer.h"

#include <png.h>

#include <cstdio>
#include <stdexcept>

namespace art {

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto *out = static_cast<std::vector<uint8_t> *>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

// libpng reports errors by longjmp; nothing with a destructor lives in this
// frame, the rows are prepared by the caller.
bool Encode(const Image &img, const std::vector<png_bytep> &rows, int filters,
            int level, std::vector<uint8_t> *out) {
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
  png_set_compression_level(png, level);
  png_set_compression_mem_level(png, 9);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, filters);
  png_set_IHDR(png, info, img.width, img.height, 8,
               img.alpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_BASE,
               PNG_FILTER_TYPE_BASE);
  png_write_info(png, info);
  png_write_image(png, const_cast<png_bytepp>(rows.data()));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

} // namespace

std::vector<uint8_t> EncodePng(const Image &img) {
  // RGB pictures drop the alpha byte of every pixel first.
  std::vector<uint8_t> packed;
  const uint8_t *base = img.rgba.data();
  size_t rowBytes = static_cast<size_t>(img.width) * 4;
  if (!img.alpha) {
    packed.resize(static_cast<size_t>(img.width) * img.height * 3);
    for (size_t i = 0, j = 0; i < img.rgba.size(); i += 4, j += 3) {
      packed[j] = img.rgba[i];
      packed[j + 1] = img.rgba[i + 1];
      packed[j + 2] = img.rgba[i + 2];
    }
    base = packed.data();
    rowBytes = static_cast<size_t>(img.width) * 3;
  }
  std::vector<png_bytep> rows(static_cast<size_t>(img.height));
  for (int y = 0; y < img.height; ++y)
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(base + rowBytes * y);
  // Flat areas with soft edges (banners, sprites) pack best unfiltered;
  // gradients (title scenes) pack best with per-row filters. A quick trial
  // of both picks the filtering for the final, thorough pass; the choice
  // depends only on the pixels.
  std::vector<uint8_t> plain, filtered, out;
  if (!Encode(img, rows, PNG_FILTER_NONE, 2, &plain) ||
      !Encode(img, rows, PNG_ALL_FILTERS, 2, &filtered))
    throw std::runtime_error("PNG encoding failed");
  int filters =
      plain.size() <= filtered.size() ? PNG_FILTER_NONE : PNG_ALL_FILTERS;
  if (!Encode(img, rows, filters, 9, &out))
    throw std::runtime_error("PNG encoding failed");
  return out;
}

void WritePng(const std::string &path, const Image &img) {
  std::vector<uint8_t> bytes = EncodePng(img);
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f)
    throw std::runtime_error("cannot write " + path);
  size_t written = std::fwrite(bytes.data(), 1, bytes.size(), f);
  bool ok = written == bytes.size() && std::fclose(f) == 0;
  if (!ok)
    throw std::runtime_error("cannot write " + path);
}

} // namespace art
