// pictures_test.cpp — drawing core: PNG encoding, pixel export, blur, text.
#include "blur.h"
#include "canvas.h"
#include "png_read.h"
#include "png_writer.h"
#include "text_art.h"

#include <gtest/gtest.h>

#include <numeric>

// fontconfig keeps its caches for the whole run; sanitizer builds' leak
// checker is told so.
extern "C" const char *__lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

using art::Canvas;
using art::Image;

Image Gradient(bool alpha) {
  Canvas c(37, 21);
  cairo_pattern_t *p = cairo_pattern_create_linear(0, 0, 37, 21);
  cairo_pattern_add_color_stop_rgba(p, 0, 1, 0.2, 0.1, alpha ? 0.3 : 1);
  cairo_pattern_add_color_stop_rgba(p, 1, 0.1, 0.5, 1, 1);
  cairo_set_source(c.cr, p);
  cairo_paint(c.cr);
  cairo_pattern_destroy(p);
  return art::ToImage(c, alpha);
}

TEST(PngWriter, RoundTripsPixelsWithOnlyTheEssentialChunks) {
  for (bool alpha : {true, false}) {
    Image img = Gradient(alpha);
    std::vector<uint8_t> bytes = art::EncodePng(img);
    art_test::Decoded d = art_test::DecodePng(bytes);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, 37);
    EXPECT_EQ(d.height, 21);
    EXPECT_EQ(d.rgba, img.rgba);
    // No time stamp or text: the same pixels must give the same bytes.
    std::vector<std::string> chunks = art_test::Chunks(bytes);
    for (const std::string &c : chunks)
      EXPECT_TRUE(c == "IHDR" || c == "IDAT" || c == "IEND") << c;
    EXPECT_EQ(bytes[25], alpha ? 6 : 2) << "colour type";
    EXPECT_EQ(art::EncodePng(img), bytes);
  }
}

TEST(Canvas, ExportsStraightAlphaAndOpaquePictures) {
  Canvas c(4, 2);
  cairo_rectangle(c.cr, 0, 0, 2, 2);
  cairo_set_source_rgba(c.cr, 1, 0.5, 0, 0.5);
  cairo_fill(c.cr);
  Image img = art::ToImage(c);
  // Premultiplied (128, 64, 0, 128) back to straight colour.
  EXPECT_EQ(img.rgba[0], 255);
  EXPECT_NEAR(img.rgba[1], 128, 1);
  EXPECT_EQ(img.rgba[2], 0);
  EXPECT_NEAR(img.rgba[3], 128, 1);
  // Untouched pixels stay fully transparent.
  EXPECT_EQ(img.rgba[3 * 4 + 3], 0);
  Image opaque = art::ToImage(c, false);
  for (size_t i = 3; i < opaque.rgba.size(); i += 4)
    EXPECT_EQ(opaque.rgba[i], 255);
}

TEST(Canvas, KeyedPicturesAreOpaqueWithPureBlackOnlyOutsideTheMotif) {
  Canvas c(3, 1);
  // Pixel 0: solid near-black motif; pixel 1: a quarter covered; pixel 2:
  // three quarters covered in red.
  cairo_rectangle(c.cr, 0, 0, 1, 1);
  cairo_set_source_rgb(c.cr, 0, 0, 0);
  cairo_fill(c.cr);
  cairo_rectangle(c.cr, 1, 0, 0.25, 1);
  cairo_set_source_rgb(c.cr, 1, 1, 1);
  cairo_fill(c.cr);
  cairo_rectangle(c.cr, 2, 0, 0.75, 1);
  cairo_set_source_rgb(c.cr, 1, 0, 0);
  cairo_fill(c.cr);
  Image img = art::ToKeyedImage(c);
  const std::vector<uint8_t> want = {1, 1,   1,   255, 0, 0,
                                     0, 255, 255, 0,   0, 255};
  EXPECT_EQ(img.rgba, want);
}

TEST(Blur, SpreadsASpotWithoutLosingItsWeight) {
  cairo_surface_t *s = art::MakeSurface(41, 41, CAIRO_FORMAT_A8);
  unsigned char *data = cairo_image_surface_get_data(s);
  int stride = cairo_image_surface_get_stride(s);
  for (int y = 18; y < 23; ++y)
    for (int x = 18; x < 23; ++x)
      data[y * stride + x] = 200;
  cairo_surface_mark_dirty(s);
  art::BlurSurface(s, 3);
  long total = 0;
  for (int y = 0; y < 41; ++y)
    for (int x = 0; x < 41; ++x)
      total += data[y * stride + x];
  EXPECT_NEAR(total, 25 * 200, 25 * 200 / 20);
  EXPECT_LT(data[20 * stride + 20], 200);
  EXPECT_GT(data[20 * stride + 27], 0);
  EXPECT_EQ(data[20 * stride + 40], 0);
  cairo_surface_destroy(s);
}

TEST(TextArt, FontsAreTheIntendedFaces) { EXPECT_NO_THROW(art::CheckFonts()); }

TEST(TextArt, EveryLetterKeepsItsInkFarFromTheOrigin) {
  // A long word at a large size reaches far right; each letter, the last
  // one included, must still be a path with ink.
  art::TextShape t =
      art::MakeText("CONGRATULATIONS!", art::Face::SansBold, 160, 4);
  ASSERT_EQ(t.letters.size(), 16u);
  for (const art::Glyph &g : t.letters)
    EXPECT_GT(g.inkW, 0) << g.text;
  EXPECT_GT(t.letters.back().x, 1500);
  const art::Glyph &last = t.letters.back();
  EXPECT_NEAR(t.whole.inkX + t.whole.inkW, last.inkX + last.inkW, 1.0);
}

TEST(TextArt, SizeForWidthHitsTheWidth) {
  for (double spacing : {0.0, 8.0}) {
    double size =
        art::SizeForWidth("READY?", art::Face::SansBold, 300, spacing);
    art::TextShape t =
        art::MakeText("READY?", art::Face::SansBold, size, spacing);
    EXPECT_NEAR(t.width, 300, 6) << spacing;
  }
}

} // namespace
