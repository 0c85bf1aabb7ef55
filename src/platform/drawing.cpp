// drawing.cpp — drawing on an image, a sprite or the screen through cairo:
// the drawing target, boxes and image copies.
#include "platform/core.h"
#include "platform/images.h"
#include "platform/internal.h"
#include "platform/text.h"

namespace plat {

using detail::DrawState;
using detail::State;

namespace {

void SetSource(cairo_t *cr, Colour c) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, c.a / 255.0);
}

detail::SurfacePtr BlankSurface(int w, int h) {
  if (!detail::PictureSizeOk(w, h))
    return nullptr;
  return detail::NewSurface(w, h);
}

// Composites a screen-sized drawing onto the back buffer.
void PutOnScreen(cairo_surface_t *surface) {
  detail::DisplayState &d = State().display;
  if (!d.renderer)
    return;
  detail::FlushBackdrop();
  const int w = cairo_image_surface_get_width(surface);
  const int h = cairo_image_surface_get_height(surface);
  if (!d.overlay) {
    d.overlay.reset(SDL_CreateTexture(d.renderer.get(),
                                      SDL_PIXELFORMAT_ARGB8888,
                                      SDL_TEXTUREACCESS_STREAMING, w, h));
    if (!d.overlay) {
      detail::ReportFailure("SDL_CreateTexture");
      return;
    }
    SDL_SetTextureBlendMode(d.overlay.get(), SDL_BLENDMODE_BLEND);
  }
  void *pixels = nullptr;
  int pitch = 0;
  if (SDL_LockTexture(d.overlay.get(), nullptr, &pixels, &pitch) != 0) {
    detail::ReportFailure("SDL_LockTexture");
    return;
  }
  cairo_surface_flush(surface);
  const uint8_t *src = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < h; ++y)
    detail::Unpremultiply(src + size_t(y) * stride,
                          static_cast<uint8_t *>(pixels) + size_t(y) * pitch,
                          size_t(w));
  SDL_UnlockTexture(d.overlay.get());
  SDL_Rect dst{0, 0, w, h};
  SDL_RenderCopy(d.renderer.get(), d.overlay.get(), nullptr, &dst);
}

} // namespace

namespace detail {

void EndDrawing() {
  DrawState &d = State().draw;
  if (!d.active)
    return;
  d.active = false;
  d.cr.reset();
  cairo_surface_flush(d.surface.get());
  if (d.target == Target::Sprite) {
    if (Sprite *s = State().sprites.Get(d.number)) {
      // Straight alpha for the texture; fully opaque pixels pass unchanged.
      ReplaceSpritePicture(*s, PictureFromSurface(d.surface.get()));
      PreparePrescaled(*s);
    }
  } else if (d.target == Target::Screen) {
    PutOnScreen(d.surface.get());
  }
  d.surface.reset(); // our reference, for images too
}

} // namespace detail

bool BeginDraw(Target target, int number) {
  detail::EndDrawing();
  detail::PlatformState &st = State();
  DrawState &d = st.draw;
  detail::SurfacePtr surface;
  switch (target) {
  case Target::Image: {
    detail::Image *image = st.images.Get(number);
    if (!image)
      return false;
    // Held while drawing, so that freeing the image meanwhile is safe.
    surface.reset(cairo_surface_reference(image->surface.get()));
    break;
  }
  case Target::Sprite: {
    detail::Sprite *sprite = st.sprites.Get(number);
    if (!sprite || !detail::EnsureResident(*sprite))
      return false;
    surface = detail::SurfaceFromSprite(*sprite);
    break;
  }
  case Target::Screen:
    if (!st.display.renderer)
      return false;
    surface = BlankSurface(st.display.width, st.display.height);
    break;
  }
  if (!surface)
    return false;
  d.cr.reset(cairo_create(surface.get()));
  d.surface = std::move(surface);
  d.target = target;
  d.number = number;
  d.active = true;
  return true;
}

void EndDraw() { detail::EndDrawing(); }

void Box(int x, int y, int w, int h, Colour c) {
  DrawState &d = State().draw;
  if (!d.active || w <= 0 || h <= 0)
    return;
  // A box replaces what lies under it, alpha included.
  cairo_t *cr = d.cr.get();
  cairo_save(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  SetSource(cr, c);
  cairo_rectangle(cr, x, y, w, h);
  cairo_fill(cr);
  cairo_restore(cr);
}

namespace {

void PaintImage(int image, double x, double y, cairo_operator_t op) {
  DrawState &d = State().draw;
  detail::Image *i = State().images.Get(image);
  if (!d.active || !i || i->surface.get() == d.surface.get())
    return;
  cairo_t *cr = d.cr.get();
  cairo_surface_t *source = i->surface.get();
  cairo_save(cr);
  cairo_set_operator(cr, op);
  cairo_set_source_surface(cr, source, x, y);
  cairo_rectangle(cr, x, y, cairo_image_surface_get_width(source),
                  cairo_image_surface_get_height(source));
  cairo_fill(cr);
  cairo_restore(cr);
}

} // namespace

void DrawImage(int image, int x, int y) {
  PaintImage(image, x, y, CAIRO_OPERATOR_SOURCE);
}

void DrawAlphaImage(int image, int x, int y) {
  PaintImage(image, x, y, CAIRO_OPERATOR_OVER);
}

void DrawVectorImage(int image) {
  const DrawState &d = State().draw;
  PaintImage(image, d.cursorX, d.cursorY, CAIRO_OPERATOR_OVER);
}

} // namespace plat
