// images.cpp — off-screen images: cairo ARGB32 surfaces (premultiplied),
// made from PNG bytes, files, pictures or a fill colour.
#include "platform/images.h"
#include "platform/core.h"
#include "platform/files.h"
#include "platform/internal.h"
#include "platform/pictures.h"

#include <cstring>

namespace plat {

using detail::Image;
using detail::State;

namespace detail {

SurfacePtr NewSurface(int w, int h) {
  SurfacePtr s(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  const cairo_status_t status = cairo_surface_status(s.get());
  if (status != CAIRO_STATUS_SUCCESS) {
    ReportFailure("cairo_image_surface_create", cairo_status_to_string(status));
    return nullptr;
  }
  return s; // cairo clears new image surfaces to transparent
}

SurfacePtr SurfaceFromPicture(const Picture &pic) {
  if (!PictureSizeOk(pic.width, pic.height) ||
      pic.pixels.size() != size_t(pic.width) * pic.height * 4)
    return nullptr;
  SurfacePtr s = NewSurface(pic.width, pic.height);
  if (!s)
    return nullptr;
  cairo_surface_flush(s.get());
  uint8_t *data = cairo_image_surface_get_data(s.get());
  const int stride = cairo_image_surface_get_stride(s.get());
  for (int y = 0; y < pic.height; ++y)
    Premultiply(&pic.pixels[size_t(y) * pic.width * 4],
                data + size_t(y) * stride, size_t(pic.width));
  cairo_surface_mark_dirty(s.get());
  return s;
}

Picture PictureFromSurface(cairo_surface_t *s) {
  Picture pic;
  cairo_surface_flush(s);
  pic.width = cairo_image_surface_get_width(s);
  pic.height = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  const uint8_t *data = cairo_image_surface_get_data(s);
  pic.pixels.resize(size_t(pic.width) * pic.height * 4);
  for (int y = 0; y < pic.height; ++y)
    Unpremultiply(data + size_t(y) * stride,
                  &pic.pixels[size_t(y) * pic.width * 4], size_t(pic.width));
  return pic;
}

namespace {

int InstallImage(int number, SurfacePtr surface) {
  NumberTable<Image> &table = State().images;
  int n = table.Choose(number);
  if (n < 0)
    return -1;
  const DrawState &d = State().draw;
  if (d.active && d.target == Target::Image && d.number == n)
    EndDrawing(); // the drawing context must not outlive its surface
  table.Free(n);
  if (!surface)
    return -1;
  auto image = std::make_unique<Image>();
  image->surface = std::move(surface);
  table.Put(n, std::move(image));
  return n;
}

} // namespace
} // namespace detail

int LoadImage(int number, const uint8_t *png, size_t size) {
  Picture pic;
  if (!DecodePng(png, size, pic))
    return detail::InstallImage(number, nullptr);
  return ImageFromPicture(number, std::move(pic));
}

int LoadImageFile(int number, const std::string &path) {
  std::vector<uint8_t> bytes;
  if (!ReadFile(path, bytes))
    return detail::InstallImage(number, nullptr);
  return LoadImage(number, bytes.data(), bytes.size());
}

int CreateImage(int number, int w, int h, Colour fill) {
  if (!detail::PictureSizeOk(w, h))
    return detail::InstallImage(number, nullptr);
  detail::SurfacePtr s = detail::NewSurface(w, h);
  if (!s)
    return detail::InstallImage(number, nullptr);
  detail::CairoPtr cr(cairo_create(s.get()));
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr.get(), fill.r / 255.0, fill.g / 255.0,
                        fill.b / 255.0, fill.a / 255.0);
  cairo_paint(cr.get());
  cr.reset();
  return detail::InstallImage(number, std::move(s));
}

int ImageFromPicture(int number, Picture &&pic) {
  detail::SurfacePtr s = detail::SurfaceFromPicture(pic);
  pic = Picture{};
  return detail::InstallImage(number, std::move(s));
}

void FreeImage(int number) {
  detail::DrawState &d = State().draw;
  if (d.active && d.target == Target::Image && d.number == number)
    detail::EndDrawing();
  State().images.Free(number);
}

bool ImageExists(int number) { return State().images.Get(number) != nullptr; }

int ImageWidth(int number) {
  Image *i = State().images.Get(number);
  return i ? cairo_image_surface_get_width(i->surface.get()) : 0;
}

int ImageHeight(int number) {
  Image *i = State().images.Get(number);
  return i ? cairo_image_surface_get_height(i->surface.get()) : 0;
}

void ResizeImage(int number, int w, int h) {
  Image *i = State().images.Get(number);
  if (!i || !detail::PictureSizeOk(w, h))
    return;
  if (w == ImageWidth(number) && h == ImageHeight(number))
    return;
  Picture scaled =
      ResamplePicture(detail::PictureFromSurface(i->surface.get()), w, h);
  detail::SurfacePtr s = detail::SurfaceFromPicture(scaled);
  if (!s)
    return;
  detail::DrawState &d = State().draw;
  if (d.active && d.target == Target::Image && d.number == number)
    detail::EndDrawing();
  i->surface = std::move(s);
}

} // namespace plat
