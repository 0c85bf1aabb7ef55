// images.cpp — off-screen images: cairo ARGB32 surfaces (premultiplied),
// made from PNG bytes, files, pictures or a fill colour.
#include "platform/internal.h"

#include <cstring>

namespace plat {

using detail::Image;
using detail::State;

namespace detail {

Image::~Image() {
  if (surface)
    cairo_surface_destroy(surface);
}

cairo_surface_t *SurfaceFromPicture(const Picture &pic) {
  if (!PictureSizeOk(pic.width, pic.height) ||
      pic.pixels.size() != size_t(pic.width) * pic.height * 4)
    return nullptr;
  cairo_surface_t *s =
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pic.width, pic.height);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return nullptr;
  }
  cairo_surface_flush(s);
  uint8_t *data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < pic.height; ++y)
    Premultiply(&pic.pixels[size_t(y) * pic.width * 4],
                data + size_t(y) * stride, size_t(pic.width));
  cairo_surface_mark_dirty(s);
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

int InstallImage(int number, cairo_surface_t *surface) {
  NumberTable<Image> &table = State().images;
  int n = table.Choose(number);
  if (n < 0) {
    if (surface)
      cairo_surface_destroy(surface);
    return -1;
  }
  const DrawState &d = State().draw;
  if (d.active && d.target == Target::Image && d.number == n)
    EndDrawing(); // the drawing context must not outlive its surface
  table.Free(n);
  if (!surface)
    return -1;
  auto image = std::make_unique<Image>();
  image->surface = surface;
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
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  if (cairo_surface_status(s) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(s);
    return detail::InstallImage(number, nullptr);
  }
  cairo_t *cr = cairo_create(s);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgba(cr, fill.r / 255.0, fill.g / 255.0, fill.b / 255.0,
                        fill.a / 255.0);
  cairo_paint(cr);
  cairo_destroy(cr);
  return detail::InstallImage(number, s);
}

int ImageFromPicture(int number, Picture &&pic) {
  cairo_surface_t *s = detail::SurfaceFromPicture(pic);
  pic = Picture{};
  return detail::InstallImage(number, s);
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
  return i ? cairo_image_surface_get_width(i->surface) : 0;
}

int ImageHeight(int number) {
  Image *i = State().images.Get(number);
  return i ? cairo_image_surface_get_height(i->surface) : 0;
}

void ResizeImage(int number, int w, int h) {
  Image *i = State().images.Get(number);
  if (!i || !detail::PictureSizeOk(w, h))
    return;
  if (w == ImageWidth(number) && h == ImageHeight(number))
    return;
  Picture scaled =
      ResamplePicture(detail::PictureFromSurface(i->surface), w, h);
  cairo_surface_t *s = detail::SurfaceFromPicture(scaled);
  if (!s)
    return;
  detail::DrawState &d = State().draw;
  if (d.active && d.target == Target::Image && d.number == number)
    detail::EndDrawing();
  cairo_surface_destroy(i->surface);
  i->surface = s;
}

} // namespace plat
