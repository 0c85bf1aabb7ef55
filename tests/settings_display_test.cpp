// settings_display_test.cpp — aspect classes and the geometry derived from
// the screen size.
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "settings/display.h"

namespace {

TEST(Display, AspectClassesFromTheTwoDecimalRatio) {
  const std::tuple<int, int, Aspect> cases[] = {
      {1920, 1080, Aspect::R16x9},  {1366, 768, Aspect::R16x9},
      {1280, 1024, Aspect::R5x4},   {3440, 1440, Aspect::R21x9},
      {1280, 768, Aspect::Other}, // 1.67
      {1440, 960, Aspect::R3x2},    {1024, 768, Aspect::R4x3},
      {1920, 1200, Aspect::R16x10}, {2040, 1080, Aspect::R17x9}, // 1.89
      {2052, 1080, Aspect::R17x9},                               // 1.90
      {2560, 1080, Aspect::R21x9},                               // 2.37
      {640, 0, Aspect::Other}};
  for (const auto &[w, h, aspect] : cases)
    EXPECT_EQ(ClassifyAspectRatio(w, h), aspect) << w << "x" << h;
  EXPECT_EQ(AspectName(Aspect::R16x9), "16:9");
  EXPECT_EQ(AspectName(Aspect::R21x9), "");
}

// Tile size, panel height and the play area's origin.
std::array<int, 4> Basics(const ScreenGeometry &g) {
  return {g.tileSize, g.panelHeight, g.playOriginX, g.playOriginY};
}

TEST(Display, WidthRowsWinOverTheClassElseTheGeneralFormula) {
  // 1920 x 1200 is 16:10, but the 1920 row and its cards apply.
  const ScreenGeometry g = ComputeScreenGeometry(1920, 1200, Aspect::R16x10);
  EXPECT_EQ(Basics(g), (std::array{48, 72, -72, -24}));
  EXPECT_EQ(g.panelTextSize, 44);
  EXPECT_EQ(g.playerStep, 3.0);
  EXPECT_EQ(g.levelSelectWidth, 19 * 45);
  EXPECT_EQ(g.settingsWidth, 19 * 55);
  EXPECT_EQ(g.creditsHeight, 12 * 60);
  const ScreenGeometry k = ComputeScreenGeometry(3840, 2160, Aspect::R16x9);
  EXPECT_EQ(Basics(k), (std::array{96, 144, -144, -48}));
  EXPECT_EQ(k.panelTextSize, 88);
  EXPECT_EQ(k.playerStep, 6.0);

  EXPECT_EQ(Basics(ComputeScreenGeometry(2560, 1440, Aspect::R16x9)),
            (std::array{64, 96, -96, -32}));
  const ScreenGeometry b = ComputeScreenGeometry(1280, 1024, Aspect::R5x4);
  EXPECT_EQ(Basics(b), (std::array{32, 48, -48, 136}));
  EXPECT_EQ(b.settingsWidth, 12 * 65);
  EXPECT_EQ(b.helpHeight, 10 * 50);
  const ScreenGeometry c = ComputeScreenGeometry(1366, 768, Aspect::R16x9);
  EXPECT_EQ(Basics(c), (std::array{34, 51, -48, -16}));
  EXPECT_EQ(c.menuOriginX, -48);
  EXPECT_EQ(c.menuOriginY, -211);
  EXPECT_EQ(c.playerStep, 34 / 16.0);
  const ScreenGeometry d = ComputeScreenGeometry(1024, 768, Aspect::R4x3);
  EXPECT_EQ(d.settingsWidth, 600);
  EXPECT_EQ(d.helpWidth, 600);
  EXPECT_EQ(d.helpHeight, 350);
  // 21:9 uses the general rows too.
  const ScreenGeometry w = ComputeScreenGeometry(3440, 1440, Aspect::R21x9);
  EXPECT_EQ(w.tileSize, 86);
  EXPECT_EQ(w.levelSelectWidth, 34 * 45);
  EXPECT_EQ(w.helpHeight, 14 * 60);
  // Panel row at 1920 x 1080.
  const ScreenGeometry e = ComputeScreenGeometry(1920, 1080, Aspect::R16x9);
  EXPECT_EQ((std::array{e.panelRowTop, e.levelPictureX, e.counterPictureX,
                        e.cherryBarX, e.cherryCountX}),
            (std::array{12, 96, 768, 1920 - 144, 1920 - 96}));
}

// The list itself is data: each entry parses, is 16:9 and wider than the
// one before.
TEST(Display, EveryWindowSize) {
  const auto list = ResolutionList();
  ASSERT_EQ(list.size(), 10u);
  int w = 0, h = 0, previous = 0;
  for (const std::string &entry : list) {
    ASSERT_TRUE(ResolutionSize(entry, w, h));
    EXPECT_GT(w, previous) << entry;
    previous = w;
    EXPECT_EQ(ClassifyAspectRatio(w, h), Aspect::R16x9) << entry;
    // The maze is 43 tiles wide: one and a half tiles on each side lie off
    // the screen.
    EXPECT_LT(ComputeScreenGeometry(w, h, Aspect::R16x9).playOriginX, 0);
  }
  EXPECT_FALSE(ResolutionSize("1024", w, h));
  EXPECT_FALSE(ResolutionSize("1024x", w, h));
}

// The card rows of 3:2 and of 16:10 without a width row of its own: level
// select, settings, credits, help and quit, in hundredths of the screen.
TEST(Display, CardRowsOfTheOtherClasses) {
  auto cards = [](int w, int h, Aspect a) {
    const ScreenGeometry g = ComputeScreenGeometry(w, h, a);
    return std::array{g.levelSelectWidth, g.settingsWidth, g.creditsWidth,
                      g.creditsHeight,    g.helpWidth,     g.helpHeight,
                      g.quitWidth};
  };
  EXPECT_EQ(cards(1440, 960, Aspect::R3x2),
            (std::array{770, 910, 840, 540, 840, 540, 840}));
  EXPECT_EQ(cards(1680, 1050, Aspect::R16x10),
            (std::array{880, 1040, 880, 600, 880, 600, 880}));
}

} // namespace
