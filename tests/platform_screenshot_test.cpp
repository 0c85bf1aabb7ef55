// platform_screenshot_test.cpp — grabbing the frame drawn so far and saving
// it as a 24-bit BMP file.
#include "platform_helpers.h"

#include <algorithm>
#include <fstream>
#include <iterator>

using namespace plat_test;

namespace {

using ScreenshotTest = ScreenTest;

uint32_t U32(const std::vector<uint8_t> &b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

TEST_F(ScreenshotTest, GrabAndSaveGiveA24BitBmpOfTheFrame) {
  plat::ClearScreen({10, 20, 30, 255});
  ASSERT_EQ(plat::CreateSprite(1, 5, 3), 1);
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Sprite, 1));
  plat::Box(0, 0, 5, 3, {200, 100, 0, 255});
  plat::EndDraw();
  plat::DisplaySprite(1, 0, 0); // top-left corner
  ASSERT_TRUE(plat::GrabSprite(2, 0, 0, kW, kH));
  EXPECT_EQ(plat::SpriteWidth(2), kW);
  EXPECT_EQ(plat::SpriteHeight(2), kH);

  TempDir tmp;
  const std::string path = tmp.File("Warrenfold shot.bmp");
  ASSERT_TRUE(plat::SaveSpriteBmp(2, path));
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(plat::ReadFile(path, bmp));
  const uint32_t rowBytes = (kW * 3 + 3) & ~3u;
  ASSERT_EQ(bmp.size(), 54 + rowBytes * kH);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  EXPECT_EQ(U32(bmp, 2), bmp.size());
  EXPECT_EQ(U32(bmp, 10), 54u);
  EXPECT_EQ(U32(bmp, 18), uint32_t(kW));
  EXPECT_EQ(U32(bmp, 22), uint32_t(kH)); // bottom row first
  EXPECT_EQ(bmp[28], 24);
  EXPECT_EQ(U32(bmp, 30), 0u); // no compression
  // The screen's top-left pixel is in the last row of the file.
  const uint8_t *topLeft = &bmp[54 + rowBytes * (kH - 1)];
  EXPECT_EQ(topLeft[0], 0);   // blue
  EXPECT_EQ(topLeft[1], 100); // green
  EXPECT_EQ(topLeft[2], 200); // red
  const uint8_t *bottomRight = &bmp[54 + (kW - 1) * 3];
  EXPECT_EQ(bottomRight[0], 30);
  EXPECT_EQ(bottomRight[1], 20);
  EXPECT_EQ(bottomRight[2], 10);
  // Written again under the same name, the file is replaced.
  ASSERT_TRUE(plat::SaveSpriteBmp(1, path));
  EXPECT_EQ(plat::FileSize(path), int64_t(54 + 16 * 3));
}

TEST_F(ScreenshotTest, FailuresAreReported) {
  EXPECT_FALSE(plat::GrabSprite(1, 0, 0, 0, 10));
  TempDir tmp;
  EXPECT_FALSE(plat::SaveSpriteBmp(42, tmp.File("x.bmp")));
  ASSERT_TRUE(plat::GrabSprite(1, 0, 0, 8, 8));
  EXPECT_FALSE(plat::SaveSpriteBmp(1, "/nonexistent-folder/x.bmp"));
  plat::CloseScreen();
  EXPECT_FALSE(plat::GrabSprite(1, 0, 0, 8, 8));
}

// The scene the stretched-screen tests draw in a w x h frame: a background,
// a sprite in two corners, a box drawn through cairo and a sprite of
// one-pixel stripes.
void DrawScene(int w, int h) {
  plat::ClearScreen({10, 20, 30, 255});
  plat::FreeSprite(1);
  ASSERT_EQ(plat::CreateSprite(1, 40, 30), 1);
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Sprite, 1));
  plat::Box(0, 0, 40, 30, {200, 100, 0, 255});
  plat::EndDraw();
  plat::DisplaySprite(1, 0, 0);
  plat::DisplaySprite(1, w - 40, h - 30);
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Screen));
  plat::Box(w / 3, h / 4, w / 5, h / 3, {0, 180, 90, 255});
  plat::EndDraw();
  plat::Picture stripes = Solid(24, 24, {255, 255, 255, 255});
  for (int y = 0; y < 24; ++y)
    for (int x = 1; x < 24; x += 2)
      SetPixel(stripes, x, y, {0, 0, 255, 255});
  plat::FreeSprite(2);
  ASSERT_EQ(
      plat::CreateSpriteFromPicture(2, std::move(stripes), plat::kSpriteAlpha),
      2);
  plat::DisplaySprite(2, w / 2, h / 2 + 10);
}

// Reopens the screen in the same window stretched to w x h: the frame
// keeps its size, SDL scales it to the window.
void StretchScreenTo(int w, int h) {
  const int fw = plat::ScreenWidth(), fh = plat::ScreenHeight();
  plat::CloseScreen();
  ASSERT_TRUE(plat::ResizeWindowForTests(w, h));
  ASSERT_TRUE(plat::OpenScreenInWindow());
  ASSERT_EQ(plat::ScreenWidth(), fw);
  ASSERT_EQ(plat::ScreenHeight(), fh);
}

