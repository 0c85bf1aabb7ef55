// sprites.cpp — sprites as textures: loading, colour key, trimming,
// collision masks, reading pixels back, copies, clip and zoom.
#include "platform/sprites.h"
#include "platform/core.h"
#include "platform/internal.h"
#include "platform/pictures.h"

#include <algorithm>
#include <cstring>

namespace plat {

using detail::Sprite;
using detail::State;

namespace detail {

void Touch(Sprite &s) {
  BackdropSpriteChanging(s);
  s.version = ++State().versionClock;
}

void Prescaled::Reset() {
  texture.reset();
  valid = failed = false;
  zoomW = zoomH = clipW = clipH = clipX = clipY = 0;
  area = SDL_Rect{};
}

namespace {

// Bounding box of the pixels that are not fully transparent, grown by one
// pixel so that filtering at its edge still sees transparent neighbours.
SDL_Rect OpaqueBox(const Picture &pic) {
  int x0 = pic.width, y0 = pic.height, x1 = -1, y1 = -1;
  const uint8_t *p = pic.pixels.data();
  for (int y = 0; y < pic.height; ++y) {
    const uint8_t *row = p + static_cast<size_t>(y) * pic.width * 4;
    for (int x = 0; x < pic.width; ++x) {
      if (row[x * 4 + 3]) {
        x0 = std::min(x0, x);
        x1 = std::max(x1, x);
        y0 = std::min(y0, y);
        y1 = y;
      }
    }
  }
  if (x1 < 0)
    return SDL_Rect{0, 0, 0, 0};
  x0 = std::max(0, x0 - 1);
  y0 = std::max(0, y0 - 1);
  x1 = std::min(pic.width - 1, x1 + 1);
  y1 = std::min(pic.height - 1, y1 + 1);
  return SDL_Rect{x0, y0, x1 - x0 + 1, y1 - y0 + 1};
}

// One colour all over (checked on the whole picture, before any trim), and
// whether it is opaque all over.
void Classify(Sprite &s, const Picture &pic) {
  s.uniform = false;
  s.opaque = false;
  const PixelBytes &px = pic.pixels;
  if (px.size() < 4 || s.target)
    return;
  s.opaque = true;
  for (size_t i = 3; i < px.size(); i += 4)
    if (px[i] != 255) {
      s.opaque = false;
      break;
    }
  uint32_t first;
  std::memcpy(&first, px.data(), 4);
  for (size_t i = 4; i < px.size(); i += 4) {
    uint32_t v;
    std::memcpy(&v, &px[i], 4);
    if (v != first)
      return;
  }
  s.uniform = true;
  s.uniformColour = Colour{px[2], px[1], px[0], px[3]};
}

// The screen's format when it is ARGB without the alpha (what the
// pictures' bytes already are) and textures can have it; else ARGB.
Uint32 OpaqueFormat(SDL_Renderer *r) {
  SDL_Window *w = State().display.window.get();
  SDL_RendererInfo info;
  if (w && SDL_GetWindowPixelFormat(w) == SDL_PIXELFORMAT_RGB888 &&
      SDL_GetRendererInfo(r, &info) == 0)
    for (Uint32 i = 0; i < info.num_texture_formats; ++i)
      if (info.texture_formats[i] == SDL_PIXELFORMAT_RGB888)
        return SDL_PIXELFORMAT_RGB888;
  return SDL_PIXELFORMAT_ARGB8888;
}

// How a sprite's texture is made. On the software renderer a streaming
// texture is the same plain surface as a static one, and locking it gives
// its pixels as they stand: the CPU blend reads them there, with no copy.
int TextureAccess(const Sprite &s) {
  if (s.target)
    return SDL_TEXTUREACCESS_TARGET;
  return State().display.softwareRenderer ? SDL_TEXTUREACCESS_STREAMING
                                          : SDL_TEXTUREACCESS_STATIC;
}

// Stores pic (straight BGRA, whole picture) in s: trims when asked and
// uploads the box straight from the picture's buffer, which is then freed.
bool StorePicture(Sprite &s, Picture &&pic) {
  SDL_Renderer *r = State().display.renderer.get();
  Touch(s);
  s.scaled.Reset();
  s.width = pic.width;
  s.height = pic.height;
  s.box = (s.flags & kSpriteTrim) && !s.target
              ? OpaqueBox(pic)
              : SDL_Rect{0, 0, pic.width, pic.height};
  Classify(s, pic);
  bool ok = true;
  const Uint32 format =
      s.opaqueTarget ? OpaqueFormat(r) : Uint32{SDL_PIXELFORMAT_ARGB8888};
  // A texture of the same size and kind is written over in place (a card
  // drawn again): making a new one would fill fresh memory first.
  Uint32 oldFormat = 0;
  int oldAccess = 0, oldW = 0, oldH = 0;
  if (s.texture && (SDL_QueryTexture(s.texture.get(), &oldFormat, &oldAccess,
                                     &oldW, &oldH) != 0 ||
                    oldFormat != format || oldAccess != TextureAccess(s) ||
                    oldW != s.box.w || oldH != s.box.h))
    s.texture.reset();
  if (s.box.w > 0 && s.box.h > 0) {
    if (!s.texture)
      s.texture.reset(
          SDL_CreateTexture(r, format, TextureAccess(s), s.box.w, s.box.h));
    const uint8_t *first =
        pic.pixels.data() +
        (static_cast<size_t>(s.box.y) * pic.width + s.box.x) * 4;
    if (!s.texture) {
      ReportFailure("SDL_CreateTexture");
      ok = false;
    } else if (SDL_UpdateTexture(s.texture.get(), nullptr, first,
                                 pic.width * 4) != 0) {
      ReportFailure("SDL_UpdateTexture");
      ok = false;
    }
  }
  pic = Picture{};
  return ok;
}

bool ValidPicture(const Picture &pic) {
  return PictureSizeOk(pic.width, pic.height) &&
         pic.pixels.size() == static_cast<size_t>(pic.width) * pic.height * 4;
}

} // namespace

// Puts a new sprite under `number` (the old one is freed in any case, as
// creating under a used number promises); returns the number or -1.
int Install(int number, std::unique_ptr<Sprite> sprite) {
  NumberTable<Sprite> &table = State().sprites;
  int n = table.Choose(number);
  if (n < 0)
    return -1;
  if (const Sprite *old = table.Get(n))
    BackdropSpriteChanging(*old);
  table.Free(n);
  if (!sprite)
    return -1;
  Touch(*sprite);
  table.Put(n, std::move(sprite));
  return n;
}

bool StoreLoadedPicture(Sprite &s, Picture &&pic) {
  if (!ValidPicture(pic))
    return false;
  const size_t count = static_cast<size_t>(pic.width) * pic.height;
  uint8_t *p = pic.pixels.data();
  if (!(s.flags & kSpriteAlpha)) {
    // Colour key: black is see-through, everything else opaque.
    for (size_t i = 0; i < count; ++i, p += 4)
      p[3] = (p[0] | p[1] | p[2]) ? 255 : 0;
    p = pic.pixels.data();
  }
  if (s.flags & kSpriteCollision) {
    s.mask.resize(count);
    for (size_t i = 0; i < count; ++i)
      s.mask[i] = p[i * 4 + 3] == 255;
  }
  return StorePicture(s, std::move(pic));
}

std::unique_ptr<Sprite> MakeSprite(Picture &&pic, unsigned flags) {
  if (!State().display.renderer || !ValidPicture(pic))
    return nullptr;
  auto s = std::make_unique<Sprite>();
  s->flags = flags;
  s->clip = SDL_Rect{0, 0, pic.width, pic.height};
  if (!StoreLoadedPicture(*s, std::move(pic)))
    return nullptr;
  return s;
}

bool ReplaceSpritePicture(Sprite &s, Picture &&pic) {
  if (!ValidPicture(pic))
    return false;
  return StorePicture(s, std::move(pic));
}

namespace {

// On the software renderer a streaming texture's pixels are at hand (see
// TextureAccess): the box's straight BGRA rows, locked until
// SDL_UnlockTexture. False where they are not.
bool LockPixels(const Sprite &s, const uint8_t *&pixels, int &pitch) {
  Uint32 format = 0;
  int access = 0;
  void *p = nullptr;
  if (!State().display.softwareRenderer || !s.texture ||
      SDL_QueryTexture(s.texture.get(), &format, &access, nullptr, nullptr) !=
          0 ||
      access != SDL_TEXTUREACCESS_STREAMING ||
      format != SDL_PIXELFORMAT_ARGB8888 ||
      SDL_LockTexture(s.texture.get(), nullptr, &p, &pitch) != 0)
    return false;
  pixels = static_cast<const uint8_t *>(p);
  return true;
}

} // namespace

SurfacePtr SurfaceFromSprite(const Sprite &s) {
  const uint8_t *pixels = nullptr;
  int from = 0;
  if (!LockPixels(s, pixels, from))
    return SurfaceFromPicture(SpritePicture(s));
  // Premultiplied straight from the texture into the new surface, which
  // starts transparent: no picture of the whole sprite in between.
  UseWarmReserve(uint64_t(s.width) * uint64_t(s.height) * 4);
  SurfacePtr out = NewSurface(s.width, s.height);
  if (out) {
    cairo_surface_flush(out.get());
    uint8_t *data = cairo_image_surface_get_data(out.get());
    const size_t stride = cairo_image_surface_get_stride(out.get());
    for (int y = 0; y < s.box.h; ++y)
      Premultiply(pixels + size_t(y) * from,
                  data + size_t(s.box.y + y) * stride + size_t(s.box.x) * 4,
                  size_t(s.box.w));
    cairo_surface_mark_dirty(out.get());
  }
  SDL_UnlockTexture(s.texture.get());
  return out;
}

bool ReadBox(const Sprite &s, uint8_t *out, size_t pitch) {
  const size_t rowBytes = static_cast<size_t>(s.box.w) * 4;
  if (!s.texture) {
    for (int y = 0; y < s.box.h; ++y)
      std::memset(out + size_t(y) * pitch, 0, rowBytes);
    return true;
  }
  const uint8_t *pixels = nullptr;
  int from = 0;
  if (LockPixels(s, pixels, from)) {
    for (int y = 0; y < s.box.h; ++y)
      std::memcpy(out + size_t(y) * pitch, pixels + size_t(y) * from, rowBytes);
    SDL_UnlockTexture(s.texture.get());
    return true;
  }
  // Elsewhere drawn 1:1 without blending into a target texture and read
  // from there: the one documented way back out of a texture.
  SDL_Renderer *r = State().display.renderer.get();
  TexturePtr target(SDL_CreateTexture(
      r, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET, s.box.w, s.box.h));
  if (!target) {
    ReportFailure("SDL_CreateTexture");
    return false;
  }
  SDL_Texture *previous = SDL_GetRenderTarget(r);
  if (SDL_SetRenderTarget(r, target.get()) != 0) {
    ReportFailure("SDL_SetRenderTarget");
    return false;
  }
  SDL_Texture *t = s.texture.get();
  SDL_SetTextureBlendMode(t, SDL_BLENDMODE_NONE);
  SDL_SetTextureAlphaMod(t, 255);
  SDL_SetTextureColorMod(t, 255, 255, 255);
  SDL_SetTextureScaleMode(t, SDL_ScaleModeNearest);
  bool ok = true;
  if (SDL_RenderCopy(r, t, nullptr, nullptr) != 0) {
    ReportFailure("SDL_RenderCopy");
    ok = false;
  } else if (SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888, out,
                                  static_cast<int>(pitch)) != 0) {
    ReportFailure("SDL_RenderReadPixels");
    ok = false;
  }
  SDL_SetRenderTarget(r, previous);
  return ok;
}

Picture SpritePicture(const Sprite &s) {
  // Read straight into the picture's rows: a card is near a screen in
  // size, and each extra buffer of it cost its pass a fill and a copy.
  Picture pic;
  pic.width = s.width;
  pic.height = s.height;
  pic.pixels.resize(static_cast<size_t>(s.width) * s.height * 4);
  if (s.box.x != 0 || s.box.y != 0 || s.box.w != s.width || s.box.h != s.height)
    std::fill(pic.pixels.begin(), pic.pixels.end(), uint8_t{0});
  const size_t pitch = static_cast<size_t>(s.width) * 4;
  if (!ReadBox(s, &pic.pixels[s.box.y * pitch + size_t(s.box.x) * 4], pitch))
    return Picture{};
  return pic;
}

void FreeAllSprites() { State().sprites.Clear(); }

} // namespace detail

