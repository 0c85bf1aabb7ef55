// forge_output_test.cpp — a whole forge run against the loader's rules.
#include "forge.h"
#include "png_read.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace {

namespace fs = std::filesystem;
using art_test::Decoded;

enum class Kind { Opaque, Alpha, Keyed };

struct Expected {
  int width, height;
  Kind kind;
  size_t limit;
};

constexpr size_t kSmall = 204800, kLarge = 4194304;

std::map<std::string, Expected> Catalogue() {
  std::map<std::string, Expected> m;
  const struct {
    const char *suffix;
    int w, h;
  } aspects[] = {{"3x2", 1920, 1280},   {"4x3", 1920, 1440},
                 {"5x4", 1920, 1536},   {"16x9", 1920, 1080},
                 {"16x10", 1920, 1200}, {"17x9", 2040, 1080}};
  for (auto &a : aspects) {
    m[std::string("title_") + a.suffix + ".png"] = {a.w, a.h, Kind::Opaque,
                                                    kLarge};
    m[std::string("qirn_") + a.suffix + ".png"] = {a.w, a.h, Kind::Opaque,
                                                   kLarge};
  }
  m["logo.png"] = {0, 0, Kind::Alpha, kSmall};
  for (const char *d : {"up", "down", "left", "right"}) {
    m[std::string("player_") + d + ".png"] = {384, 96, Kind::Alpha, kSmall};
    for (int k = 1; k <= 6; ++k)
      m["monster_" + std::to_string(k) + "_" + d + ".png"] = {
          384, 96, Kind::Alpha, kSmall};
  }
  m["item_dot.png"] = {96, 96, Kind::Alpha, kSmall};
  m["item_cherry.png"] = {96, 96, Kind::Alpha, kSmall};
  m["star.png"] = {192, 96, Kind::Keyed, kSmall};
  m["cherrybar.png"] = {96, 96, Kind::Keyed, kSmall};
  m["cherrybarscore.png"] = {192, 96, Kind::Opaque, kSmall};
  m["shadow.png"] = {0, 0, Kind::Opaque, kSmall};
  m["fx.png"] = {0, 192, Kind::Alpha, kSmall};
  const struct {
    const char *prefix;
    int frames, w, h;
  } families[] = {{"countdown_", 47, 420, 351},
                  {"gameover_", 34, 1193, 280},
                  {"victory_", 34, 1397, 800},
                  {"congrats_", 29, 1169, 212},
                  {"gamefinished_", 41, 1719, 281}};
  for (auto &f : families)
    for (int i = 0; i < f.frames; ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "%s%02d.png", f.prefix, i);
      m[name] = {f.w, f.h, Kind::Alpha, kSmall};
    }
  return m;
}

// One forge run shared by every test of this file.
class ForgeOutput : public ::testing::Test {
protected:
  static void SetUpTestSuite() {
    dir_ = (fs::temp_directory_path() /
            ("forge_art_test_" + std::to_string(getpid())))
               .string();
    fs::remove_all(dir_);
    result_ = art::Forge(dir_, 2);
  }
  static void TearDownTestSuite() { fs::remove_all(dir_); }

  static Decoded Load(const std::string &name) {
    return art_test::DecodePng(art_test::ReadFile(dir_ + "/" + name));
  }

  static std::string dir_;
  static art::ForgeResult result_;
};

std::string ForgeOutput::dir_;
art::ForgeResult ForgeOutput::result_;

// Pixels of the rectangle x0..x0+w of `d`, for comparing frames.
std::vector<uint8_t> Frame(const Decoded &d, int x0, int w) {
  std::vector<uint8_t> out;
  for (int y = 0; y < d.height; ++y)
    for (int x = x0; x < x0 + w; ++x)
      for (int c = 0; c < 4; ++c)
        out.push_back(d.At(x, y, c));
  return out;
}

TEST_F(ForgeOutput, ListsExactlyTheCatalogueEntries) {
  for (const std::string &e : result_.errors)
    ADD_FAILURE() << e;
  std::ifstream list(dir_ + "/entries.list");
  ASSERT_TRUE(list) << "entries.list missing";
  std::set<std::string> listed;
  std::string line;
  while (std::getline(list, line)) {
    size_t eq = line.find('=');
    ASSERT_NE(eq, std::string::npos) << line;
    std::string name = line.substr(0, eq), file = line.substr(eq + 1);
    EXPECT_EQ(name, file);
    EXPECT_TRUE(fs::exists(dir_ + "/" + file)) << file;
    EXPECT_TRUE(listed.insert(name).second) << "listed twice: " << name;
  }
  std::set<std::string> wanted;
  for (auto &[name, e] : Catalogue())
    wanted.insert(name);
  EXPECT_EQ(listed, wanted);
}

