// sprite_draw.cpp — displaying sprites: clip, zoom, opaque and blended
// copies, one-colour sprites as filled rectangles, and the smoothly shrunk
// copies that keep zoomed blended sprites on the renderer's fast path.
#include "platform/core.h"
#include "platform/internal.h"
#include "platform/pictures.h"
#include "platform/sprites.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <system_error>
#include <thread>
#include <vector>

namespace plat {

using detail::Sprite;
using detail::State;

namespace {

int64_t FloorDiv(int64_t a, int64_t b) {
  int64_t q = a / b;
  return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

using detail::DisplayHeight;
using detail::DisplayWidth;

// Whole-strip scaling works when the picture and the clip's position land
// on whole pixels at the zoom factor (equal-sized animation frames do).
bool StripScalable(const Sprite &s, int dw, int dh) {
  const SDL_Rect &c = s.clip;
  return int64_t(s.width) * dw % c.w == 0 &&
         int64_t(s.height) * dh % c.h == 0 && int64_t(c.x) * dw % c.w == 0 &&
         int64_t(c.y) * dh % c.h == 0;
}

// Large pictures shown once a frame (banner frames) are cheaper to scale
// at draw time than to resample: about 0.2 ms more a frame against 10 ms
// or more once per frame of the animation.
constexpr int64_t kMaxPrescalePixels = 512 * 512;

// A shrinking zoom of a picture small enough to resample.
bool WorthPrescaling(const Sprite &s) {
  if (s.target)
    return false; // drawn into at any time
  const SDL_Rect &c = s.clip;
  const int dw = DisplayWidth(s), dh = DisplayHeight(s);
  if (c.w <= 0 || c.h <= 0 || dw > c.w || dh > c.h || (dw == c.w && dh == c.h))
    return false;
  SDL_Rect part{};
  if (StripScalable(s, dw, dh))
    part = s.box;
  else if (!SDL_IntersectRect(&c, &s.box, &part))
    return false;
  return int64_t(part.w) * part.h <= kMaxPrescalePixels;
}

bool CacheMatches(const Sprite &s, int dw, int dh, bool strip) {
  const detail::Prescaled &p = s.scaled;
  return p.valid && p.strip == strip && p.zoomW == dw && p.zoomH == dh &&
         p.clipW == s.clip.w && p.clipH == s.clip.h &&
         (strip || (p.clipX == s.clip.x && p.clipY == s.clip.y));
}

// A shrunk copy in the making: the box's pixels read, the resampling to
// do (on any thread), then its texture.
struct PrescaleWork {
  int number = -1;
  PixelBytes pixels;
  detail::ResampleJob job;
  Picture pic;
};

// A failure is remembered for the copy's key, so that it is not retried on
// every display.
bool PrescaleFailed(detail::Prescaled &p, const char *what) {
  if (what)
    detail::ReportFailure(what);
  p.texture.reset();
  p.failed = true;
  return false;
}

// Keys the copy and reads the pixels it is made of. False when there is
// nothing to resample: nothing visible at this zoom, or a failure (failed
// is set then).
bool StartPrescaled(Sprite &s, int dw, int dh, bool strip, PrescaleWork &w) {
  detail::Prescaled &p = s.scaled;
  p.Reset();
  const SDL_Rect &c = s.clip;
  const SDL_Rect &b = s.box;
  // Scaled coordinates: strip mode scales the whole picture about (0, 0);
  // otherwise the clip's corner is the origin.
  const int ox = strip ? 0 : c.x, oy = strip ? 0 : c.y;
  const int64_t spaceW = strip ? int64_t(s.width) * dw / c.w : dw;
  const int64_t spaceH = strip ? int64_t(s.height) * dh / c.h : dh;
  int64_t x0 = std::max<int64_t>(0, FloorDiv(int64_t(b.x - ox) * dw, c.w));
  int64_t x1 =
      std::min<int64_t>(spaceW, CeilDiv(int64_t(b.x + b.w - ox) * dw, c.w));
  int64_t y0 = std::max<int64_t>(0, FloorDiv(int64_t(b.y - oy) * dh, c.h));
  int64_t y1 =
      std::min<int64_t>(spaceH, CeilDiv(int64_t(b.y + b.h - oy) * dh, c.h));
  p.strip = strip;
  p.zoomW = dw;
  p.zoomH = dh;
  p.clipW = c.w;
  p.clipH = c.h;
  p.clipX = c.x;
  p.clipY = c.y;
  p.valid = true;
  if (x1 <= x0 || y1 <= y0 || b.w <= 0 || b.h <= 0)
    return false; // nothing visible at this zoom
  p.area = SDL_Rect{int(x0), int(y0), int(x1 - x0), int(y1 - y0)};

  w.pixels.resize(size_t(b.w) * b.h * 4);
  if (!detail::ReadBox(s, w.pixels.data(), size_t(b.w) * 4))
    return PrescaleFailed(p, nullptr); // reported there
  detail::ResampleJob &job = w.job;
  job.stride = b.w * 4;
  job.box = b;
  job.srcW = s.width;
  job.srcH = s.height;
  job.originX = ox;
  job.originY = oy;
  job.scaleX = double(c.w) / dw;
  job.scaleY = double(c.h) / dh;
  job.out = p.area;
  return true;
}

void ResamplePrescaled(PrescaleWork &w) {
  w.job.pixels = w.pixels.data();
  w.pic = detail::Resample(w.job);
  PixelBytes().swap(w.pixels);
}

bool FinishPrescaled(Sprite &s, PrescaleWork &w) {
  detail::Prescaled &p = s.scaled;
  const Picture &pic = w.pic;
  if (pic.pixels.empty())
    return PrescaleFailed(p, nullptr); // no library call failed
  p.texture.reset(SDL_CreateTexture(
      State().display.renderer.get(), SDL_PIXELFORMAT_ARGB8888,
      SDL_TEXTUREACCESS_STATIC, pic.width, pic.height));
  if (!p.texture)
    return PrescaleFailed(p, "SDL_CreateTexture");
  if (SDL_UpdateTexture(p.texture.get(), nullptr, pic.pixels.data(),
                        pic.width * 4) != 0)
    return PrescaleFailed(p, "SDL_UpdateTexture");
  return true;
}

bool BuildPrescaled(Sprite &s, int dw, int dh, bool strip) {
  PrescaleWork w;
  if (!StartPrescaled(s, dw, dh, strip, w))
    return !s.scaled.failed;
  ResamplePrescaled(w);
  return FinishPrescaled(s, w);
}

// Resamples each copy, on every core.
void ResampleAll(std::vector<PrescaleWork> &work) {
  std::atomic<size_t> next{0};
  auto run = [&work, &next] {
    for (size_t i; (i = next.fetch_add(1)) < work.size();) {
      try {
        ResamplePrescaled(work[i]);
      } catch (const std::bad_alloc &) {
        work[i].pic = Picture{}; // fails when it is made
      }
    }
  };
  const size_t cores =
      std::min(4u, std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> helpers;
  for (size_t t = 1; t < cores && t < work.size(); ++t) {
    try {
      helpers.emplace_back(run);
    } catch (const std::system_error &) {
      break; // this thread does the rest
    }
  }
  run();
  for (std::thread &h : helpers)
    h.join();
}

bool EnsurePrescaled(Sprite &s) {
  const int dw = DisplayWidth(s), dh = DisplayHeight(s);
  const bool strip = StripScalable(s, dw, dh);
  if (CacheMatches(s, dw, dh, strip))
    return !s.scaled.failed;
  return BuildPrescaled(s, dw, dh, strip);
}

void PrepareCopy(SDL_Texture *t, bool blend, int intensity, bool linear) {
  SDL_SetTextureBlendMode(t, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
  SDL_SetTextureAlphaMod(t, static_cast<Uint8>(blend ? intensity : 255));
  SDL_SetTextureScaleMode(t,
                          linear ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
}

bool DrawPrescaled(SDL_Renderer *r, Sprite &s, int x, int y, bool blend,
                   int intensity) {
  if (!EnsurePrescaled(s))
    return false;
  const detail::Prescaled &p = s.scaled;
  const int dw = DisplayWidth(s), dh = DisplayHeight(s);
  const int ux = p.strip ? int(int64_t(s.clip.x) * dw / s.clip.w) : 0;
  const int uy = p.strip ? int(int64_t(s.clip.y) * dh / s.clip.h) : 0;
  SDL_Rect want{ux, uy, dw, dh}, part;
  if (!p.texture || !SDL_IntersectRect(&want, &p.area, &part))
    return true;
  SDL_Rect src{part.x - p.area.x, part.y - p.area.y, part.w, part.h};
  SDL_Rect dst{x + part.x - ux, y + part.y - uy, part.w, part.h};
  PrepareCopy(p.texture.get(), blend, intensity, false);
  SDL_RenderCopy(r, p.texture.get(), &src, &dst);
  return true;
}

void FillWith(SDL_Renderer *r, const SDL_Rect &dst, Colour c, bool blend) {
  if (blend && detail::FillOnCpu(dst, c))
    return;
  SDL_SetRenderDrawBlendMode(r,
                             blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
  SDL_RenderFillRect(r, &dst);
}

void Draw(int number, int x, int y, bool blend, int intensity) {
  detail::PlatformState &st = State();
  SDL_Renderer *r = st.display.renderer.get();
  Sprite *sp = st.sprites.Get(number);
  if (!r || !sp)
    return;
  Sprite &s = *sp;
  if (!detail::EnsureResident(s))
    return;
  if (s.texture && s.texture.get() == SDL_GetRenderTarget(r))
    return; // not into itself
  intensity = std::min(intensity, 255);
  if (blend && intensity <= 0)
    return;
  const SDL_Rect &c = s.clip;
  const int dw = DisplayWidth(s), dh = DisplayHeight(s);
  if (c.w <= 0 || c.h <= 0 || dw <= 0 || dh <= 0)
    return;
  const SDL_Rect dst{x, y, dw, dh};

  if (s.uniform) {
    // One colour all over (the dimming veil): a filled rectangle gives the
    // same picture at a fraction of the cost of a stretched blend.
    Colour col = s.uniformColour;
    if (blend) {
      col.a = static_cast<uint8_t>(col.a * intensity / 255);
      if (col.a == 0)
        return;
    }
    FillWith(r, dst, col, blend);
    return;
  }

  SDL_Rect visible{};
  const bool any = SDL_IntersectRect(&c, &s.box, &visible);
  const bool covers = any && SDL_RectEquals(&visible, &c);
  if (!blend && !covers)
    FillWith(r, dst, Colour{0, 0, 0, 0}, false); // the trimmed-off part
  if (!any || !s.texture)
    return;

  const bool zoomed = dw != c.w || dh != c.h;
  const bool linear = st.spriteQuality == 1;
  if (zoomed && linear && st.prescale && WorthPrescaling(s) &&
      DrawPrescaled(r, s, x, y, blend, intensity))
    return;

  SDL_Rect src{visible.x - s.box.x, visible.y - s.box.y, visible.w, visible.h};
  SDL_Rect plain{x + visible.x - c.x, y + visible.y - c.y, visible.w,
                 visible.h};
  if (!zoomed && blend && detail::BlendOnCpu(s, src, plain, intensity))
    return;
  if (!zoomed) {
    PrepareCopy(s.texture.get(), blend, intensity, linear);
    SDL_RenderCopy(r, s.texture.get(), &src, &plain);
    return;
  }
  SDL_FRect d{float(dst.x), float(dst.y), float(dst.w), float(dst.h)};
  if (!covers) {
    const float fx = float(dw) / c.w, fy = float(dh) / c.h;
    d = {x + (visible.x - c.x) * fx, y + (visible.y - c.y) * fy, visible.w * fx,
         visible.h * fy};
  }
  // The rectangle the renderer fills: each of its numbers cut to a whole
  // pixel toward zero.
  const SDL_Rect filled{int(d.x), int(d.y), int(d.w), int(d.h)};
  if (linear && detail::DrawZoomedCopy(r, s, src, filled, blend, intensity))
    return;
  PrepareCopy(s.texture.get(), blend, intensity, linear);
  if (covers)
    SDL_RenderCopy(r, s.texture.get(), &src, &dst);
  else
    SDL_RenderCopyF(r, s.texture.get(), &src, &d);
}

} // namespace

namespace detail {

void DrawNow(int number, int x, int y, bool blend, int intensity) {
  Draw(number, x, y, blend, intensity);
}

void DrawKept(const DrawCall &c) {
  Sprite *s = State().sprites.Get(c.number);
  if (!s)
    return;
  // Shown with the clip and zoom it had when the display was asked for.
  const SDL_Rect clip = s->clip;
  const int zoomW = s->zoomW, zoomH = s->zoomH;
  s->clip = c.clip;
  s->zoomW = c.zoomW;
  s->zoomH = c.zoomH;
  Draw(c.number, c.x, c.y, c.blend, c.intensity);
  if ((s = State().sprites.Get(c.number))) {
    s->clip = clip;
    s->zoomW = zoomW;
    s->zoomH = zoomH;
  }
}

bool ClipsExactly(const Sprite &s) {
  const int dw = DisplayWidth(s), dh = DisplayHeight(s);
  if (s.uniform || (dw == s.clip.w && dh == s.clip.h))
    return true;
  // A zoom drawn from its shrunk copy, already made: a plain copy too.
  const PlatformState &st = State();
  return st.spriteQuality == 1 && st.prescale && WorthPrescaling(s) &&
         CacheMatches(s, dw, dh, StripScalable(s, dw, dh)) && !s.scaled.failed;
}

// Whether a zoom's shrunk copy is made as soon as the zoom is set.
bool PrescaleNow(const Sprite &s) {
  if (!s.packed.empty() && !s.resident)
    return false; // made with the picture, at its first display
  return State().prescale && WorthPrescaling(s);
}

void PreparePrescaled(Sprite &s) {
  if (PrescaleNow(s))
    EnsurePrescaled(s);
}

} // namespace detail

void ZoomSprite(int number, int w, int h) {
  Sprite *s = State().sprites.Get(number);
  if (!s)
    return;
  s->zoomW = w > 0 ? w : -1;
  s->zoomH = h > 0 ? h : -1;
  // Shrunk now rather than at the first display, which would stall a frame.
  detail::PreparePrescaled(*s);
}

void ZoomSprites(const std::vector<SpriteZoom> &zooms) {
  // A few dozen at a time: the pixels read for them stay small.
  constexpr size_t kBatch = 64;
  for (size_t from = 0; from < zooms.size(); from += kBatch) {
    std::vector<PrescaleWork> work;
    for (size_t i = from; i < std::min(zooms.size(), from + kBatch); ++i) {
      const SpriteZoom &z = zooms[i];
      Sprite *s = State().sprites.Get(z.number);
      if (!s)
        continue;
      s->zoomW = z.w > 0 ? z.w : -1;
      s->zoomH = z.h > 0 ? z.h : -1;
      if (!detail::PrescaleNow(*s))
        continue;
      const int dw = detail::DisplayWidth(*s), dh = detail::DisplayHeight(*s);
      const bool strip = StripScalable(*s, dw, dh);
      if (CacheMatches(*s, dw, dh, strip))
        continue;
      PrescaleWork w;
      w.number = z.number;
      if (StartPrescaled(*s, dw, dh, strip, w))
        work.push_back(std::move(w));
    }
    ResampleAll(work);
    for (PrescaleWork &w : work)
      if (Sprite *s = State().sprites.Get(w.number))
        FinishPrescaled(*s, w);
  }
}

void DisplaySprite(int number, int x, int y) {
  if (!detail::RecordDraw(number, x, y, false, 255))
    Draw(number, x, y, false, 255);
}

void DisplaySpriteTransparent(int number, int x, int y, int intensity) {
  if (!detail::RecordDraw(number, x, y, true, intensity))
    Draw(number, x, y, true, intensity);
}

void SetSpriteQuality(int quality) { State().spriteQuality = quality; }

} // namespace plat