int LoadSprite(int number, const uint8_t *png, size_t size, unsigned flags) {
  Picture pic;
  if (!DecodePng(png, size, pic))
    return detail::Install(number, nullptr);
  return CreateSpriteFromPicture(number, std::move(pic), flags);
}

int CreateSpriteFromPicture(int number, Picture &&pic, unsigned flags) {
  return detail::Install(number, detail::MakeSprite(std::move(pic), flags));
}

int CreateSprite(int number, int w, int h) {
  if (!detail::PictureSizeOk(w, h))
    return detail::Install(number, nullptr);
  SDL_Renderer *r = State().display.renderer.get();
  if (r && State().display.softwareRenderer) {
    // Cleared in place: the cards are blank sprites near a screen in size,
    // made at start, and a zeroed picture of each, filled, scanned and
    // copied, was a good part of loading.
    auto s = std::make_unique<Sprite>();
    s->flags = kSpriteAlpha;
    s->width = w;
    s->height = h;
    s->box = s->clip = SDL_Rect{0, 0, w, h};
    s->version = ++State().versionClock;
    s->uniform = true; // transparent black all over
    s->uniformColour = Colour{0, 0, 0, 0};
    s->texture.reset(SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888,
                                       SDL_TEXTUREACCESS_STREAMING, w, h));
    void *pixels = nullptr;
    int pitch = 0;
    if (!s->texture ||
        SDL_LockTexture(s->texture.get(), nullptr, &pixels, &pitch) != 0) {
      detail::ReportFailure(s->texture ? "SDL_LockTexture"
                                       : "SDL_CreateTexture");
      s.reset();
    } else {
      for (int y = 0; y < h; ++y)
        std::memset(static_cast<uint8_t *>(pixels) + size_t(y) * pitch, 0,
                    size_t(w) * 4);
      SDL_UnlockTexture(s->texture.get());
    }
    return detail::Install(number, std::move(s));
  }
  Picture pic;
  pic.width = w;
  pic.height = h;
  pic.pixels.assign(static_cast<size_t>(w) * h * 4, 0);
  return CreateSpriteFromPicture(number, std::move(pic), kSpriteAlpha);
}

