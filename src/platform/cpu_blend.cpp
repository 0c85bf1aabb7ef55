// cpu_blend.cpp — large pictures blended at an intensity below full (the
// title fading in over the studio logo and out over the menu) and large
// rectangles blended in one colour (the veil that dims the screen behind a
// dialog), done on the CPU with the software renderer's own arithmetic.
// The renderer takes a per-pixel path for those, several times slower than
// a plain copy; here the pixels under them are read back a band of rows at
// a time, blended (with the picture's pixels, read where its texture keeps
// them) and put back with a plain copy: the same pixels, byte for byte.
#include "platform/internal.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace plat::detail {

namespace {

// Smaller copies cost little either way.
constexpr int64_t kMinPixels = 256 * 256;
// Rows read back, blended and copied back at a time: a band stays in the
// cache from one step to the next.
constexpr int kBandRows = 32;

// floor(x / 255) for 0 <= x <= 255 * 255, as the renderer rounds.
inline unsigned Div255(unsigned x) { return (x + 1 + (x >> 8)) >> 8; }

// One pixel as the software renderer blends a straight-alpha ARGB source
// with an alpha modulation onto the screen: the source alpha scaled by the
// modulation, the colour by that alpha, the screen by its complement, each
// product rounded down; the top byte ends 0.
inline uint32_t BlendPixel(uint32_t s, uint32_t d, unsigned mod) {
  const unsigned a = Div255((s >> 24) * mod);
  uint32_t out = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    const unsigned sc = (s >> shift) & 255, dc = (d >> shift) & 255;
    out |= (Div255(sc * a) + Div255((255 - a) * dc)) << shift;
  }
  return out;
}

#if defined(__SSE2__)
// floor(x / 255) in each 16-bit lane, for 0 <= x <= 255 * 255.
inline __m128i Div255(__m128i x) {
  return _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(short(0x8081))), 7);
}

// Two pixels, widened to 16 bits a channel, with their alphas scaled by
// the modulation in all four lanes of each.
inline __m128i Blend2(__m128i s, __m128i d, __m128i a) {
  const __m128i inverse = _mm_sub_epi16(_mm_set1_epi16(255), a);
  return _mm_add_epi16(Div255(_mm_mullo_epi16(s, a)),
                       Div255(_mm_mullo_epi16(d, inverse)));
}

inline __m128i ScaledAlpha(__m128i s, __m128i mod) {
  __m128i alpha = _mm_shufflelo_epi16(s, _MM_SHUFFLE(3, 3, 3, 3));
  alpha = _mm_shufflehi_epi16(alpha, _MM_SHUFFLE(3, 3, 3, 3));
  return Div255(_mm_mullo_epi16(alpha, mod));
}
#endif

#if defined(__x86_64__)
// The same arithmetic eight pixels at a time, where the processor has the
// wider instructions (checked once); each gives the pixels done.
#define WIDE __attribute__((target("avx2"), always_inline)) inline
WIDE __m256i Div255x16(__m256i x) {
  return _mm256_srli_epi16(
      _mm256_mulhi_epu16(x, _mm256_set1_epi16(short(0x8081))), 7);
}

WIDE __m256i ScaledAlpha8(__m256i s, __m256i mod) {
  __m256i a = _mm256_shufflelo_epi16(s, _MM_SHUFFLE(3, 3, 3, 3));
  a = _mm256_shufflehi_epi16(a, _MM_SHUFFLE(3, 3, 3, 3));
  return Div255x16(_mm256_mullo_epi16(a, mod));
}

WIDE __m256i Blend4(__m256i s, __m256i d, __m256i a) {
  const __m256i inverse = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
  return _mm256_add_epi16(Div255x16(_mm256_mullo_epi16(s, a)),
                          Div255x16(_mm256_mullo_epi16(d, inverse)));
}
#undef WIDE

