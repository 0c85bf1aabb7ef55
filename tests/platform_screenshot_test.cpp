// platform_screenshot_test.cpp — grabbing the frame drawn so far and saving
// it as a 24-bit BMP file.
#include "platform_helpers.h"

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
  const std::string path = tmp.path + "Warrenfold shot.bmp";
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
  EXPECT_FALSE(plat::SaveSpriteBmp(42, tmp.path + "x.bmp"));
  ASSERT_TRUE(plat::GrabSprite(1, 0, 0, 8, 8));
  EXPECT_FALSE(plat::SaveSpriteBmp(1, "/nonexistent-folder/x.bmp"));
  plat::CloseScreen();
  EXPECT_FALSE(plat::GrabSprite(1, 0, 0, 8, 8));
}

} // namespace