TEST_F(ForgeOutput, EveryPictureHasItsSizeLimitAndOpacity) {
  for (auto &[name, e] : Catalogue()) {
    SCOPED_TRACE(name);
    uintmax_t bytes = fs::file_size(dir_ + "/" + name);
    EXPECT_LE(bytes, e.limit);
    Decoded d = Load(name);
    ASSERT_TRUE(d.ok);
    if (e.width) {
      EXPECT_EQ(d.width, e.width);
    }
    if (e.height) {
      EXPECT_EQ(d.height, e.height);
    }
    if (e.kind != Kind::Alpha) {
      bool opaque = true;
      for (size_t i = 3; i < d.rgba.size(); i += 4)
        opaque = opaque && d.rgba[i] == 255;
      EXPECT_TRUE(opaque);
    }
  }
}

TEST_F(ForgeOutput, LogoFitsTheMenuColumn) {
  Decoded d = Load("logo.png");
  ASSERT_TRUE(d.ok);
  double ratio = static_cast<double>(d.height) / d.width;
  EXPECT_GE(ratio, 0.8);
  EXPECT_LE(ratio, 0.9);
  EXPECT_GE(d.width, 640);
  // Transparent around the emblem.
  EXPECT_EQ(d.At(0, 0, 3), 0);
  EXPECT_EQ(d.At(d.width - 1, d.height - 1, 3), 0);
}

TEST_F(ForgeOutput, VeilIsUniformOpaqueBlack) {
  Decoded d = Load("shadow.png");
  ASSERT_TRUE(d.ok);
  for (size_t i = 0; i < d.rgba.size(); i += 4) {
    ASSERT_EQ(d.rgba[i] | d.rgba[i + 1] | d.rgba[i + 2], 0);
    ASSERT_EQ(d.rgba[i + 3], 255);
  }
}

TEST_F(ForgeOutput, KeyedPicturesShowTheirMotifOnPureBlack) {
  for (const char *name : {"star.png", "cherrybar.png"}) {
    SCOPED_TRACE(name);
    Decoded d = Load(name);
    ASSERT_TRUE(d.ok);
    int motif = 0;
    for (int y = 0; y < d.height; ++y)
      for (int x = 0; x < d.width; ++x)
        motif += (d.At(x, y, 0) | d.At(x, y, 1) | d.At(x, y, 2)) != 0;
    EXPECT_GT(motif, d.width * d.height / 5);
    for (auto [x, y] : {std::pair{0, 0}, std::pair{d.width - 1, 0},
                        std::pair{0, d.height - 1}})
      EXPECT_EQ(d.At(x, y, 0) | d.At(x, y, 1) | d.At(x, y, 2), 0);
  }
  // The count plate is light where black digits go.
  Decoded plate = Load("cherrybarscore.png");
  ASSERT_TRUE(plate.ok);
  int light = plate.At(96, 48, 0) + plate.At(96, 48, 1) + plate.At(96, 48, 2);
  EXPECT_GT(light, 3 * 200);
}

TEST_F(ForgeOutput, CharactersHaveSolidBodiesAndWalk) {
  std::vector<std::string> strips;
  for (const char *d : {"up", "down", "left", "right"}) {
    strips.push_back(std::string("player_") + d + ".png");
    for (int k = 1; k <= 6; ++k)
      strips.push_back("monster_" + std::to_string(k) + "_" + d + ".png");
  }
  for (const std::string &name : strips) {
    SCOPED_TRACE(name);
    Decoded d = Load(name);
    ASSERT_TRUE(d.ok);
    for (int f = 0; f < 4; ++f) {
      int solid = 0;
      for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 96; ++x)
          solid += d.At(f * 96 + x, y, 3) == 255;
      // Solid pixels are what the catch test compares.
      EXPECT_GT(solid, 96 * 96 * 3 / 10) << "frame " << f;
      EXPECT_EQ(d.At(f * 96 + 48, 52, 3), 255) << "frame " << f;
      EXPECT_EQ(d.At(f * 96, 0, 3), 0) << "frame " << f;
      EXPECT_TRUE(Frame(d, f * 96, 96) != Frame(d, (f + 1) % 4 * 96, 96))
          << "frames " << f << " and " << (f + 1) % 4 << " are the same";
    }
  }
  // Every direction is its own picture.
  for (const char *who : {"player", "monster_1", "monster_6"}) {
    std::set<std::vector<uint8_t>> seen;
    for (const char *dir : {"up", "down", "left", "right"})
      seen.insert(Load(std::string(who) + "_" + dir + ".png").rgba);
    EXPECT_EQ(seen.size(), 4u) << who;
  }
}