__attribute__((target("avx2"))) int
BlendRowWide(const uint8_t *src, uint8_t *dst, int count, unsigned mod) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i m = _mm256_set1_epi16(static_cast<short>(mod));
  const __m256i rgb = _mm256_set1_epi32(0x00FFFFFF);
  const __m256i alphas = _mm256_set1_epi32(int(0xFF000000));
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    const __m256i s =
        _mm256_loadu_si256(reinterpret_cast<const __m256i *>(src + 4 * i));
    __m256i *to = reinterpret_cast<__m256i *>(dst + 4 * i);
    const __m256i d = _mm256_loadu_si256(to);
    // Unpacking and packing work within each half: their order undoes.
    const __m256i sLo = _mm256_unpacklo_epi8(s, zero);
    const __m256i sHi = _mm256_unpackhi_epi8(s, zero);
    const bool opaque = _mm256_movemask_epi8(_mm256_cmpeq_epi32(
                            _mm256_and_si256(s, alphas), alphas)) == -1;
    const __m256i aLo = opaque ? m : ScaledAlpha8(sLo, m);
    const __m256i aHi = opaque ? m : ScaledAlpha8(sHi, m);
    const __m256i lo = Blend4(sLo, _mm256_unpacklo_epi8(d, zero), aLo);
    const __m256i hi = Blend4(sHi, _mm256_unpackhi_epi8(d, zero), aHi);
    _mm256_storeu_si256(to, _mm256_and_si256(_mm256_packus_epi16(lo, hi), rgb));
  }
  return i;
}

__attribute__((target("avx2"))) int
FillRowWide(uint8_t *dst, int count, const unsigned over[3], unsigned inverse) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i inv = _mm256_set1_epi16(static_cast<short>(inverse));
  const __m256i add = _mm256_set_epi16(
      0, short(over[2]), short(over[1]), short(over[0]), 0, short(over[2]),
      short(over[1]), short(over[0]), 0, short(over[2]), short(over[1]),
      short(over[0]), 0, short(over[2]), short(over[1]), short(over[0]));
  const __m256i rgb = _mm256_set1_epi32(0x00FFFFFF);
  int i = 0;
  for (; i + 8 <= count; i += 8) {
    __m256i *to = reinterpret_cast<__m256i *>(dst + 4 * i);
    const __m256i d = _mm256_loadu_si256(to);
    const __m256i lo = _mm256_add_epi16(
        Div255x16(_mm256_mullo_epi16(_mm256_unpacklo_epi8(d, zero), inv)), add);
    const __m256i hi = _mm256_add_epi16(
        Div255x16(_mm256_mullo_epi16(_mm256_unpackhi_epi8(d, zero), inv)), add);
    _mm256_storeu_si256(to, _mm256_and_si256(_mm256_packus_epi16(lo, hi), rgb));
  }
  return i;
}

bool Wide() {
  static const bool wide = __builtin_cpu_supports("avx2");
  return wide;
}
#endif

// dst = src blended over dst, `count` pixels of four bytes.
void BlendRow(const uint8_t *src, uint8_t *dst, int count, unsigned mod) {
  int i = 0;
#if defined(__x86_64__)
  if (Wide())
    i = BlendRowWide(src, dst, count, mod);
#endif
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i m = _mm_set1_epi16(static_cast<short>(mod));
  const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
  const __m128i alphas = _mm_set1_epi32(int(0xFF000000));
  for (; i + 4 <= count; i += 4) {
    const __m128i s =
        _mm_loadu_si128(reinterpret_cast<const __m128i *>(src + 4 * i));
    __m128i *to = reinterpret_cast<__m128i *>(dst + 4 * i);
    const __m128i d = _mm_loadu_si128(to);
    const __m128i sLo = _mm_unpacklo_epi8(s, zero);
    const __m128i sHi = _mm_unpackhi_epi8(s, zero);
    // Four opaque pixels (the usual case) all take the modulation itself.
    const bool opaque =
        _mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(s, alphas), alphas)) ==
        0xFFFF;
    const __m128i aLo = opaque ? m : ScaledAlpha(sLo, m);
    const __m128i aHi = opaque ? m : ScaledAlpha(sHi, m);
    const __m128i lo = Blend2(sLo, _mm_unpacklo_epi8(d, zero), aLo);
    const __m128i hi = Blend2(sHi, _mm_unpackhi_epi8(d, zero), aHi);
    _mm_storeu_si128(to, _mm_and_si128(_mm_packus_epi16(lo, hi), rgb));
  }
