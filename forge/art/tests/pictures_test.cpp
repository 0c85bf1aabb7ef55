// pictures_test.cpp — the drawing core's export of pixels.
#include "canvas.h"

#include <gtest/gtest.h>

// fontconfig keeps its caches for the whole run; sanitizer builds' leak
// checker is told so.
extern "C" const char *__lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

TEST(Canvas, ExportsStraightAlphaOpaqueAndColourKeyedPixels) {
  art::Canvas c(4, 1);
  // Pixel 0: half-transparent orange; 1: solid near-black motif; 2: a
  // quarter covered in white; 3: three quarters covered in red.
  auto fill = [&](double x, double w, double r, double g, double b, double a) {
    cairo_rectangle(c.cr, x, 0, w, 1);
    cairo_set_source_rgba(c.cr, r, g, b, a);
    cairo_fill(c.cr);
  };
  fill(0, 1, 1, 0.5, 0, 0.5);
  fill(1, 1, 0, 0, 0, 1);
  fill(2, 0.25, 1, 1, 1, 1);
  fill(3, 0.75, 1, 0, 0, 1);
  // Premultiplied (128, 64, 0, 128) back to straight colour.
  std::vector<uint8_t> px = art::ToImage(c).rgba;
  EXPECT_EQ(px[0], 255);
  EXPECT_NEAR(px[1], 128, 1);
  EXPECT_NEAR(px[3], 128, 1);
  EXPECT_NEAR(px[2 * 4 + 3], 64, 1);
  px = art::ToImage(c, false).rgba;
  for (size_t i = 3; i < px.size(); i += 4)
    EXPECT_EQ(px[i], 255);
  // Keyed on pure black: a motif never is, a pixel less than half covered is.
  px = art::ToKeyedImage(c).rgba;
  EXPECT_EQ(std::vector(px.begin() + 4, px.end()),
            (std::vector<uint8_t>{1, 1, 1, 255, 0, 0, 0, 255, 255, 0, 0, 255}));
}
