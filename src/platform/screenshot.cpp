// screenshot.cpp — grabbing part of the frame drawn so far into a sprite
// (in frame pixels, however the screen is stretched), and writing a sprite
// as a 24-bit BMP file.
#include "platform/screenshot.h"
#include "platform/core.h"
#include "platform/files.h"
#include "platform/internal.h"
#include "platform/pictures.h"
#include "platform/sprites.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace plat {

using detail::State;

namespace {

// Where SDL stretches the frame to an output of another size (a scaled
// desktop, a full-screen mode that was not set exactly): the frame's place
// on the output in real pixels, and output pixels per frame pixel.
struct Stretch {
  SDL_Rect area{};
  float scaleX = 1, scaleY = 1;
};

// False when the renderer draws the frame pixel for pixel.
bool FindStretch(SDL_Renderer *r, int w, int h, Stretch &s) {
  if (SDL_GetRenderTarget(r))
    return false; // a sprite's own pixels
  SDL_RenderGetScale(r, &s.scaleX, &s.scaleY);
  // The viewport comes back divided by the scale: read it at scale 1 for
  // real pixels, then put the scale back as it was.
  SDL_RenderSetScale(r, 1, 1);
  SDL_RenderGetViewport(r, &s.area);
  SDL_RenderSetScale(r, s.scaleX, s.scaleY);
  if (s.scaleX == 1 && s.scaleY == 1 && s.area.x == 0 && s.area.y == 0 &&
      s.area.w == w && s.area.h == h)
    return false;
  return s.scaleX > 0 && s.scaleY > 0 && s.area.w > 0 && s.area.h > 0;
}

// The output pixel at the middle of frame pixel u, relative to the
// frame's area on the output.
int Sample(int u, float scale, int limit) {
  return std::clamp(int(std::floor((u + 0.5) * double(scale))), 0, limit - 1);
}

// Reads `part` of the frame from a stretched output into dst (rows of
// `stride` bytes): each frame pixel takes the output pixel at its middle.
// That gives back the frame exactly where SDL drew each frame pixel as a
// block of whole output pixels, and otherwise what the screen shows.
bool ReadStretched(SDL_Renderer *r, const Stretch &s, const SDL_Rect &part,
                   uint8_t *dst, int stride) {
  const int x0 = Sample(part.x, s.scaleX, s.area.w);
  const int y0 = Sample(part.y, s.scaleY, s.area.h);
  const int x1 = Sample(part.x + part.w - 1, s.scaleX, s.area.w) + 1;
  const int y1 = Sample(part.y + part.h - 1, s.scaleY, s.area.h) + 1;
  if (!detail::PictureSizeOk(x1 - x0, y1 - y0))
    return false;
  std::vector<uint8_t> pixels(size_t(x1 - x0) * (y1 - y0) * 4);
  // SDL reads in output pixels, not frame pixels.
  SDL_Rect read{s.area.x + x0, s.area.y + y0, x1 - x0, y1 - y0};
  if (SDL_RenderReadPixels(r, &read, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                           read.w * 4) != 0) {
    detail::ReportFailure("SDL_RenderReadPixels");
    return false;
  }
  std::vector<size_t> column(part.w);
  for (int x = 0; x < part.w; ++x)
    column[x] = size_t(Sample(part.x + x, s.scaleX, s.area.w) - x0) * 4;
  for (int y = 0; y < part.h; ++y) {
    const uint8_t *row =
        &pixels[size_t(Sample(part.y + y, s.scaleY, s.area.h) - y0) * read.w *
                4];
    uint8_t *out = dst + size_t(y) * stride;
    for (int x = 0; x < part.w; ++x)
      std::memcpy(out + size_t(x) * 4, row + column[x], 4);
  }
  return true;
}

} // namespace

bool GrabSprite(int number, int x, int y, int w, int h) {
  SDL_Renderer *r = State().display.renderer.get();
  if (!r || !detail::PictureSizeOk(w, h) || number < kAnyNumber)
    return false;
  detail::FlushBackdrop();
  Picture pic;
  pic.width = w;
  pic.height = h;
  pic.pixels.assign(size_t(w) * h * 4, 0);
  const int fw = State().display.width, fh = State().display.height;
  // Only the part on the screen can be read; the rest stays black.
  SDL_Rect want{x, y, w, h}, screen{0, 0, fw, fh}, part;
  if (SDL_IntersectRect(&want, &screen, &part)) {
    uint8_t *first = &pic.pixels[(size_t(part.y - y) * w + (part.x - x)) * 4];
    Stretch stretch;
    if (FindStretch(r, fw, fh, stretch)) {
      if (!ReadStretched(r, stretch, part, first, w * 4))
        return false;
    } else if (SDL_RenderReadPixels(r, &part, SDL_PIXELFORMAT_ARGB8888, first,
                                    w * 4) != 0) {
      detail::ReportFailure("SDL_RenderReadPixels");
      return false;
    }
  }
  // The screen is opaque whatever alpha the back buffer holds.
  for (size_t i = 3; i < pic.pixels.size(); i += 4)
    pic.pixels[i] = 255;
  return CreateSpriteFromPicture(number, std::move(pic), kSpriteAlpha) >= 0;
}

bool SaveSpriteBmp(int number, const std::string &path) {
  detail::Sprite *s = State().sprites.Get(number);
  if (!s || s->width <= 0 || s->height <= 0 || !detail::EnsureResident(*s))
    return false;
  const Picture pic = detail::SpritePicture(*s);
  if (pic.pixels.empty())
    return false;
  const uint32_t rowBytes = (uint32_t(s->width) * 3 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * uint32_t(s->height);
  std::vector<uint8_t> file(54 + size_t(imageBytes), 0);
  auto put16 = [&](size_t at, uint32_t v) {
    file[at] = uint8_t(v), file[at + 1] = uint8_t(v >> 8);
  };
  auto put32 = [&](size_t at, uint32_t v) {
    put16(at, v & 0xffff);
    put16(at + 2, v >> 16);
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, uint32_t(file.size()));
  put32(10, 54); // pixel data offset
  put32(14, 40); // info header size
  put32(18, uint32_t(s->width));
  put32(22, uint32_t(s->height)); // positive: bottom row first
  put16(26, 1);                   // planes
  put16(28, 24);                  // bits per pixel
  put32(34, imageBytes);
  put32(38, 2835); // 72 dpi
  put32(42, 2835);
  for (int y = 0; y < s->height; ++y) {
    const uint8_t *src = &pic.pixels[size_t(s->height - 1 - y) * s->width * 4];
    uint8_t *dst = &file[54 + size_t(y) * rowBytes];
    for (int x = 0; x < s->width; ++x, src += 4, dst += 3)
      std::memcpy(dst, src, 3); // B, G, R
  }
  return WriteFileAtomic(path, file);
}

} // namespace plat