#endif
  for (; i < count; ++i) {
    uint32_t s = 0, d = 0;
    std::memcpy(&s, src + 4 * i, 4);
    std::memcpy(&d, dst + 4 * i, 4);
    d = BlendPixel(s, d, mod);
    std::memcpy(dst + 4 * i, &d, 4);
  }
}

// dst = a colour blended over dst, `count` pixels of four bytes: each
// channel the screen's scaled by the colour's inverse alpha, rounded down,
// plus the colour's own, already scaled by its alpha (`over`, in the
// pixel's byte order); the top byte ends 0.
void FillRow(uint8_t *dst, int count, const unsigned over[3],
             unsigned inverse) {
  int i = 0;
#if defined(__x86_64__)
  if (Wide())
    i = FillRowWide(dst, count, over, inverse);
#endif
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  const __m128i inv = _mm_set1_epi16(static_cast<short>(inverse));
  const __m128i add =
      _mm_set_epi16(0, short(over[2]), short(over[1]), short(over[0]), 0,
                    short(over[2]), short(over[1]), short(over[0]));
  const __m128i rgb = _mm_set1_epi32(0x00FFFFFF);
  for (; i + 4 <= count; i += 4) {
    __m128i *to = reinterpret_cast<__m128i *>(dst + 4 * i);
    const __m128i d = _mm_loadu_si128(to);
    const __m128i lo = _mm_add_epi16(
        Div255(_mm_mullo_epi16(_mm_unpacklo_epi8(d, zero), inv)), add);
    const __m128i hi = _mm_add_epi16(
        Div255(_mm_mullo_epi16(_mm_unpackhi_epi8(d, zero), inv)), add);
    _mm_storeu_si128(to, _mm_and_si128(_mm_packus_epi16(lo, hi), rgb));
  }
#endif
  for (; i < count; ++i) {
    uint8_t *p = dst + 4 * i;
    for (int c = 0; c < 3; ++c)
      p[c] = static_cast<uint8_t>(Div255(inverse * p[c]) + over[c]);
    p[3] = 0;
  }
}

// The window's surface, when the software renderer draws straight into it
// (the screen, not a target) at the frame's size: its pixels can be worked
// on where they lie once the drawing so far is done.
SDL_Surface *ScreenSurface(SDL_Renderer *r) {
  const DisplayState &d = State().display;
  if (SDL_GetRenderTarget(r) || !d.window)
    return nullptr;
  SDL_Surface *screen = SDL_GetWindowSurface(d.window.get());
  if (!screen || !screen->pixels || screen->w != d.width ||
      screen->h != d.height ||
      screen->format->format != SDL_PIXELFORMAT_RGB888 ||
      SDL_RenderFlush(r) != 0)
    return nullptr;
  return screen;
}

// Lets `change` (the first row, the rows, pixels and pitch) work on the
// rectangle `on` of what is drawn into: on the screen's own pixels, else
// read back a band of rows at a time and copied back with a plain copy.
// Gives the rows done: fewer than on.h after a failure.
template <typename Change>
int ThroughBands(SDL_Renderer *r, const SDL_Rect &on, Change change) {
  if (SDL_Surface *screen = ScreenSurface(r)) {
    if (SDL_LockSurface(screen) == 0) {
      change(0, on.h,
             static_cast<uint8_t *>(screen->pixels) +
                 size_t(on.y) * size_t(screen->pitch) + size_t(on.x) * 4,
             screen->pitch);
      SDL_UnlockSurface(screen);
      return on.h;
    }
  }
  PlatformState &st = State();
  TexturePtr &band = st.display.blendBand;
  if (!band) {
    band.reset(SDL_CreateTexture(r, SDL_PIXELFORMAT_RGB888,
                                 SDL_TEXTUREACCESS_STREAMING, st.display.width,
                                 kBandRows));
    if (!band)
      return 0;
    SDL_SetTextureBlendMode(band.get(), SDL_BLENDMODE_NONE);
  }
  int bandWidth = 0;
  if (SDL_QueryTexture(band.get(), nullptr, nullptr, &bandWidth, nullptr) !=
          0 ||
      on.w > bandWidth)
    return 0;
  int y0 = 0;
  for (; y0 < on.h; y0 += kBandRows) {
    const int rows = std::min(kBandRows, on.h - y0);
    const SDL_Rect part{0, 0, on.w, rows};
    const SDL_Rect place{on.x, on.y + y0, on.w, rows};
    void *out = nullptr;
    int pitch = 0;
    // Locking waits for the band's last copy to the screen; reading back,
    // for all the drawing so far.
    if (SDL_LockTexture(band.get(), &part, &out, &pitch) != 0)
      break;
    const bool read = SDL_RenderReadPixels(r, &place, SDL_PIXELFORMAT_RGB888,
                                           out, pitch) == 0;
    if (read)
      change(y0, rows, static_cast<uint8_t *>(out), pitch);
    SDL_UnlockTexture(band.get());
    if (!read || SDL_RenderCopy(r, band.get(), &part, &place) != 0)
      break;
  }
  return y0;
}

} // namespace

