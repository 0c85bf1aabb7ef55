// pixels.cpp — premultiplying and un-premultiplying BGRA pixels, and the
// picture size limit.
#include "platform/internal.h"

namespace plat::detail {

bool PictureSizeOk(int w, int h) {
  if (w <= 0 || h <= 0)
    return false;
  return static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * 4 <=
         kMaxPictureBytes;
}

void Premultiply(const uint8_t *src, uint8_t *dst, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i, src += 4, dst += 4) {
    unsigned a = src[3];
    if (a == 255) {
      dst[0] = src[0], dst[1] = src[1], dst[2] = src[2], dst[3] = 255;
    } else {
      dst[0] = static_cast<uint8_t>((src[0] * a + 127) / 255);
      dst[1] = static_cast<uint8_t>((src[1] * a + 127) / 255);
      dst[2] = static_cast<uint8_t>((src[2] * a + 127) / 255);
      dst[3] = static_cast<uint8_t>(a);
    }
  }
}

void Unpremultiply(const uint8_t *src, uint8_t *dst, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i, src += 4, dst += 4) {
    unsigned a = src[3];
    if (a == 255) {
      dst[0] = src[0], dst[1] = src[1], dst[2] = src[2], dst[3] = 255;
    } else if (a == 0) {
      dst[0] = dst[1] = dst[2] = dst[3] = 0;
    } else {
      for (int c = 0; c < 3; ++c) {
        unsigned v = (src[c] * 255u + a / 2) / a;
        dst[c] = static_cast<uint8_t>(v > 255 ? 255 : v);
      }
      dst[3] = static_cast<uint8_t>(a);
    }
  }
}

} // namespace plat::detail
