// platform_screenshot_test.cpp — grabbing the frame drawn so far, however
// the screen stretches it to the window, and saving it as a 24-bit BMP.
#include "platform/core.h"
#include "platform/display.h"
#include "platform/files.h"
#include "platform/images.h"
#include "platform/pictures.h"
#include "platform/screenshot.h"
#include "platform/sprites.h"
#include "platform_helpers.h"

using namespace plat_test;

namespace {

using ScreenshotTest = ScreenTest;

// The scene drawn in a w x h frame: a background, a sprite in two corners,
// a box drawn through cairo and a sprite of one-pixel stripes.
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

uint32_t U32(const std::vector<uint8_t> &b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | uint32_t(b[at + 3]) << 24;
}

TEST_F(ScreenshotTest, AGrabIsSavedAsA24BitBmpBottomRowFirst) {
  DrawScene(kW, kH);
  const plat::Picture frame = Grab(0, 0, kW, kH);
  // Stretched one and a half times with bars above and below, the frame is
  // still grabbed pixel for pixel at its own size.
  StretchScreenTo(480, 400);
  DrawScene(kW, kH);
  // Partly off the screen at the top (black there), away from the left
  // edge, and rows of 181 * 3 bytes padded to 544.
  const int x0 = 7, y0 = -10, w = 181, h = 130;
  ASSERT_TRUE(plat::GrabSprite(3, x0, y0, w, h));
  TempDir tmp;
  const std::string path = tmp.File("Warrenfold shot.bmp");
  ASSERT_TRUE(plat::SaveSpriteBmp(3, path));
  std::vector<uint8_t> bmp;
  ASSERT_TRUE(plat::ReadFile(path, bmp));
  ASSERT_EQ(bmp.size(), 54u + 544 * h);
  EXPECT_EQ(bmp[0], 'B');
  EXPECT_EQ(bmp[1], 'M');
  const uint32_t header[][2] = {
      {2, 54 + 544 * h}, {10, 54},           {14, 40}, {18, w},
      {22, h},           {26, 1 | 24 << 16}, {30, 0},  {34, 544 * h}};
  for (const auto &[at, want] : header)
    EXPECT_EQ(U32(bmp, at), want) << "at " << at;
  int wrong = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint8_t *p = &bmp[54 + 544 * (h - 1 - y) + x * 3];
      const bool on = x0 + x >= 0 && y0 + y >= 0;
      wrong += !Near(
          {p[2], p[1], p[0], 255},
          on ? GetPixel(frame, x0 + x, y0 + y) : plat::Colour{0, 0, 0, 255}, 0);
    }
  EXPECT_EQ(wrong, 0);

  EXPECT_FALSE(plat::GrabSprite(4, 0, 0, 0, 10));
  EXPECT_FALSE(plat::SaveSpriteBmp(42, path));
  EXPECT_FALSE(plat::SaveSpriteBmp(3, "/nonexistent-folder/x.bmp"));
  EXPECT_FALSE(plat::OpenWindow(kW, 0, "test", plat::WindowStyle::Windowed));
  EXPECT_FALSE(plat::GrabSprite(4, 0, 0, 8, 8)); // the screen went with it
}

} // namespace
