// png_writer.h — deterministic PNG encoding: same pixels, same bytes.
#pragma once

#include "canvas.h"

#include <cstdint>
#include <string>
#include <vector>

namespace art {

// RGBA (colour type 6) when img.alpha, else RGB (colour type 2).
std::vector<uint8_t> EncodePng(const Image &img);

// Writes the encoded picture; throws on I/O failure.
void WritePng(const std::string &path, const Image &img);

} // namespace art
