// png_read.h — decodes PNG bytes or files for the forge's tests.
#pragma once

#include <png.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace art_test {

struct Decoded {
  bool ok = false;
  int width = 0, height = 0;
  std::vector<uint8_t> rgba; // straight RGBA
  uint8_t At(int x, int y, int c) const {
    return rgba[(static_cast<size_t>(y) * width + x) * 4 + c];
  }
};

inline std::vector<uint8_t> ReadFile(const std::string &path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

inline Decoded DecodePng(const std::vector<uint8_t> &bytes) {
  Decoded d;
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size())) {
    image.format = PNG_FORMAT_RGBA;
    d.width = static_cast<int>(image.width);
    d.height = static_cast<int>(image.height);
    d.rgba.resize(PNG_IMAGE_SIZE(image));
    d.ok = png_image_finish_read(&image, nullptr, d.rgba.data(), 0, nullptr);
  }
  png_image_free(&image);
  return d;
}

} // namespace art_test
