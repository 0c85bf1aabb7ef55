// platform_helpers.h — shared set-up for the platform tests: a headless
// screen, solid pictures, reading screen pixels back.
#pragma once

#include "platform/core.h"
#include "platform/display.h"
#include "platform/pictures.h"
#include "platform/screenshot.h"
#include "platform/sprites.h"
#include "platform/test_hooks.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace plat_test {

// Without a screen: Init only (support/headless.cpp picks the drivers).
struct PlatformTest : ::testing::Test {
  void SetUp() override { ASSERT_TRUE(plat::Init()); }
  void TearDown() override { plat::Shutdown(); }
};

// A 320 x 240 window with a screen.
struct ScreenTest : PlatformTest {
  static constexpr int kW = 320, kH = 240;
  void SetUp() override {
    PlatformTest::SetUp();
    ASSERT_TRUE(plat::OpenWindow(kW, kH, "test", plat::WindowStyle::Windowed));
    ASSERT_TRUE(plat::OpenScreenInWindow());
  }
};

inline void SetPixel(plat::Picture &p, int x, int y, plat::Colour c) {
  uint8_t *q = &p.pixels[(size_t(y) * p.width + x) * 4];
  q[0] = c.b, q[1] = c.g, q[2] = c.r, q[3] = c.a;
}

inline plat::Colour GetPixel(const plat::Picture &p, int x, int y) {
  const uint8_t *q = &p.pixels[(size_t(y) * p.width + x) * 4];
  return plat::Colour{q[2], q[1], q[0], q[3]};
}

inline plat::Picture Solid(int w, int h, plat::Colour c) {
  plat::Picture p;
  p.width = w;
  p.height = h;
  p.pixels.resize(size_t(w) * h * 4);
  for (int i = 0; i < w * h; ++i)
    SetPixel(p, i % w, i / w, c);
  return p;
}

// The screen's pixels in a rectangle, through a grabbed sprite.
inline plat::Picture Grab(int x, int y, int w, int h) {
  plat::Picture p;
  EXPECT_TRUE(plat::GrabSprite(999, x, y, w, h));
  EXPECT_TRUE(plat::SpritePixels(999, p));
  plat::FreeSprite(999);
  return p;
}

// One pixel of a sprite's picture; clear when there is none there.
inline plat::Colour SpritePixel(int number, int x, int y) {
  plat::Picture p;
  EXPECT_TRUE(plat::SpritePixels(number, p)) << number;
  return x < p.width && y < p.height ? GetPixel(p, x, y) : plat::Colour{};
}

inline std::vector<uint8_t> Png(const plat::Picture &p) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(plat::EncodePng(p, bytes));
  return bytes;
}

// A sprite made from the picture's PNG bytes, as the game loads them.
inline int Load(int number, const plat::Picture &pic, unsigned flags) {
  const std::vector<uint8_t> png = Png(pic);
  return plat::LoadSprite(number, png.data(), png.size(), flags);
}

inline bool Near(plat::Colour a, plat::Colour b, int tolerance) {
  return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
         std::abs(a.b - b.b) <= tolerance;
}

inline std::string Str(plat::Colour c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," +
         std::to_string(c.b) + "," + std::to_string(c.a);
}

inline void ExpectScreen(int x, int y, plat::Colour want, int tolerance = 0) {
  const plat::Colour got = GetPixel(Grab(x, y, 1, 1), 0, 0);
  EXPECT_TRUE(Near(got, want, tolerance))
      << x << "," << y << ": " << Str(got) << " instead of " << Str(want);
}

} // namespace plat_test
