// png.cpp — fuzz target: PNG decoding on arbitrary bytes. Chunk checksums
// are put right first, so that the search gets past them into the image
// data, the filters and the fallback to libpng.
#include "platform/pictures.h"
#include "platform/png_fast.h"

#include <cstdint>
#include <cstring>
#include <vector>
#include <zlib.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<uint8_t> png(data, data + size);
  size_t pos = 8;
  while (png.size() >= pos + 12) {
    const uint32_t length = uint32_t(png[pos]) << 24 | png[pos + 1] << 16 |
                            png[pos + 2] << 8 | png[pos + 3];
    if (length > png.size() - pos - 12)
      break;
    const uint32_t crc = static_cast<uint32_t>(
        crc32(0, png.data() + pos + 4, static_cast<uInt>(length + 4)));
    uint8_t *at = png.data() + pos + 8 + length;
    at[0] = uint8_t(crc >> 24);
    at[1] = uint8_t(crc >> 16);
    at[2] = uint8_t(crc >> 8);
    at[3] = uint8_t(crc);
    pos += size_t(length) + 12;
  }
  plat::Picture pic;
  const bool decoded = plat::DecodePng(png.data(), png.size(), pic);
  if (decoded && pic.pixels.size() != size_t(pic.width) * pic.height * 4)
    __builtin_trap();
  // The check made before decoding on demand must agree on the size.
  int w = 0, h = 0;
  if (plat::detail::PngIntact(png.data(), png.size(), w, h) && decoded &&
      (w != pic.width || h != pic.height))
    __builtin_trap();
  return 0;
}
