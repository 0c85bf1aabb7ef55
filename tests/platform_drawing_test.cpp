// platform_drawing_test.cpp — images, drawing on images, sprites and the
// screen, fonts and vector text.
#include "platform/core.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/images.h"
#include "platform/pictures.h"
#include "platform/sprites.h"
#include "platform/text.h"
#include "platform_helpers.h"

using namespace plat_test;
using plat::Colour;

// fontconfig keeps a few hundred bytes of its own for the whole run; the
// leak checker of sanitizer builds is told so.
extern "C" const char *__lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace {

using DrawingTest = ScreenTest;

// Bounding box of the pixels with any alpha: x0, y0, x1, y1 (inclusive);
// x1 < 0 when there are none.
struct Bounds {
  int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
};
std::string Said(const Bounds &b) {
  return std::to_string(b.x0) + "," + std::to_string(b.y0) + " to " +
         std::to_string(b.x1) + "," + std::to_string(b.y1);
}
Bounds Inked(const plat::Picture &p) {
  Bounds b;
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (GetPixel(p, x, y).a) {
        b.x0 = std::min(b.x0, x), b.x1 = std::max(b.x1, x);
        b.y0 = std::min(b.y0, y), b.y1 = std::max(b.y1, y);
      }
  return b;
}

TEST_F(DrawingTest, TextInTheLiberationFontsStartsAtTheCursor) {
  ASSERT_EQ(plat::LoadFont(0, "Arial", 30, true), 0);
  EXPECT_EQ(plat::FontFamily(0), "Liberation Sans");
  ASSERT_EQ(plat::LoadFont(plat::kAnyNumber, "Courier New", 10, false), 100);
  EXPECT_EQ(plat::FontFamily(100), "Liberation Mono");
  EXPECT_EQ(plat::FontFamily(5), "");
  plat::SetVectorFont(0, 40);
  plat::SetVectorColour({255, 255, 255, 255});
  const double w = plat::VectorTextWidth("Hello");
  const double h = plat::VectorTextHeight("Hello");
  EXPECT_TRUE(w > 60 && w < 160 && h > 35 && h < 60) << w << " x " << h;
  // Drawn whole, then in two parts: the cursor moves on after each.
  plat::Picture pic;
  Bounds b[2];
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(plat::CreateSprite(1, 300, 100), 1);
    ASSERT_TRUE(plat::BeginDraw(plat::Target::Sprite, 1));
    plat::MovePathCursor(20, 30);
    plat::DrawVectorText(i ? "Hel" : "Hello");
    if (i)
      plat::DrawVectorText("lo");
    plat::EndDraw();
    ASSERT_TRUE(plat::SpritePixels(1, pic));
    b[i] = Inked(pic);
  }
  EXPECT_TRUE(b[0].x0 >= 20 && b[0].x0 <= 26 && b[0].y0 >= 30 && b[0].x1 >= 0 &&
              b[0].x1 <= 20 + w && b[0].y1 <= 30 + h)
      << Said(b[0]);
  EXPECT_GT(b[1].x1, 20 + plat::VectorTextWidth("Hel"));
  EXPECT_NEAR(b[1].x1, b[0].x1, 3);
  // Straight alpha after drawing: antialiased edges keep the text's colour.
  int edges = 0;
  for (size_t i = 0; i < pic.pixels.size(); i += 4)
    if (pic.pixels[i + 3] > 0 && pic.pixels[i + 3] < 255) {
      ++edges;
      EXPECT_GE(pic.pixels[i + 2], 250);
    }
  EXPECT_GT(edges, 0);
}

TEST_F(DrawingTest, ParagraphsWrapInsideTheirBox) {
  ASSERT_EQ(plat::LoadFont(0, "Arial", 30, true), 0);
  plat::SetVectorFont(0, 18);
  plat::SetVectorColour({0, 0, 0, 255});
  plat::Picture pic;
  auto draw = [&pic](const char *text, double x, double y, double w, double h) {
    ASSERT_EQ(plat::CreateSprite(1, 300, 300), 1);
    ASSERT_TRUE(plat::BeginDraw(plat::Target::Sprite, 1));
    plat::MovePathCursor(x, y);
    plat::DrawVectorParagraph(text, w, h, true);
    plat::EndDraw();
    ASSERT_TRUE(plat::SpritePixels(1, pic));
  };
  draw("A rather long line of words that cannot fit on one line of this box\n"
       "Averyveryverylongwordwithoutanybreakthatmustbesplit\nand more lines "
       "after it, more than the box can hold, which are cut off",
       50, 40, 120, 100);
  // The box ends at 169, 139, the text does not, but it fills the box.
  const Bounds b = Inked(pic);
  EXPECT_TRUE(b.x0 >= 50 && b.y0 >= 40 && b.x1 >= 0 && b.x1 <= 169 &&
              b.y1 >= 120 && b.y1 <= 139)
      << Said(b);
  // Centred: a short line sits in the middle.
  draw("ii", 0, 0, 200, 50);
  const Bounds c = Inked(pic);
  EXPECT_NEAR((c.x0 + c.x1) / 2.0, 100, 4);
}

