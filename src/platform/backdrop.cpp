// backdrop.cpp — the dimmed picture behind a dialog, composed once and
// copied while it stays the same. The displays between BeginBackdrop and
// EndBackdrop are kept instead of drawn; EndBackdrop compares them with
// those the composed picture holds, draws again (into that picture) only
// the rectangles where a display changed, dims them with the veil, and
// copies the picture to the screen in one plain copy. Where the pixels
// could come out otherwise — another renderer than the software one, a
// stretched screen, displays that leave part of the screen as the last
// frame had it, a scaled copy that a clip might sample differently — the
// displays are drawn as they come and the veil over them.
#include "platform/internal.h"
#include "platform/sprites.h"

#include <algorithm>

namespace plat {

using detail::Backdrop;
using detail::DrawCall;
using detail::PlatformState;
using detail::Sprite;
using detail::State;

namespace {

// More changed rectangles than this: the whole picture is drawn again. A
// maze's animated tiles step together, each its own small rectangle (some
// eighty in a level), and drawing them again in part costs a fraction of
// drawing the whole screen: the bound only keeps the merging and the
// search through the displays small.
constexpr size_t kMaxDirty = 512;

bool SameCall(const DrawCall &a, const DrawCall &b) {
  return a.number == b.number && a.version == b.version &&
         SDL_RectEquals(&a.clip, &b.clip) && a.zoomW == b.zoomW &&
         a.zoomH == b.zoomH && a.x == b.x && a.y == b.y && a.blend == b.blend &&
         a.intensity == b.intensity;
}

// The rectangles of the screen left after taking `cut` away from each.
void Subtract(std::vector<SDL_Rect> &left, const SDL_Rect &cut) {
  std::vector<SDL_Rect> out;
  for (const SDL_Rect &r : left) {
    SDL_Rect in{};
    if (!SDL_IntersectRect(&r, &cut, &in)) {
      out.push_back(r);
      continue;
    }
    if (in.y > r.y)
      out.push_back({r.x, r.y, r.w, in.y - r.y});
    if (in.y + in.h < r.y + r.h)
      out.push_back({r.x, in.y + in.h, r.w, r.y + r.h - in.y - in.h});
    if (in.x > r.x)
      out.push_back({r.x, in.y, in.x - r.x, in.h});
    if (in.x + in.w < r.x + r.w)
      out.push_back({in.x + in.w, in.y, r.x + r.w - in.x - in.w, in.h});
  }
  left.swap(out);
}

// Whether the opaque displays write every pixel of the screen, so that
// the picture does not depend on the frame before.
bool CoversScreen(const std::vector<DrawCall> &calls, const SDL_Rect &screen) {
  std::vector<SDL_Rect> left{screen};
  for (const DrawCall &c : calls) {
    if (c.covers)
      Subtract(left, c.area);
    if (left.empty())
      return true;
  }
  return left.empty();
}

// Adds r to the changed rectangles, merging those it overlaps.
void AddDirty(std::vector<SDL_Rect> &dirty, SDL_Rect r) {
  if (r.w <= 0 || r.h <= 0)
    return;
  for (size_t i = 0; i < dirty.size();) {
    if (SDL_HasIntersection(&dirty[i], &r)) {
      SDL_UnionRect(&dirty[i], &r, &r);
      dirty.erase(dirty.begin() + long(i));
      i = 0;
    } else {
      ++i;
    }
  }
  dirty.push_back(r);
}

// Draws the kept displays (those touching `only`, when given) and the veil.
void DrawCalls(const std::vector<DrawCall> &calls, const SDL_Rect *only,
               int veil, int intensity) {
  for (const DrawCall &c : calls)
    if (!only || SDL_HasIntersection(&c.area, only))
      detail::DrawKept(c);
  detail::DrawNow(veil, 0, 0, true, intensity);
}

} // namespace

namespace detail {

bool RecordDraw(int number, int x, int y, bool blend, int intensity) {
  PlatformState &st = State();
  SDL_Renderer *r = st.display.renderer.get();
  if (!st.backdrop.recording || !r || SDL_GetRenderTarget(r))
    return false; // drawing into a sprite goes on as it comes
  DrawCall c;
  c.number = number;
  c.x = x;
  c.y = y;
  c.blend = blend;
  c.intensity = std::min(intensity, 255);
  if (Sprite *s = st.sprites.Get(number)) {
    c.version = s->version;
    c.clip = s->clip;
    c.zoomW = s->zoomW;
    c.zoomH = s->zoomH;
    const SDL_Rect drawn{x, y, DisplayWidth(*s), DisplayHeight(*s)};
    const SDL_Rect screen{0, 0, st.display.width, st.display.height};
    if (!SDL_IntersectRect(&drawn, &screen, &c.area))
      c.area = SDL_Rect{};
    // An opaque display writes its whole rectangle (the part a trim took
    // away as transparent black), unless its picture is still to be made.
    c.covers = !blend && c.clip.w > 0 && c.clip.h > 0 &&
               (s->uniform || (s->packed.empty() && s->texture));
    c.exact = ClipsExactly(*s);
  }
  st.backdrop.calls.push_back(c);
  return true;
}

void FlushBackdrop() {
  Backdrop &b = State().backdrop;
  if (!b.recording)
    return;
  b.recording = false;
  std::vector<DrawCall> calls;
  calls.swap(b.calls);
  // Onto the screen, whatever sprite is being drawn into meanwhile.
  SDL_Renderer *r = State().display.renderer.get();
  SDL_Texture *target = SDL_GetRenderTarget(r);
  if (target)
    SDL_SetRenderTarget(r, nullptr);
  for (const DrawCall &c : calls)
    DrawKept(c);
  if (target)
    SDL_SetRenderTarget(r, target);
}

void BackdropSpriteChanging(const Sprite &s) {
  Backdrop &b = State().backdrop;
  if (!b.recording)
    return;
  for (const DrawCall &c : b.calls)
    if (State().sprites.Get(c.number) == &s) {
      FlushBackdrop(); // kept displays must show the pixels they had
      return;
    }
}

void ResetBackdrop() {
  Backdrop &b = State().backdrop;
  b = Backdrop{};
}

void ForgetUnusedBackdrop() {
  Backdrop &b = State().backdrop;
  if (!b.used)
    ResetBackdrop();
  b.used = false;
}

} // namespace detail

void BeginBackdrop() {
  detail::FlushBackdrop();
  PlatformState &st = State();
  if (st.shortcuts && st.display.renderer)
    st.backdrop.recording = true;
}

void EndBackdrop(int veil, int intensity) {
  PlatformState &st = State();
  Backdrop &b = st.backdrop;
  detail::DisplayState &d = st.display;
  SDL_Renderer *r = d.renderer.get();
  b.used = true;
  b.composed = uint64_t(d.width) * uint64_t(d.height); // unless copied
  if (!b.recording) {
    DisplaySpriteTransparent(veil, 0, 0, intensity);
    return;
  }
  b.recording = false;
  std::vector<DrawCall> calls;
  calls.swap(b.calls);
  const Sprite *v = st.sprites.Get(veil);
  const SDL_Rect screen{0, 0, d.width, d.height};
  if (!r || !v || !v->uniform || !detail::PlainScreen(r) ||
      !CoversScreen(calls, screen)) {
    DrawCalls(calls, nullptr, veil, intensity);
    b.valid = false;
    return;
  }
  if (!b.texture) {
    detail::UseWarmReserve(uint64_t(d.width) * uint64_t(d.height) * 4);
    b.texture.reset(SDL_CreateTexture(r, SDL_PIXELFORMAT_RGB888,
                                      SDL_TEXTUREACCESS_TARGET, d.width,
                                      d.height));
    if (!b.texture) {
      DrawCalls(calls, nullptr, veil, intensity);
      return;
    }
    SDL_SetTextureBlendMode(b.texture.get(), SDL_BLENDMODE_NONE);
    b.valid = false;
  }

  // What changed since the picture was composed.
  bool whole = !b.valid || b.veil != veil || b.veilVersion != v->version ||
               b.intensity != intensity || b.shown.size() != calls.size();
  std::vector<SDL_Rect> dirty;
  for (size_t i = 0; !whole && i < calls.size(); ++i) {
    if (SameCall(calls[i], b.shown[i]))
      continue;
    whole = !calls[i].exact || !b.shown[i].exact;
    AddDirty(dirty, calls[i].area);
    AddDirty(dirty, b.shown[i].area);
    whole = whole || dirty.size() > kMaxDirty;
  }
  // Only displays that a clip leaves pixel for pixel may be drawn again in
  // part.
  for (size_t k = 0; !whole && k < dirty.size(); ++k)
    for (const DrawCall &c : calls)
      if (!c.exact && SDL_HasIntersection(&c.area, &dirty[k]))
        whole = true;

  if (whole || !dirty.empty()) {
    SDL_Texture *previous = SDL_GetRenderTarget(r);
    if (SDL_SetRenderTarget(r, b.texture.get()) != 0) {
      DrawCalls(calls, nullptr, veil, intensity);
      b.valid = false;
      return;
    }
    if (whole) {
      DrawCalls(calls, nullptr, veil, intensity);
    } else {
      b.composed = 0;
      for (const SDL_Rect &rect : dirty) {
        b.composed += uint64_t(rect.w) * uint64_t(rect.h);
        SDL_RenderSetClipRect(r, &rect);
        DrawCalls(calls, &rect, veil, intensity);
      }
      SDL_RenderSetClipRect(r, nullptr);
    }
    SDL_SetRenderTarget(r, previous);
    b.shown = std::move(calls);
    b.veil = veil;
    b.veilVersion = v->version;
    b.intensity = intensity;
    b.valid = true;
  } else {
    b.composed = 0;
  }
  SDL_RenderCopy(r, b.texture.get(), nullptr, nullptr);
}

} // namespace plat
