// forge_output_test.cpp — a whole forge run against the loader's rules and
// what the pictures must show.
#include "forge.h"
#include "png_read.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

namespace fs = std::filesystem;
using art_test::Decoded;

namespace {

// One forge run shared by every test of this file.
class ForgeOutput : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    fs::remove_all(dir_);
    // With errors it writes no entries.list: the first test notices.
    art::Forge(dir_, 2);
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }
  static Decoded Load(const std::string &name) {
    Decoded d = art_test::DecodePng(art_test::ReadFile(dir_ + "/" + name));
    EXPECT_TRUE(d.ok) << name;
    return d;
  }
  static inline const std::string dir_ =
      (fs::temp_directory_path() / ("forge_art_" + std::to_string(getpid())));
};

std::string FrameName(const char *prefix, int i) {
  char name[64];
  std::snprintf(name, sizeof name, "%s%02d.png", prefix, i);
  return name;
}

// Pixels of the columns x0..x0+w of `d`, for comparing frames.
std::vector<uint8_t> Frame(const Decoded &d, int x0, int w) {
  std::vector<uint8_t> out;
  for (int y = 0; y < d.height; ++y)
    out.insert(out.end(), &d.rgba[(size_t(y) * d.width + x0) * 4],
               &d.rgba[(size_t(y) * d.width + x0 + w) * 4]);
  return out;
}

int Rgb(const Decoded &d, int x, int y) {
  return d.At(x, y, 0) | d.At(x, y, 1) | d.At(x, y, 2);
}

TEST_F(ForgeOutput, ListsEveryPictureOnceWithItsSizeAndOpacity) {
  // By name, or by what follows the first "_" (titles and studio logos).
  const std::map<std::string, std::tuple<int, int, bool>> wanted = {
      {"3x2.png", {1920, 1280, 1}},         {"4x3.png", {1920, 1440, 1}},
      {"5x4.png", {1920, 1536, 1}},         {"16x9.png", {1920, 1080, 1}},
      {"16x10.png", {1920, 1200, 1}},       {"17x9.png", {2040, 1080, 1}},
      {"star.png", {192, 96, 1}},           {"cherrybar.png", {96, 96, 1}},
      {"cherrybarscore.png", {192, 96, 1}}, {"dot.png", {96, 96, 0}},
      {"cherry.png", {96, 96, 0}}};
  std::ifstream list(dir_ + "/entries.list");
  std::set<std::string> listed;
  for (std::string line; std::getline(list, line);) {
    SCOPED_TRACE(line);
    std::string name = line.substr(0, line.find('='));
    EXPECT_TRUE(listed.insert(name).second) << "listed twice";
    Decoded d = Load(name);
    auto it = wanted.find(wanted.count(name) ? name
                                             : name.substr(name.find('_') + 1));
    if (it == wanted.end())
      continue;
    auto [w, h, opaque] = it->second;
    EXPECT_EQ(std::pair(d.width, d.height), std::pair(w, h));
    for (size_t i = 3; opaque && i < d.rgba.size(); i += 4)
      ASSERT_EQ(d.rgba[i], 255);
  }
  EXPECT_GT(listed.size(), 200u);
}

TEST_F(ForgeOutput, VeilLogoAndColourKeyedPictures) {
  Decoded veil = Load("shadow.png");
  for (size_t i = 0; i < veil.rgba.size(); i += 4)
    ASSERT_EQ(veil.rgba[i] + veil.rgba[i + 1] + veil.rgba[i + 2] +
                  (255 - veil.rgba[i + 3]),
              0)
        << "the veil is opaque black";
  // The logo fits the menu column, transparent around the emblem.
  Decoded logo = Load("logo.png");
  EXPECT_GE(logo.width, 640);
  EXPECT_NEAR(double(logo.height) / logo.width, 0.85, 0.05);
  EXPECT_EQ(logo.At(0, 0, 3) + logo.At(logo.width - 1, logo.height - 1, 3), 0);
  // Pure black is see-through to the game: the motif lies on it.
  for (const char *name : {"star.png", "cherrybar.png"}) {
    Decoded d = Load(name);
    int motif = 0;
    for (int y = 0; y < d.height; ++y)
      for (int x = 0; x < d.width; ++x)
        motif += Rgb(d, x, y) != 0;
    EXPECT_GT(motif, d.width * d.height / 5) << name;
    EXPECT_EQ(Rgb(d, 0, 0) + Rgb(d, d.width - 1, 0) + Rgb(d, 0, d.height - 1),
              0)
        << name;
  }
  // The count plate is light where black digits go.
  Decoded plate = Load("cherrybarscore.png");
  EXPECT_GT(plate.At(96, 48, 0) + plate.At(96, 48, 1) + plate.At(96, 48, 2),
            3 * 200);
}

