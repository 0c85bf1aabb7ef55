// png_header.h — a PNG's size read from its header alone, without decoding
// and without any library, so the content checker can use it too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace plat {

// False when the bytes do not start like a PNG (signature, then an IHDR
// chunk of 13 bytes) or give a size of zero or above 2^31 - 1.
inline bool PngSize(const uint8_t *data, size_t size, int &width, int &height) {
  static const uint8_t kSignature[8] = {0x89, 'P',  'N',  'G',
                                        '\r', '\n', 0x1A, '\n'};
  const auto be32 = [&](size_t at) {
    return (uint32_t(data[at]) << 24) | (uint32_t(data[at + 1]) << 16) |
           (uint32_t(data[at + 2]) << 8) | data[at + 3];
  };
  if (!data || size < 8 + 25 || std::memcmp(data, kSignature, 8) != 0 ||
      be32(8) != 13 || std::memcmp(data + 12, "IHDR", 4) != 0)
    return false;
  const uint32_t w = be32(16), h = be32(20);
  if (w == 0 || h == 0 || w > 0x7fffffffu || h > 0x7fffffffu)
    return false;
  width = int(w);
  height = int(h);
  return true;
}

} // namespace plat
