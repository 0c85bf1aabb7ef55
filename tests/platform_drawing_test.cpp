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
  EXPECT_GT(w, 60);
  EXPECT_LT(w, 160);
  EXPECT_GT(h, 35);
  EXPECT_LT(h, 60);
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
  ASSERT_GE(b[0].x1, 0);
  EXPECT_GE(b[0].x0, 20);
  EXPECT_LE(b[0].x0, 26);
  EXPECT_GE(b[0].y0, 30);
  EXPECT_LE(b[0].x1, 20 + w);
  EXPECT_LE(b[0].y1, 30 + h);
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
  const Bounds b = Inked(pic);
  ASSERT_GE(b.x1, 0);
  EXPECT_GE(b.x0, 50);
  EXPECT_GE(b.y0, 40);
  EXPECT_LE(b.x1, 169);
  EXPECT_LE(b.y1, 139); // the box ends here, the text does not
  EXPECT_GE(b.y1, 120); // but it fills the box
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
  // A new drawing ends the one before; another image freed meanwhile.
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Image, 1));
  plat::FreeImage(2);
  EXPECT_FALSE(plat::ImageExists(2));
  plat::Box(0, 0, 5, 10, {0, 0, 0, 255});
  plat::EndDraw();
  plat::Picture p;
  ASSERT_TRUE(plat::SpritePixels(1, p));
  EXPECT_TRUE(Near(GetPixel(p, 1, 1), {127, 0, 128, 255}, 2))
      << Str(GetPixel(p, 1, 1));
  EXPECT_EQ(GetPixel(p, 7, 7).a, 128);
  EXPECT_TRUE(Near(GetPixel(p, 7, 7), {0, 0, 255, 128}, 1));
  EXPECT_TRUE(Near(GetPixel(p, 16, 16), {0, 255, 0, 255}, 0));
  EXPECT_EQ(GetPixel(p, 13, 1).a, 128);
  EXPECT_EQ(GetPixel(p, 19, 0).a, 0);
  // The image drawn on, resized smoothly.
  plat::ResizeImage(1, 2, 1);
  EXPECT_EQ(plat::ImageWidth(1), 2);
  EXPECT_EQ(plat::ImageHeight(1), 1);
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Sprite, 1));
  plat::DrawImage(1, 0, 0);
  plat::EndDraw();
  ASSERT_TRUE(plat::SpritePixels(1, p));
  EXPECT_TRUE(Near(GetPixel(p, 0, 0), {0, 0, 0, 255}, 0));
  EXPECT_TRUE(Near(GetPixel(p, 1, 0), {255, 0, 0, 255}, 0));

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
  EXPECT_TRUE(Near(ScreenPixel(12, 12), {255, 255, 255, 255}, 0));
  EXPECT_TRUE(Near(ScreenPixel(22, 12), {128, 0, 50, 255}, 2))
      << Str(ScreenPixel(22, 12));
  EXPECT_TRUE(Near(ScreenPixel(40, 40), {0, 0, 100, 255}, 0));
}

} // namespace