int CreateTargetSprite(int number, int w, int h, bool opaque) {
  if (!detail::PictureSizeOk(w, h) || !State().display.renderer)
    return detail::Install(number, nullptr);
  // Cleared by the renderer rather than uploaded from a zeroed picture: a
  // screen-sized target is made on a frame's pass, and a second buffer of
  // its size, filled and copied, doubled what that pass cost.
  SDL_Renderer *r = State().display.renderer.get();
  auto s = std::make_unique<Sprite>();
  s->flags = kSpriteAlpha;
  s->target = true;
  s->opaqueTarget = opaque;
  s->width = w;
  s->height = h;
  s->box = s->clip = SDL_Rect{0, 0, w, h};
  s->version = ++State().versionClock;
  detail::UseWarmReserve(uint64_t(w) * uint64_t(h) * 4);
  s->texture.reset(SDL_CreateTexture(
      r, opaque ? detail::OpaqueFormat(r) : Uint32{SDL_PIXELFORMAT_ARGB8888},
      SDL_TEXTUREACCESS_TARGET, w, h));
  SDL_Texture *previous = SDL_GetRenderTarget(r);
  if (!s->texture) {
    detail::ReportFailure("SDL_CreateTexture");
    s.reset();
  } else if (SDL_SetRenderTarget(r, s->texture.get()) != 0) {
    detail::ReportFailure("SDL_SetRenderTarget");
    s.reset();
  } else {
    SDL_BlendMode mode;
    Uint8 cr, cg, cb, ca;
    SDL_GetRenderDrawBlendMode(r, &mode);
    SDL_GetRenderDrawColor(r, &cr, &cg, &cb, &ca);
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 0);
    SDL_RenderClear(r);
    SDL_SetRenderDrawColor(r, cr, cg, cb, ca);
    SDL_SetRenderDrawBlendMode(r, mode);
    SDL_SetRenderTarget(r, previous);
  }
  return detail::Install(number, std::move(s));
}

