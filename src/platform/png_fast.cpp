// png_fast.cpp — a quick path for the PNG pictures the game's content is
// made of (8-bit RGB or RGBA, not interlaced): chunks checked, the image
// data inflated in one go with libdeflate, rows unfiltered straight into
// BGRA. Anything else is left to libpng. Start-up decodes some 330 MB of
// banner pixels, and inflating them is most of its time.
#include "platform/png_fast.h"
#include "platform/internal.h"
#include "platform/pictures.h"

#include <libdeflate.h>

#include <cstring>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace plat::detail {

namespace {

uint32_t Be32(const uint8_t *p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 |
         uint32_t(p[3]);
}

struct DecompressorDeleter {
  void operator()(libdeflate_decompressor *d) const {
    libdeflate_free_decompressor(d);
  }
};

uint8_t Paeth(uint8_t a, uint8_t b, uint8_t c) {
  const int p = int(a) + int(b) - int(c);
  const int pa = p > a ? p - a : a - p;
  const int pb = p > b ? p - b : b - p;
  const int pc = p > c ? p - c : c - p;
  if (pa <= pb && pa <= pc)
    return a;
  return pb <= pc ? b : c;
}

#if defined(__SSE2__)
// Four-byte pixels, one pixel at a time in 16-bit lanes: the filters that
// depend on the pixel to the left run per pixel instead of per byte.
__m128i Load4(const uint8_t *p) {
  int32_t v;
  std::memcpy(&v, p, 4);
  return _mm_unpacklo_epi8(_mm_cvtsi32_si128(v), _mm_setzero_si128());
}
void Store4(uint8_t *p, __m128i v) {
  const int32_t out = _mm_cvtsi128_si32(_mm_packus_epi16(v, v));
  std::memcpy(p, &out, 4);
}
__m128i Abs16(__m128i v) {
  return _mm_max_epi16(v, _mm_sub_epi16(_mm_setzero_si128(), v));
}

void Sub4(uint8_t *row, size_t n) {
  __m128i left = _mm_setzero_si128();
  for (size_t i = 0; i < n; i += 4) {
    left = _mm_and_si128(_mm_add_epi16(Load4(row + i), left),
                         _mm_set1_epi16(0xFF));
    Store4(row + i, left);
  }
}

void Average4(uint8_t *row, const uint8_t *prev, size_t n) {
  __m128i left = _mm_setzero_si128();
  for (size_t i = 0; i < n; i += 4) {
    const __m128i avg = _mm_srli_epi16(_mm_add_epi16(left, Load4(prev + i)), 1);
    left =
        _mm_and_si128(_mm_add_epi16(Load4(row + i), avg), _mm_set1_epi16(0xFF));
    Store4(row + i, left);
  }
}

void Paeth4(uint8_t *row, const uint8_t *prev, size_t n) {
  __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128();
  for (size_t i = 0; i < n; i += 4) {
    const __m128i b = Load4(prev + i);
    const __m128i bc = _mm_sub_epi16(b, c), ac = _mm_sub_epi16(a, c);
    const __m128i pa = Abs16(bc), pb = Abs16(ac),
                  pc = Abs16(_mm_add_epi16(bc, ac));
    const __m128i least = _mm_min_epi16(_mm_min_epi16(pa, pb), pc);
    const __m128i useA = _mm_cmpeq_epi16(least, pa);
    const __m128i useB = _mm_andnot_si128(useA, _mm_cmpeq_epi16(least, pb));
    const __m128i useC =
        _mm_andnot_si128(_mm_or_si128(useA, useB), _mm_set1_epi16(-1));
    const __m128i pred = _mm_or_si128(
        _mm_or_si128(_mm_and_si128(useA, a), _mm_and_si128(useB, b)),
        _mm_and_si128(useC, c));
    a = _mm_and_si128(_mm_add_epi16(Load4(row + i), pred),
                      _mm_set1_epi16(0xFF));
    Store4(row + i, a);
    c = b;
  }
}
#endif

// Undoes one row's filter in place; prev is the row above (zeros for the
// first). bpp is the bytes per pixel.
bool Unfilter(uint8_t type, uint8_t *row, const uint8_t *prev, size_t n,
              size_t bpp) {
  switch (type) {
  case 0:
    return true;
  case 1:
#if defined(__SSE2__)
    if (bpp == 4) {
      Sub4(row, n);
      return true;
    }
#endif
    for (size_t i = bpp; i < n; ++i)
      row[i] = uint8_t(row[i] + row[i - bpp]);
    return true;
  case 2:
    for (size_t i = 0; i < n; ++i)
      row[i] = uint8_t(row[i] + prev[i]);
    return true;
  case 3:
#if defined(__SSE2__)
    if (bpp == 4) {
      Average4(row, prev, n);
      return true;
    }
#endif
    for (size_t i = 0; i < bpp; ++i)
      row[i] = uint8_t(row[i] + (prev[i] >> 1));
    for (size_t i = bpp; i < n; ++i)
      row[i] = uint8_t(row[i] + ((int(row[i - bpp]) + int(prev[i])) >> 1));
    return true;
  case 4:
#if defined(__SSE2__)
    if (bpp == 4) {
      Paeth4(row, prev, n);
      return true;
    }
#endif
    for (size_t i = 0; i < bpp; ++i)
      row[i] = uint8_t(row[i] + prev[i]);
    for (size_t i = bpp; i < n; ++i)
      row[i] = uint8_t(row[i] + Paeth(row[i - bpp], prev[i], prev[i - bpp]));
    return true;
  default:
    return false;
  }
}

// R, G, B, A bytes to B, G, R, A.
void SwapRedBlue(const uint8_t *src, uint8_t *dst, size_t pixels) {
  for (size_t i = 0; i < pixels; ++i) {
    uint32_t v;
    std::memcpy(&v, src + i * 4, 4);
    v = (v & 0xFF00FF00u) | ((v >> 16) & 0xFFu) | ((v & 0xFFu) << 16);
    std::memcpy(dst + i * 4, &v, 4);
  }
}

} // namespace

