// zoomed_copies.cpp — smoothly zoomed pictures kept from frame to frame.
// To show a picture zoomed, the software renderer scales it into a scratch
// picture of the shown size and then copies or blends that; a banner frame
// held on the screen was scaled anew every frame (at 3840 x 2160 most of
// the frame's time). Here the renderer's own scaler fills a kept texture
// once, the same way, and each frame only copies or blends it: the same
// pixels, as both steps are still the renderer's.
#include "platform/internal.h"

#include <algorithm>

namespace plat::detail {

namespace {

bool Holds(const ZoomedCopy &z, const Sprite &s, const SDL_Rect &src, int w,
           int h) {
  return z.texture && z.version != 0 && z.version == s.version &&
         SDL_RectEquals(&z.src, &src) && z.w == w && z.h == h;
}

// The part of the picture scaled into the kept texture's corner, alone,
// without blending or modulation: what the renderer scales into its
// scratch picture before it copies.
bool Scale(SDL_Renderer *r, ZoomedCopy &z, SDL_Texture *picture,
           const SDL_Rect &src, int w, int h) {
  if (!z.texture || z.textureW < w || z.textureH < h) {
    const int tw = std::max(w, z.textureW), th = std::max(h, z.textureH);
    z = ZoomedCopy{}; // the old texture goes before the new one comes
    z.texture.reset(SDL_CreateTexture(r, SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_TARGET, tw, th));
    if (!z.texture)
      return false;
    z.textureW = tw;
    z.textureH = th;
  }
  z.version = 0;
  SDL_Texture *was = SDL_GetRenderTarget(r);
  if (SDL_SetRenderTarget(r, z.texture.get()) != 0)
    return false;
  SDL_SetTextureBlendMode(picture, SDL_BLENDMODE_NONE);
  SDL_SetTextureAlphaMod(picture, 255);
  SDL_SetTextureColorMod(picture, 255, 255, 255);
  SDL_SetTextureScaleMode(picture, SDL_ScaleModeLinear);
  const SDL_Rect corner{0, 0, w, h};
  const bool scaled = SDL_RenderCopy(r, picture, &src, &corner) == 0;
  if (SDL_SetRenderTarget(r, was) != 0) {
    ReportFailure("SDL_SetRenderTarget");
    return false;
  }
  if (!scaled)
    return false;
  z.src = src;
  z.w = w;
  z.h = h;
  return true;
}

} // namespace

bool DrawZoomedCopy(SDL_Renderer *r, const Sprite &s, const SDL_Rect &src,
                    const SDL_Rect &dst, bool blend, int intensity) {
  PlatformState &st = State();
  int outW = 0, outH = 0;
  // Kept no larger than what is drawn into: a copy must not cost more
  // memory than the screen.
  if (!st.shortcuts || !s.texture || s.target || s.version == 0 || dst.w <= 0 ||
      dst.h <= 0 || (dst.w == src.w && dst.h == src.h) || !PlainTarget(r) ||
      SDL_GetRendererOutputSize(r, &outW, &outH) != 0 ||
      int64_t(dst.w) * dst.h > int64_t(outW) * outH)
    return false;
  const int place = st.display.zoomedShown++;
  ZoomedCopy *use = nullptr;
  for (ZoomedCopy &z : st.display.zoomed)
    if (Holds(z, s, src, dst.w, dst.h))
      use = &z;
  if (!use) {
    // One not shown in this frame: the one shown in the same place in the
    // last frame (a sequence's previous picture, while another sequence
    // keeps its own), else the larger texture (made again least often).
    auto better = [place](const ZoomedCopy &a, const ZoomedCopy &b) {
      if ((a.place == place) != (b.place == place))
        return a.place == place;
      return int64_t(a.textureW) * a.textureH >
             int64_t(b.textureW) * b.textureH;
    };
    for (ZoomedCopy &z : st.display.zoomed)
      if (!z.shown && (!use || better(z, *use)))
        use = &z;
    if (!use)
      return false; // a third picture in one frame: scaled as it comes
    if (!Scale(r, *use, s.texture.get(), src, dst.w, dst.h)) {
      *use = ZoomedCopy{};
      return false;
    }
    use->version = s.version;
    ++st.display.zoomedScaled;
  }
  use->shown = true;
  use->place = place;
  SDL_Texture *kept = use->texture.get();
  SDL_SetTextureBlendMode(kept,
                          blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
  SDL_SetTextureAlphaMod(kept, static_cast<Uint8>(blend ? intensity : 255));
  const SDL_Rect corner{0, 0, dst.w, dst.h};
  return SDL_RenderCopy(r, kept, &corner, &dst) == 0;
}

void ForgetUnshownZoomedCopies() {
  DisplayState &d = State().display;
  for (ZoomedCopy &z : d.zoomed) {
    if (!z.shown)
      z = ZoomedCopy{};
    z.shown = false;
  }
  d.zoomedShown = 0;
}

} // namespace plat::detail
