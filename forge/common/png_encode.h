// png_encode.h — the forge's PNG encoder: 8-bit RGB or RGBA pixels in,
// the same bytes out for the same pixels and settings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace common {

enum class PngFilters {
  Adaptive, // libpng's choice of filter for every row
  None,     // every row unfiltered
};

struct PngSettings {
  int level = 9; // zlib's compression level
  PngFilters filters = PngFilters::Adaptive;
  int memLevel = 0; // zlib's memory level; 0 keeps libpng's own (8)
};

// `pixels` holds height rows of width pixels, 4 bytes (RGBA, colour type
// 6) or 3 bytes (RGB, colour type 2) each. Empty when libpng fails.
std::vector<uint8_t> EncodePng(const uint8_t *pixels, int width, int height,
                               bool alpha, const PngSettings &settings);

} // namespace common