bool SetRenderTarget(int number) {
  SDL_Renderer *r = State().display.renderer.get();
  if (!r)
    return false;
  SDL_Texture *t = nullptr;
  if (number >= 0) {
    Sprite *s = State().sprites.Get(number);
    if (!s || !s->target || !s->texture)
      return false;
    // Its content changes from here on: no shrunk copy can be trusted.
    s->scaled.Reset();
    detail::Touch(*s);
    t = s->texture.get();
  }
  if (SDL_SetRenderTarget(r, t) != 0) {
    detail::ReportFailure("SDL_SetRenderTarget");
    return false;
  }
  return true;
}

bool SpriteOpaque(int number) {
  Sprite *s = State().sprites.Get(number);
  return s && detail::EnsureResident(*s) && s->opaque;
}

int CopySprite(int source, int number) {
  Sprite *src = State().sprites.Get(source);
  if (!src || !detail::EnsureResident(*src))
    return detail::Install(number, nullptr);
  // Built before the target number is freed: copying onto itself works.
  auto copy = std::make_unique<Sprite>();
  copy->flags = src->flags;
  copy->mask = src->mask;
  copy->clip = src->clip;
  copy->zoomW = src->zoomW;
  copy->zoomH = src->zoomH;
  Picture pic = detail::SpritePicture(*src);
  if (!detail::ReplaceSpritePicture(*copy, std::move(pic)))
    copy.reset();
  return detail::Install(number, std::move(copy));
}

void FreeSprite(int number) {
  if (const Sprite *s = State().sprites.Get(number))
    detail::BackdropSpriteChanging(*s);
  State().sprites.Free(number);
}

bool SpriteExists(int number) { return State().sprites.Get(number) != nullptr; }

void ClipSprite(int number, int x, int y, int w, int h) {
  Sprite *s = State().sprites.Get(number);
  if (!s)
    return;
  SDL_Rect want{x, y, std::max(w, 0), std::max(h, 0)};
  SDL_Rect whole{0, 0, s->width, s->height};
  SDL_Rect clip{};
  if (!SDL_IntersectRect(&want, &whole, &clip))
    clip = SDL_Rect{0, 0, 0, 0};
  s->clip = clip;
}

int SpriteWidth(int number) {
  Sprite *s = State().sprites.Get(number);
  return s ? s->width : 0;
}

int SpriteHeight(int number) {
  Sprite *s = State().sprites.Get(number);
  return s ? s->height : 0;
}

} // namespace plat