TEST_F(ForgeOutput, ImpactBurstFramesChangeAndTheHeldOneIsDrawn) {
  Decoded d = Load("fx.png");
  ASSERT_TRUE(d.ok);
  ASSERT_GE(d.width, 1536);
  ASSERT_EQ(d.width % 192, 0);
  for (int f = 1; f < 7; ++f)
    EXPECT_TRUE(Frame(d, f * 192, 192) != Frame(d, (f + 1) * 192, 192)) << f;
  int drawn = 0;
  for (int y = 0; y < 192; ++y)
    for (int x = 1344; x < 1536; ++x)
      drawn += d.At(x, y, 3) > 128;
  EXPECT_GT(drawn, 500);
}

TEST_F(ForgeOutput, BannerFramesAnimateOverATransparentBackground) {
  const struct {
    const char *prefix;
    int frames;
  } families[] = {{"countdown_", 47},
                  {"gameover_", 34},
                  {"victory_", 34},
                  {"congrats_", 29},
                  {"gamefinished_", 41}};
  for (auto &f : families) {
    std::vector<uint8_t> previous;
    for (int i = 0; i < f.frames; ++i) {
      char name[64];
      std::snprintf(name, sizeof name, "%s%02d.png", f.prefix, i);
      SCOPED_TRACE(name);
      Decoded d = Load(name);
      ASSERT_TRUE(d.ok);
      EXPECT_EQ(d.At(0, 0, 3), 0);
      EXPECT_EQ(d.At(d.width - 1, d.height - 1, 3), 0);
      EXPECT_TRUE(d.rgba != previous) << "same as the frame before";
      previous = d.rgba;
    }
  }
}

TEST_F(ForgeOutput, NumbersAppearOnTheBeepFrames) {
  // The top of the countdown ring takes each number's colour on the frame
  // its beep sounds; before that the lead-in ring is white.
  struct Want {
    int frame;
    int r, g, b; // -1: high, 0: low, 1: middle
  };
  const Want wants[] = {{7, -1, -1, -1}, {8, 0, 1, -1},  {14, 0, -1, 0},
                        {21, -1, -1, 0}, {27, -1, 1, 0}, {34, -1, 0, 0}};
  auto band = [](int v) { return v > 190 ? -1 : v < 100 ? 0 : 1; };
  for (const Want &w : wants) {
    char name[32];
    std::snprintf(name, sizeof name, "countdown_%02d.png", w.frame);
    Decoded d = Load(name);
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(band(d.At(210, 45, 0)), w.r) << name;
    EXPECT_EQ(band(d.At(210, 45, 1)), w.g) << name;
    EXPECT_EQ(band(d.At(210, 45, 2)), w.b) << name;
  }
}

TEST_F(ForgeOutput, SameSourcesGiveTheSameBytes) {
  std::string again = dir_ + "-again";
  art::ForgeResult r = art::Forge(again, 2, "countdown");
  art::ForgeResult r2 = art::Forge(again, 1, "monster_2");
  EXPECT_TRUE(r.errors.empty());
  ASSERT_EQ(r.entries.size(), 47u);
  ASSERT_EQ(r2.entries.size(), 4u);
  r.entries.insert(r.entries.end(), r2.entries.begin(), r2.entries.end());
  for (const art::Written &w : r.entries)
    EXPECT_TRUE(art_test::ReadFile(again + "/" + w.name) ==
                art_test::ReadFile(dir_ + "/" + w.name))
        << w.name;
  fs::remove_all(again);
}

} // namespace