TEST_F(DrawingTest, ImagesFromEverySourceBoxesAndCopies) {
  plat::Picture blue = Solid(4, 4, {0, 0, 255, 128});
  TempDir tmp;
  ASSERT_TRUE(plat::WriteFileAtomic(tmp.File("blue.png"), Png(blue)));
  ASSERT_EQ(plat::LoadImageFile(plat::kAnyNumber, tmp.File("blue.png")), 100);
  const std::vector<uint8_t> png = Png(blue);
  ASSERT_EQ(plat::LoadImage(2, png.data(), png.size()), 2);
  ASSERT_EQ(plat::ImageFromPicture(3, std::move(blue)), 3);
  EXPECT_EQ(plat::LoadImageFile(4, tmp.File("missing")), -1);
  EXPECT_EQ(plat::LoadImage(4, png.data(), 10), -1);
  ASSERT_EQ(plat::CreateImage(1, 10, 10, {255, 0, 0, 255}), 1);
  EXPECT_EQ(plat::ImageWidth(1), 10);
  ASSERT_EQ(plat::CreateSprite(1, 20, 20), 1);
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Sprite, 1));
  plat::DrawImage(1, 0, 0);        // opaque copy
  plat::DrawAlphaImage(100, 0, 0); // blended over red
  plat::DrawImage(2, 6, 6);        // copied with its alpha
  plat::Box(15, 15, 3, 3, {0, 255, 0, 255});
  plat::MovePathCursor(12, 0);
  plat::DrawVectorImage(3);
  // A new drawing ends the one before; another image freed or resized
  // meanwhile does not end it.
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Image, 1));
  plat::FreeImage(2);
  EXPECT_FALSE(plat::ImageExists(2));
  plat::ResizeImage(100, 2, 2);
  plat::Box(0, 0, 5, 10, {0, 0, 0, 255});
  plat::EndDraw();
  EXPECT_TRUE(Near(SpritePixel(1, 1, 1), {127, 0, 128, 255}, 2))
      << Str(SpritePixel(1, 1, 1));
  EXPECT_EQ(SpritePixel(1, 7, 7).a, 128);
  EXPECT_TRUE(Near(SpritePixel(1, 7, 7), {0, 0, 255, 128}, 1));
  EXPECT_TRUE(Near(SpritePixel(1, 16, 16), {0, 255, 0, 255}, 0));
  EXPECT_EQ(SpritePixel(1, 13, 1).a, 128);
  EXPECT_EQ(SpritePixel(1, 19, 0).a, 0);
  // The image drawn on, resized smoothly.
  plat::ResizeImage(1, 2, 1);
  EXPECT_EQ(std::pair(plat::ImageWidth(1), plat::ImageHeight(1)),
            std::pair(2, 1));
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Sprite, 1));
  plat::DrawImage(1, 0, 0);
  plat::EndDraw();
  EXPECT_TRUE(Near(SpritePixel(1, 0, 0), {0, 0, 0, 255}, 0));
  EXPECT_TRUE(Near(SpritePixel(1, 1, 0), {255, 0, 0, 255}, 0));

  EXPECT_FALSE(plat::BeginDraw(plat::Target::Image, 77));
  EXPECT_FALSE(plat::BeginDraw(plat::Target::Sprite, 77));
  plat::Box(0, 0, 5, 5, {1, 1, 1, 255}); // nothing to draw on: ignored
}

TEST_F(DrawingTest, DrawingOnTheScreenBlendsOverTheFrame) {
  plat::ClearScreen({0, 0, 100, 255});
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Screen));
  plat::Box(10, 10, 5, 5, {255, 255, 255, 255});
  plat::Box(20, 10, 5, 5, {255, 0, 0, 128});
  plat::EndDraw();
  ExpectScreen(12, 12, {255, 255, 255, 255});
  ExpectScreen(22, 12, {128, 0, 50, 255}, 2);
  ExpectScreen(40, 40, {0, 0, 100, 255});
}

} // namespace