bool BlendOnCpu(const Sprite &s, SDL_Rect src, SDL_Rect dst, int intensity) {
  PlatformState &st = State();
  SDL_Renderer *r = st.display.renderer.get();
  SDL_Texture *picture = s.texture.get();
  int access = 0;
  // At full intensity the renderer takes a quicker path with arithmetic
  // of its own.
  if (!st.shortcuts || !picture || intensity <= 0 || intensity >= 255 ||
      !PlainScreen(r) ||
      SDL_QueryTexture(picture, nullptr, &access, nullptr, nullptr) != 0 ||
      access != SDL_TEXTUREACCESS_STREAMING)
    return false;
  const SDL_Rect screen{0, 0, st.display.width, st.display.height};
  SDL_Rect on{};
  if (!SDL_IntersectRect(&dst, &screen, &on))
    return true; // nothing to draw
  if (int64_t(on.w) * on.h < kMinPixels)
    return false;
  src.x += on.x - dst.x;
  src.y += on.y - dst.y;
  src.w = on.w;
  src.h = on.h;
  void *from = nullptr;
  int fromPitch = 0;
  if (SDL_LockTexture(picture, &src, &from, &fromPitch) != 0)
    return false;
  const int y0 =
      ThroughBands(r, on, [&](int first, int rows, uint8_t *out, int pitch) {
        for (int y = 0; y < rows; ++y)
          BlendRow(static_cast<const uint8_t *>(from) +
                       size_t(first + y) * size_t(fromPitch),
                   out + size_t(y) * size_t(pitch), on.w, unsigned(intensity));
      });
  SDL_UnlockTexture(picture);
  if (y0 == 0)
    return false; // nothing shown yet: the renderer draws it all
  if (y0 < on.h)
    ReportFailure("blending on the CPU");
  return true;
}

bool FillOnCpu(const SDL_Rect &dst, Colour c) {
  PlatformState &st = State();
  SDL_Renderer *r = st.display.renderer.get();
  int w = 0, h = 0;
  if (!st.shortcuts || c.a == 0 || !PlainTarget(r) ||
      SDL_GetRendererOutputSize(r, &w, &h) != 0)
    return false;
  const SDL_Rect all{0, 0, w, h};
  SDL_Rect on{};
  if (!SDL_IntersectRect(&dst, &all, &on))
    return true; // nothing to draw
  if (int64_t(on.w) * on.h < kMinPixels)
    return false;
  if (c.a == 255) {
    // The renderer blends an opaque colour pixel by pixel too, to give the
    // colour itself: what a plain fill gives at a fraction of the cost.
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
    return SDL_RenderFillRect(r, &on) == 0;
  }
  // The colour scaled by its alpha once, as the renderer does, in the
  // pixel's byte order (blue, green, red).
  const unsigned over[3] = {c.b * c.a / 255u, c.g * c.a / 255u,
                            c.r * c.a / 255u};
  const unsigned inverse = 255u - c.a;
  const int done =
      ThroughBands(r, on, [&](int, int rows, uint8_t *out, int pitch) {
        for (int y = 0; y < rows; ++y)
          FillRow(out + size_t(y) * size_t(pitch), on.w, over, inverse);
      });
  if (done == 0)
    return false; // nothing shown yet: the renderer draws it all
  if (done < on.h)
    ReportFailure("blending on the CPU");
  return true;
}

} // namespace plat::detail
