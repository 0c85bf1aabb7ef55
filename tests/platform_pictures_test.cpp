// platform_pictures_test.cpp — PNG decoding (the quick path against libpng)
// and encoding, damage and size limits, and smooth resampling.
#include "platform/core.h"
#include "platform/pictures.h"
#include "platform_helpers.h"
#include "support/blank_png.h"

#include <atomic>
#include <random>
#include <thread>

#include "assets/pack.h"

using namespace plat_test;

namespace {

plat::Picture Made(int w, int h, unsigned seed, bool noisy, int alpha) {
  plat::Picture p = Solid(w, h, {});
  std::mt19937 rng(seed);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t *px = &p.pixels[(size_t(y) * w + x) * 4];
      // Gradients favour the Sub, Up and Paeth filters; noise favours none.
      px[0] = uint8_t(noisy ? rng() : x * 3 + y);
      px[1] = uint8_t(noisy ? rng() : y * 5);
      px[2] = uint8_t(noisy ? rng() : (x * y) >> 3);
      px[3] = alpha >= 0 ? uint8_t(alpha) : uint8_t(noisy ? rng() : x ^ y);
    }
  return p;
}

bool SameAsLibpng(const std::vector<uint8_t> &png, const std::string &what) {
  plat::Picture quick, reference;
  const bool a = plat::DecodePng(png.data(), png.size(), quick);
  const bool b = plat::DecodePngWithLibpng(png.data(), png.size(), reference);
  EXPECT_EQ(a, b) << what;
  EXPECT_EQ(quick.width, reference.width) << what;
  EXPECT_EQ(quick.height, reference.height) << what;
  const bool same = quick.pixels == reference.pixels;
  EXPECT_TRUE(same) << what;
  return a && b && same;
}

TEST(PlatformPng, QuickPathMatchesLibpngOnTheShippedPictures) {
  for (const char *name : {"Warrenfold.data", "Warrenfold.maps"}) {
    pack::Archive archive;
    if (!pack::Open(archive, std::string(WARRENFOLD_GAME_DIR) + name))
      GTEST_SKIP() << name << " is not built";
    int checked = 0;
    for (const pack::EntryInfo &e : pack::Entries(archive)) {
      if (e.name.size() < 4 && e.name.rfind("TILES/", 0) != 0)
        continue;
      const bool picture = e.name.rfind("TILES/", 0) == 0 ||
                           e.name.compare(e.name.size() - 4, 4, ".png") == 0;
      // Every fourth banner frame keeps the test quick; all others count.
      if (!picture || (e.name.find('_') != std::string::npos &&
                       e.name.find("monster") == std::string::npos &&
                       std::hash<std::string>()(e.name) % 4 != 0))
        continue;
      std::vector<uint8_t> bytes;
      ASSERT_GE(pack::ExtractEntry(archive, e.name, 8 << 20, bytes), 0);
      ASSERT_TRUE(SameAsLibpng(bytes, e.name));
      ++checked;
    }
    EXPECT_GT(checked, 50) << name;
  }
}

TEST(PlatformPng, DamageAndExcessAreRefused) {
  const std::vector<uint8_t> png = Png(Made(40, 30, 9, false, -1));
  plat::Picture out;
  for (size_t cut = 0; cut < png.size(); cut += 7) {
    std::vector<uint8_t> shorter(png.begin(), png.begin() + cut);
    EXPECT_FALSE(plat::DecodePng(shorter.data(), shorter.size(), out)) << cut;
    EXPECT_TRUE(out.pixels.empty());
  }
  // A flipped bit anywhere after the signature: a checksum catches it.
  for (size_t at = 8; at < png.size(); at += 11) {
    std::vector<uint8_t> bad = png;
    bad[at] ^= 0x10;
    EXPECT_FALSE(plat::DecodePng(bad.data(), bad.size(), out)) << at;
  }
  // Up to 10,000,000 bytes are read (here trailing zeros libpng ignores).
  std::vector<uint8_t> big(10'000'001);
  std::copy(png.begin(), png.end(), big.begin());
  EXPECT_FALSE(plat::DecodePng(big.data(), big.size(), out));
  EXPECT_TRUE(plat::DecodePng(big.data(), 10'000'000, out));
  EXPECT_FALSE(plat::DecodePngWithLibpng(big.data(), big.size(), out));
  // A header claiming 60000 x 60000 pixels is refused before any memory
  // is taken for it.
  const std::string data = testpng::ZeroStream(1000); // whole, but short
  for (const auto &[h, whole] : {std::pair{60000u, true}, {0u, false}}) {
    const std::string bytes = testpng::PngWithData(60000, h, data);
    const auto *huge = reinterpret_cast<const uint8_t *>(bytes.data());
    EXPECT_FALSE(plat::DecodePng(huge, bytes.size(), out));
    // The size alone, from a header that is there and not zero.
    int w = 0, hh = 0;
    EXPECT_EQ(plat::PngSize(huge, bytes.size(), w, hh), whole);
    EXPECT_EQ(plat::PngSize(huge, 33, w, hh), whole);
    EXPECT_FALSE(plat::PngSize(huge, 32, w, hh));
    if (whole) {
      EXPECT_EQ(std::pair(w, hh), std::pair(60000, 60000));
    }
  }
  plat::Picture wrong;
  wrong.width = wrong.height = 3;
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(plat::EncodePng(wrong, bytes)); // no pixels
}

TEST(PlatformPng, DecodingRunsOnSeveralThreads) {
  const std::vector<uint8_t> png = Png(Made(64, 64, 3, true, -1));
  plat::Picture want;
  ASSERT_TRUE(plat::DecodePng(png.data(), png.size(), want));
  std::atomic<int> good{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&png, &want, &good] {
      for (int i = 0; i < 50; ++i) {
        plat::Picture q;
        good += plat::DecodePng(png.data(), png.size(), q) &&
                q.pixels == want.pixels;
      }
    });
  for (auto &t : threads)
    t.join();
  EXPECT_EQ(good, 200);
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
  EXPECT_EQ(plat::ResamplePicture(p, 4, 2).pixels, p.pixels);
  plat::Picture twice = plat::ResamplePicture(half, 4, 1);
  EXPECT_TRUE(Near(GetPixel(twice, 0, 0), {150, 0, 0, 255}, 0));
  EXPECT_TRUE(Near(GetPixel(twice, 1, 0), {112, 0, 0, 255}, 1));
  EXPECT_TRUE(Near(GetPixel(twice, 2, 0), {38, 0, 0, 255}, 1));
  EXPECT_TRUE(plat::ResamplePicture(p, 0, 3).pixels.empty());
  EXPECT_TRUE(plat::ResamplePicture(plat::Picture{}, 3, 3).pixels.empty());
  // Transparent pixels do not darken the edges.
  plat::Picture edge = Solid(2, 1, {0, 0, 0, 0});
  SetPixel(edge, 0, 0, {255, 255, 255, 255});
  const plat::Colour c = GetPixel(plat::ResamplePicture(edge, 1, 1), 0, 0);
  EXPECT_TRUE(Near(c, {255, 255, 255, 0}, 0)) << Str(c);
  EXPECT_NEAR(c.a, 128, 1);
  // Halfway values round up (10.5 to 11, 20.5 to 21, 0.5 to 1).
  plat::Picture tie = Solid(2, 1, {10, 21, 0, 255});
  SetPixel(tie, 1, 0, {11, 20, 1, 255});
  const plat::Colour t = GetPixel(plat::ResamplePicture(tie, 1, 1), 0, 0);
  EXPECT_TRUE(Near(t, {11, 21, 1, 255}, 0)) << Str(t);
}

} // namespace
