// screenshot.cpp — grabbing part of the frame drawn so far into a sprite,
// and writing a sprite as a 24-bit BMP file.
#include "platform/internal.h"

#include <cstring>

namespace plat {

using detail::State;

bool GrabSprite(int number, int x, int y, int w, int h) {
  SDL_Renderer *r = State().display.renderer.get();
  if (!r || !detail::PictureSizeOk(w, h) || number < kAnyNumber)
    return false;
  Picture pic;
  pic.width = w;
  pic.height = h;
  pic.pixels.assign(size_t(w) * h * 4, 0);
  // Only the part on the screen can be read; the rest stays black.
  SDL_Rect want{x, y, w, h},
      screen{0, 0, State().display.width, State().display.height}, part;
  if (SDL_IntersectRect(&want, &screen, &part)) {
    uint8_t *first = &pic.pixels[(size_t(part.y - y) * w + (part.x - x)) * 4];
    if (SDL_RenderReadPixels(r, &part, SDL_PIXELFORMAT_ARGB8888, first,
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
  const detail::Sprite *s = State().sprites.Get(number);
  if (!s || s->width <= 0 || s->height <= 0)
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