int Differences(const plat::Picture &a, const plat::Picture &b) {
  if (a.width != b.width || a.height != b.height)
    return -1;
  int n = 0;
  for (int y = 0; y < a.height; ++y)
    for (int x = 0; x < a.width; ++x)
      n += !Near(GetPixel(a, x, y), GetPixel(b, x, y), 0);
  return n;
}

// Pixels of `got` equal `ref` wherever ref is one colour within r pixels
// (at scales that are not whole or half numbers SDL itself moves edges by
// an output pixel); returns how many pixels were compared.
int ExpectSameAwayFromEdges(const plat::Picture &ref, const plat::Picture &got,
                            int r) {
  EXPECT_EQ(got.width, ref.width);
  EXPECT_EQ(got.height, ref.height);
  if (got.width != ref.width || got.height != ref.height)
    return 0;
  int compared = 0, wrong = 0;
  for (int y = r; y < ref.height - r; ++y)
    for (int x = r; x < ref.width - r; ++x) {
      const plat::Colour c = GetPixel(ref, x, y);
      bool uniform = true;
      for (int v = y - r; uniform && v <= y + r; ++v)
        for (int u = x - r; u <= x + r; ++u)
          if (!Near(GetPixel(ref, u, v), c, 0)) {
            uniform = false;
            break;
          }
      if (!uniform)
        continue;
      ++compared;
      if (!Near(GetPixel(got, x, y), c, 0) && ++wrong <= 5)
        ADD_FAILURE() << "at " << x << "," << y << ": "
                      << Str(GetPixel(got, x, y)) << " instead of " << Str(c);
    }
  EXPECT_EQ(wrong, 0);
  return compared;
}

TEST_F(ScreenshotTest, AFrameStretchedToTheWindowIsSavedAtItsOwnSize) {
  DrawScene(kW, kH);
  const plat::Picture frame = Grab(0, 0, kW, kH);
  StretchScreenTo(2 * kW, 2 * kH);
  DrawScene(kW, kH);
  ASSERT_TRUE(plat::GrabSprite(3, 0, 0, kW, kH));
  plat::Picture shot;
  ASSERT_TRUE(plat::SpritePixels(3, shot));
  EXPECT_EQ(Differences(frame, shot), 0);

  // The file holds the frame, pixel for pixel.
  TempDir tmp;
  const std::string path = tmp.File("shot.bmp");
  ASSERT_TRUE(plat::SaveSpriteBmp(3, path));
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(plat::ReadFile(path, bmp));
  const uint32_t rowBytes = (kW * 3 + 3) & ~3u;
  ASSERT_EQ(bmp.size(), 54 + rowBytes * kH);
  EXPECT_EQ(U32(bmp, 18), uint32_t(kW));
  EXPECT_EQ(U32(bmp, 22), uint32_t(kH));
  int wrong = 0;
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const uint8_t *p = &bmp[54 + rowBytes * (kH - 1 - y) + x * 3];
      wrong += !Near({p[2], p[1], p[0], 255}, GetPixel(frame, x, y), 0);
    }
  EXPECT_EQ(wrong, 0);

  // A part of the frame, partly off the screen: black there.
  const plat::Picture part = Grab(-10, 200, 60, 60);
  ASSERT_EQ(part.width, 60);
  ASSERT_EQ(part.height, 60);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 60; ++x) {
      const int fx = x - 10, fy = y + 200;
      const plat::Colour want = fx >= 0 && fy < kH ? GetPixel(frame, fx, fy)
                                                   : plat::Colour{0, 0, 0, 255};
      ASSERT_TRUE(Near(GetPixel(part, x, y), want, 0)) << x << "," << y;
    }
}

TEST_F(ScreenshotTest, ALetterboxedFrameIsGrabbedWithoutTheBars) {
  DrawScene(kW, kH);
  const plat::Picture frame = Grab(0, 0, kW, kH);
  // One and a half times, with bars above and below.
  StretchScreenTo(480, 400);
  DrawScene(kW, kH);
  EXPECT_EQ(Differences(frame, Grab(0, 0, kW, kH)), 0);
  // 1.5625 times.
  StretchScreenTo(500, 400);
  DrawScene(kW, kH);
  EXPECT_GT(ExpectSameAwayFromEdges(frame, Grab(0, 0, kW, kH), 2), kW * kH / 2);
}

TEST_F(ScreenshotTest, AFrameShrunkToASmallerWindowIsGrabbedAtFullSize) {
  // A full-screen mode that could not be set: the window is smaller.
  ASSERT_TRUE(
      plat::OpenWindow(2 * kW, 2 * kH, "test", plat::WindowStyle::Windowed));
  ASSERT_TRUE(plat::OpenScreenInWindow());
  DrawScene(2 * kW, 2 * kH);
  const plat::Picture frame = Grab(0, 0, 2 * kW, 2 * kH);
  StretchScreenTo(kW, kH);
  DrawScene(2 * kW, 2 * kH);
  const plat::Picture shot = Grab(0, 0, 2 * kW, 2 * kH);
  EXPECT_GT(ExpectSameAwayFromEdges(frame, shot, 4), kW * kH);
}

} // namespace
