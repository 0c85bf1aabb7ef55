// pictures.h — pictures in memory: PNG decoding and encoding and smooth
// resampling. Decoding can run on any thread.
#pragma once

#include "platform/png_header.h" // PngSize

#include <cstddef>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace plat {

// Allocates without clearing: picture buffers are written whole right after
// they are sized, and clearing hundreds of megabytes first costs start-up.
template <typename T> struct UninitialisedAllocator : std::allocator<T> {
  template <typename U> struct rebind {
    using other = UninitialisedAllocator<U>;
  };
  UninitialisedAllocator() = default;
  template <typename U>
  UninitialisedAllocator(const UninitialisedAllocator<U> &) noexcept {}
  template <typename U> void construct(U *p) noexcept { ::new (p) U; }
  template <typename U, typename... A> void construct(U *p, A &&...a) {
    ::new (p) U(std::forward<A>(a)...);
  }
};
using PixelBytes = std::vector<uint8_t, UninitialisedAllocator<uint8_t>>;

// Straight (not premultiplied) 8-bit BGRA pixels, row after row:
// byte order B, G, R, A — a little-endian ARGB8888 word per pixel.
struct Picture {
  int width = 0;
  int height = 0;
  PixelBytes pixels; // width * height * 4
};

// Decodes PNG bytes. Thread-safe. Refuses inputs above 10,000,000 bytes.
bool DecodePng(const uint8_t *data, size_t size, Picture &out);
// Encodes as a PNG with alpha. Thread-safe; same input gives same bytes.
bool EncodePng(const Picture &pic, std::vector<uint8_t> &out);
// Smooth resampling (area average when shrinking, bilinear when growing).
Picture ResamplePicture(const Picture &src, int w, int h);

} // namespace plat