TEST_F(ForgeOutput, CharactersHaveSolidBodiesAndWalkEveryWay) {
  for (int k = 0; k <= 6; ++k) {
    std::map<std::string, Decoded> strips;
    for (const char *dir : {"up", "down", "left", "right"}) {
      std::string name =
          (k ? "monster_" + std::to_string(k) : "player") + "_" + dir + ".png";
      SCOPED_TRACE(name);
      const Decoded &d = strips[dir] = Load(name);
      ASSERT_EQ(std::pair(d.width, d.height), std::pair(384, 96));
      for (int f = 0; f < 4; ++f) {
        SCOPED_TRACE(f);
        int solid = 0;
        for (int y = 0; y < 96; ++y)
          for (int x = 0; x < 96; ++x)
            solid += d.At(f * 96 + x, y, 3) == 255;
        // Solid pixels are what the catch test compares.
        EXPECT_GT(solid, 96 * 96 * 3 / 10);
        EXPECT_EQ(d.At(f * 96 + 48, 52, 3), 255);
        EXPECT_EQ(d.At(f * 96, 0, 3), 0);
        EXPECT_NE(Frame(d, f * 96, 96), Frame(d, (f + 1) % 4 * 96, 96));
      }
    }
    std::set<std::vector<uint8_t>> seen;
    for (auto &[dir, d] : strips)
      seen.insert(d.rgba);
    EXPECT_EQ(seen.size(), 4u) << "every direction is its own picture";
  }
}

TEST_F(ForgeOutput, ImpactBurstFramesChangeAndTheHeldOneIsDrawn) {
  Decoded d = Load("fx.png");
  ASSERT_GE(d.width, 1536);
  ASSERT_EQ(d.width % 192 + d.height, 192);
  for (int f = 1; f < 7; ++f)
    EXPECT_NE(Frame(d, f * 192, 192), Frame(d, (f + 1) * 192, 192)) << f;
  int drawn = 0;
  for (int y = 0; y < 192; ++y)
    for (int x = 1344; x < 1536; ++x)
      drawn += d.At(x, y, 3) > 128;
  EXPECT_GT(drawn, 500);
}

TEST_F(ForgeOutput, BannerFramesAnimateOverATransparentBackground) {
  const std::tuple<const char *, int, int, int> banners[] = {
      {"countdown_", 47, 420, 351},     {"gameover_", 34, 1193, 280},
      {"victory_", 34, 1397, 800},      {"congrats_", 29, 1169, 212},
      {"gamefinished_", 41, 1719, 281},
  };
  for (auto [prefix, frames, w, h] : banners) {
    std::vector<uint8_t> previous;
    for (int i = 0; i < frames; ++i) {
      SCOPED_TRACE(FrameName(prefix, i));
      Decoded d = Load(FrameName(prefix, i));
      ASSERT_EQ(std::pair(d.width, d.height), std::pair(w, h));
      EXPECT_EQ(d.At(0, 0, 3) + d.At(w - 1, h - 1, 3), 0);
      EXPECT_NE(d.rgba, previous) << "same as the frame before";
      previous = d.rgba;
    }
  }
}

TEST_F(ForgeOutput, NumbersAppearOnTheBeepFrames) {
  // The top of the countdown ring takes each number's colour on the frame
  // its beep sounds; before that the lead-in ring is white.
  const std::pair<int, const char *> wants[] = {{7, "HHH"},  {8, "LMH"},
                                                {14, "LHL"}, {21, "HHL"},
                                                {27, "HML"}, {34, "HLL"}};
  for (auto [frame, bands] : wants)
    for (int c = 0; c < 3; ++c) {
      int v = Load(FrameName("countdown_", frame)).At(210, 45, c);
      EXPECT_EQ("LMH"[(v >= 100) + (v > 190)], bands[c])
          << "frame " << frame << ", channel " << c;
    }
}

TEST_F(ForgeOutput, SameSourcesGiveTheSameBytes) {
  std::string again = dir_ + "-again";
  art::ForgeResult r = art::Forge(again, 2, "countdown");
  art::ForgeResult r2 = art::Forge(again, 1, "monster_2");
  EXPECT_TRUE(r.errors.empty() && r2.errors.empty());
  ASSERT_EQ(r.entries.size() + r2.entries.size(), 47u + 4u);
  r.entries.insert(r.entries.end(), r2.entries.begin(), r2.entries.end());
  for (const art::Written &w : r.entries)
    EXPECT_EQ(art_test::ReadFile(again + "/" + w.name),
              art_test::ReadFile(dir_ + "/" + w.name))
        << w.name;
  fs::remove_all(again);
}

} // namespace
