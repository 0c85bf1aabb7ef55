// platform_pictures_test.cpp — PNG decoding and encoding, and smooth
// resampling.
#include "platform/core.h"
#include "platform/pictures.h"
#include "platform_helpers.h"

#include <thread>

using namespace plat_test;

namespace {

TEST(PlatformPng, RoundTripIsExactAndDeterministic) {
  plat::Picture p = Solid(7, 5, {0, 0, 0, 0});
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      SetPixel(
          p, x, y,
          {uint8_t(x * 30), uint8_t(y * 50), uint8_t(x ^ y), uint8_t(x * 40)});
  std::vector<uint8_t> a, b;
  ASSERT_TRUE(plat::EncodePng(p, a));
  ASSERT_TRUE(plat::EncodePng(p, b));
  EXPECT_EQ(a, b);
  plat::Picture q;
  ASSERT_TRUE(plat::DecodePng(a.data(), a.size(), q));
  EXPECT_EQ(q.width, 7);
  EXPECT_EQ(q.height, 5);
  EXPECT_EQ(q.pixels, p.pixels);
}

TEST(PlatformPng, BadInputIsRefused) {
  plat::Picture q;
  std::vector<uint8_t> png = Png(Solid(4, 4, {1, 2, 3, 4}));
  EXPECT_FALSE(plat::DecodePng(png.data(), png.size() / 2, q)); // cut
  EXPECT_TRUE(q.pixels.empty());
  EXPECT_FALSE(plat::DecodePng(nullptr, 0, q));
  std::vector<uint8_t> big(10'000'001);
  std::copy(png.begin(), png.end(), big.begin());
  EXPECT_FALSE(plat::DecodePng(big.data(), big.size(), q)); // too large
  EXPECT_TRUE(plat::DecodePng(big.data(), 10'000'000, q));  // at the limit
  // A header claiming 60000 x 60000 pixels is refused before any memory
  // is taken for it.
  std::vector<uint8_t> huge = png;
  auto put32 = [&](size_t at, uint32_t v) {
    huge[at] = uint8_t(v >> 24), huge[at + 1] = uint8_t(v >> 16);
    huge[at + 2] = uint8_t(v >> 8), huge[at + 3] = uint8_t(v);
  };
  put32(16, 60000);
  put32(20, 60000);
  put32(29, Crc32(&huge[12], 17)); // IHDR's checksum
  EXPECT_FALSE(plat::DecodePng(huge.data(), huge.size(), q));
  plat::Picture wrong;
  wrong.width = 3;
  wrong.height = 3;
  std::vector<uint8_t> out;
  EXPECT_FALSE(plat::EncodePng(wrong, out)); // no pixels
}

TEST(PlatformPng, DecodingRunsOnSeveralThreads) {
  std::vector<uint8_t> png = Png(Solid(64, 64, {9, 8, 7, 255}));
  bool ok[4] = {};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      ok[t] = true;
      for (int i = 0; i < 50; ++i) {
        plat::Picture q;
        ok[t] = ok[t] && plat::DecodePng(png.data(), png.size(), q) &&
                GetPixel(q, 63, 63).r == 9;
      }
    });
  for (auto &t : threads)
    t.join();
  for (bool b : ok)
    EXPECT_TRUE(b);
}

TEST(PlatformResample, ShrinkingAveragesGrowingInterpolates) {
  plat::Picture p = Solid(4, 2, {0, 0, 0, 255});
  for (int y = 0; y < 2; ++y) {
    SetPixel(p, 0, y, {200, 0, 0, 255});
    SetPixel(p, 1, y, {100, 0, 0, 255});
  }
  plat::Picture half = plat::ResamplePicture(p, 2, 1);
  ASSERT_EQ(half.width, 2);
  ASSERT_EQ(half.height, 1);
  EXPECT_TRUE(Near(GetPixel(half, 0, 0), {150, 0, 0, 255}, 0));
  EXPECT_TRUE(Near(GetPixel(half, 1, 0), {0, 0, 0, 255}, 0));
  plat::Picture same = plat::ResamplePicture(p, 4, 2);
  EXPECT_EQ(same.pixels, p.pixels);
  plat::Picture twice = plat::ResamplePicture(half, 4, 1);
  EXPECT_TRUE(Near(GetPixel(twice, 0, 0), {150, 0, 0, 255}, 0));
  EXPECT_TRUE(Near(GetPixel(twice, 1, 0), {112, 0, 0, 255}, 1));
  EXPECT_TRUE(Near(GetPixel(twice, 2, 0), {38, 0, 0, 255}, 1));
  EXPECT_TRUE(plat::ResamplePicture(p, 0, 3).pixels.empty());
  EXPECT_TRUE(plat::ResamplePicture(plat::Picture{}, 3, 3).pixels.empty());
}

TEST(PlatformResample, TransparentPixelsDoNotDarkenTheEdges) {
  plat::Picture p = Solid(2, 1, {0, 0, 0, 0});
  SetPixel(p, 0, 0, {255, 255, 255, 255});
  plat::Picture one = plat::ResamplePicture(p, 1, 1);
  plat::Colour c = GetPixel(one, 0, 0);
  EXPECT_EQ(c.r, 255);
  EXPECT_EQ(c.g, 255);
  EXPECT_NEAR(c.a, 128, 1);
}

} // namespace
