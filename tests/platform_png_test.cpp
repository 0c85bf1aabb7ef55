// platform_png_test.cpp — the quick PNG path gives exactly what libpng
// gives, on the shipped pictures and on made-up ones, and refuses damage.
#include <gtest/gtest.h>

#include <random>

#include "assets/pack.h"
#include "platform/pictures.h"
#include "platform/test_hooks.h"

namespace {

plat::Picture Made(int w, int h, unsigned seed, bool noisy, int alpha) {
  plat::Picture p;
  p.width = w;
  p.height = h;
  p.pixels.resize(size_t(w) * h * 4);
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

TEST(Png, QuickPathMatchesLibpngOnMadePictures) {
  unsigned seed = 1;
  for (int w : {1, 2, 3, 7, 64, 257})
    for (int h : {1, 2, 9})
      for (bool noisy : {false, true})
        for (int alpha : {-1, 255}) {
          const plat::Picture p = Made(w, h, seed++, noisy, alpha);
          std::vector<uint8_t> png;
          ASSERT_TRUE(plat::EncodePng(p, png));
          plat::Picture back;
          ASSERT_TRUE(
              SameAsLibpng(png, std::to_string(w) + "x" + std::to_string(h)));
          ASSERT_TRUE(plat::DecodePng(png.data(), png.size(), back));
          EXPECT_EQ(back.pixels, p.pixels);
        }
}

TEST(Png, QuickPathMatchesLibpngOnTheShippedPictures) {
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

TEST(Png, DamageIsRefused) {
  const plat::Picture p = Made(40, 30, 9, false, -1);
  std::vector<uint8_t> png;
  ASSERT_TRUE(plat::EncodePng(p, png));
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
}

} // namespace
