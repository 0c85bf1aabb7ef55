// pictures_test.cpp — the drawing core's export of pixels, and the
// characters reading clearly: faces turned the way they go, kinds apart.
#include "canvas.h"
#include "characters.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>

// fontconfig keeps its caches for the whole run; sanitizer builds' leak
// checker is told so.
extern "C" const char *__lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

TEST(Canvas, ExportsStraightAlphaAndColourKeyedPixels) {
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
  // Keyed on pure black: a motif never is, a pixel less than half covered is.
  px = art::ToKeyedImage(c).rgba;
  EXPECT_EQ(std::vector(px.begin() + 4, px.end()),
            (std::vector<uint8_t>{1, 1, 1, 255, 0, 0, 0, 255, 255, 0, 0, 255}));
}

namespace {

art::Image Character(int kind, art::Dir dir) {
  art::Canvas c(art::kFrameSize, art::kFrameSize);
  if (kind == 0)
    art::DrawPlayer(c.cr, dir, 0);
  else
    art::DrawMonster(c.cr, kind, dir, 0);
  return art::ToImage(c);
}

// Centroid of the darkest solid pixels (pupils, most outlines) in the band
// where every character has its face; and the mean colour of the body.
std::array<double, 5> Looks(const art::Image &img) {
  std::array<double, 5> sum{}; // dark x, dark y, body r, g, b
  double dark = 0, solid = 0;
  for (int y = 0; y < img.height; ++y)
    for (int x = 0; x < img.width; ++x) {
      const uint8_t *p = &img.rgba[(size_t(y) * img.width + x) * 4];
      if (p[3] != 255)
        continue;
      for (int c = 0; c < 3; ++c)
        sum[2 + c] += p[c];
      ++solid;
      if (y >= 24 && y < 62 && 0.3 * p[0] + 0.59 * p[1] + 0.11 * p[2] < 40) {
        sum[0] += x, sum[1] += y;
        ++dark;
      }
    }
  return {sum[0] / dark, sum[1] / dark, sum[2] / solid, sum[3] / solid,
          sum[4] / solid};
}

} // namespace

TEST(Characters, FacesTurnTheWayTheyGoAndKindsDifferInColour) {
  std::vector<std::array<double, 5>> down;
  for (int kind = 0; kind <= art::kMonsterKinds; ++kind) {
    SCOPED_TRACE(kind);
    const auto left = Looks(Character(kind, art::Dir::Left));
    EXPECT_LT(left[0] + 1.5, Looks(Character(kind, art::Dir::Right))[0]);
    down.push_back(Looks(Character(kind, art::Dir::Down)));
    if (kind > 0) { // the player shows its back going up
      EXPECT_LT(Looks(Character(kind, art::Dir::Up))[1] + 1.0, down.back()[1]);
    }
  }
  for (size_t a = 0; a < down.size(); ++a)
    for (size_t b = a + 1; b < down.size(); ++b)
      EXPECT_GT(std::abs(down[a][2] - down[b][2]) +
                    std::abs(down[a][3] - down[b][3]) +
                    std::abs(down[a][4] - down[b][4]),
                60)
          << "kinds " << a << " and " << b;
}
