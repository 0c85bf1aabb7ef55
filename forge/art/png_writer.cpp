// png_writer.cpp — the pictures' PNG files, through the forge's encoder.
#include "png_writer.h"

#include "common/png_encode.h"

#include <cstdio>
#include <stdexcept>

namespace art {

std::vector<uint8_t> EncodePng(const Image &img) {
  // RGB pictures drop the alpha byte of every pixel first.
  std::vector<uint8_t> packed;
  const uint8_t *base = img.rgba.data();
  if (!img.alpha) {
    packed.resize(static_cast<size_t>(img.width) * img.height * 3);
    for (size_t i = 0, j = 0; i < img.rgba.size(); i += 4, j += 3) {
      packed[j] = img.rgba[i];
      packed[j + 1] = img.rgba[i + 1];
      packed[j + 2] = img.rgba[i + 2];
    }
    base = packed.data();
  }
  // Flat areas with soft edges (banners, sprites) pack best unfiltered;
  // gradients (title scenes) pack best with per-row filters. A quick trial
  // of both picks the filtering for the final, thorough pass; the choice
  // depends only on the pixels.
  common::PngSettings quick{2, common::PngFilters::None, 9};
  const std::vector<uint8_t> plain =
      common::EncodePng(base, img.width, img.height, img.alpha, quick);
  quick.filters = common::PngFilters::Adaptive;
  const std::vector<uint8_t> filtered =
      common::EncodePng(base, img.width, img.height, img.alpha, quick);
  if (plain.empty() || filtered.empty())
    throw std::runtime_error("PNG encoding failed");
  const common::PngSettings thorough{9,
                                     plain.size() <= filtered.size()
                                         ? common::PngFilters::None
                                         : common::PngFilters::Adaptive,
                                     9};
  std::vector<uint8_t> out =
      common::EncodePng(base, img.width, img.height, img.alpha, thorough);
  if (out.empty())
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