const uint8_t kSignature[8] = {137, 80, 78, 71, 13, 10, 26, 10};

bool PngIntact(const uint8_t *data, size_t size, int &width, int &height) {
  if (!data || size < 8 + 25 || std::memcmp(data, kSignature, 8) != 0)
    return false;
  uint32_t w = 0, h = 0;
  for (size_t pos = 8; pos < size;) {
    if (size - pos < 12)
      return false;
    const uint32_t length = Be32(data + pos);
    if (length > size - pos - 12)
      return false;
    const uint8_t *type = data + pos + 4;
    if (libdeflate_crc32(0, type, size_t(length) + 4) !=
        Be32(type + 4 + length))
      return false;
    const bool first = pos == 8;
    if ((std::memcmp(type, "IHDR", 4) == 0) != first)
      return false;
    if (first) {
      if (length != 13)
        return false;
      w = Be32(type + 4);
      h = Be32(type + 8);
    }
    pos += size_t(length) + 12;
    if (std::memcmp(type, "IEND", 4) == 0) {
      if (pos != size)
        return false;
      if (w == 0 || h == 0 || w > 0x7fffffffu || h > 0x7fffffffu ||
          !PictureSizeOk(int(w), int(h)))
        return false;
      width = int(w);
      height = int(h);
      return true;
    }
  }
  return false;
}

} // namespace plat::detail

namespace plat::detail {

FastPng DecodePngFast(const uint8_t *data, size_t size, Picture &out) {
  if (size < 8 + 25 || std::memcmp(data, kSignature, 8) != 0)
    return FastPng::Failed;
  size_t pos = 8;
  uint32_t w = 0, h = 0;
  size_t bpp = 0;
  std::vector<uint8_t> compressed;
  bool header = false, end = false;
  while (!end) {
    if (size - pos < 12)
      return FastPng::Failed;
    const uint32_t length = Be32(data + pos);
    if (length > size - pos - 12)
      return FastPng::Failed;
    const uint8_t *type = data + pos + 4;
    const uint8_t *body = type + 4;
    // The checksum covers the type and the body.
    if (libdeflate_crc32(0, type, size_t(length) + 4) != Be32(body + length))
      return FastPng::Failed;
    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (header || length != 13)
        return FastPng::Failed;
      w = Be32(body);
      h = Be32(body + 4);
      const uint8_t depth = body[8], colour = body[9];
      if (body[10] != 0 || body[11] != 0 || body[12] > 1)
        return FastPng::Failed;
      if (depth != 8 || (colour != 2 && colour != 6) || body[12] != 0)
        return FastPng::NotMine;
      bpp = colour == 6 ? 4 : 3;
      header = true;
    } else if (!header) {
      return FastPng::Failed;
    } else if (std::memcmp(type, "tRNS", 4) == 0 ||
               std::memcmp(type, "PLTE", 4) == 0 ||
               std::memcmp(type, "gAMA", 4) == 0 ||
               std::memcmp(type, "cHRM", 4) == 0 ||
               std::memcmp(type, "iCCP", 4) == 0) {
      // A transparent colour or a colour space to convert from: libpng's
      // business.
      return FastPng::NotMine;
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      compressed.insert(compressed.end(), body, body + length);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      end = true;
    } else if (!(type[0] & 0x20)) {
      return FastPng::NotMine; // an unknown chunk the reader must not skip
    }
    pos += size_t(length) + 12;
  }
  if (!header || w == 0 || h == 0 || w > 0x7fffffffu || h > 0x7fffffffu ||
      !PictureSizeOk(int(w), int(h)))
    return FastPng::Failed;

  const size_t stride = size_t(w) * bpp;
  const size_t filtered = (stride + 1) * h;
  PixelBytes raw(filtered);
  static thread_local std::unique_ptr<libdeflate_decompressor,
                                      DecompressorDeleter>
      decompressor(libdeflate_alloc_decompressor());
  if (!decompressor)
    return FastPng::Failed;
  size_t produced = 0;
  if (libdeflate_zlib_decompress(decompressor.get(), compressed.data(),
                                 compressed.size(), raw.data(), filtered,
                                 &produced) != LIBDEFLATE_SUCCESS ||
      produced != filtered)
    return FastPng::Failed;

  out.pixels.resize(size_t(w) * h * 4);
  std::vector<uint8_t> zero(stride, 0);
  const uint8_t *prev = zero.data();
  for (uint32_t y = 0; y < h; ++y) {
    uint8_t *row = raw.data() + size_t(y) * (stride + 1);
    if (!Unfilter(row[0], row + 1, prev, stride, bpp)) {
      out = Picture{};
      return FastPng::Failed;
    }
    const uint8_t *src = row + 1;
    uint8_t *dst = out.pixels.data() + size_t(y) * w * 4;
    if (bpp == 4) {
      SwapRedBlue(src, dst, w);
    } else {
      for (uint32_t x = 0; x < w; ++x, src += 3, dst += 4) {
        dst[0] = src[2];
        dst[1] = src[1];
        dst[2] = src[0];
        dst[3] = 255;
      }
    }
    prev = row + 1;
  }
  out.width = int(w);
  out.height = int(h);
  return FastPng::Done;
}

} // namespace plat::detail
