// ui_cards_test.cpp — the dialog cards' metrics and places, and every text
// of every shipped language fitting its card at every screen shape.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/core.h"
#include "platform/display.h"
#include "platform/sprites.h"
#include "platform/test_hooks.h"
#include "platform/text.h"
#include "settings/display.h"
#include "settings/languages.h"
#include "support/stage_parts.h"
#include "ui/card_draw.h"
#include "ui/dialogs.h"

namespace {

std::array<int, 4> Xywh(const CardPlace &c) { return {c.x, c.y, c.w, c.h}; }

TEST(Cards, MetricsAndPlaces) {
  const DialogLayout d = LayoutDialogs(DisplayForSize(1920, 1080));
  EXPECT_EQ(
      (std::array{d.baseFont, d.titleBar, TitleFontSize(d), SmallFontSize(d)}),
      (std::array{49, 50, 29, 20}));
  EXPECT_EQ(Xywh(d.mainMenu), (std::array{95, 540, 475, 540}));
  EXPECT_EQ(Xywh(d.settings), (std::array{723, 246, 1045, 589}));
  // Over a level the dialogs sit in the middle of the screen.
  EXPECT_EQ(d.pause.x, 960 - d.pause.w / 2);
  EXPECT_EQ(d.quitCentred.w, d.quitSide.w);

  const DialogLayout f = LayoutDialogs(DisplayForSize(1024, 768));
  EXPECT_EQ((std::array{f.baseFont, f.titleBar, TitleFontSize(f)}),
            (std::array{29, 35, 21}));
  EXPECT_EQ((std::array{f.settings.w, f.help.w, f.help.h}),
            (std::array{600, 600, 350}));
}

TEST(Cards, RoundingHalvesToEven) {
  EXPECT_EQ(RoundHalfEven(20.5), 20);
  EXPECT_EQ(RoundHalfEven(21.5), 22);
  EXPECT_EQ(RoundHalfEven(29.41), 29);
}

TEST(Cards, TextsPutTogether) {
  Languages lang;
  lang.texts["tStartNEW"] = "New game";
  lang.texts["tStartLEVEL"] = "Level # (#)";
  EXPECT_EQ(SlotText(lang, "01"), "New game");
  EXPECT_EQ(SlotText(lang, "07"), "Level 07 (07)");
  lang.texts["tStartLEVEL"] = "Go on";
  EXPECT_EQ(SlotText(lang, "12"), "Go on");
  // Placeholders cannot blow a text up: it is cut at a character's start.
  lang.texts["tStartLEVEL"] = std::string(100000, '#');
  EXPECT_EQ(SlotText(lang, std::string(1 << 20, 'x')).size(), kMaxShownText);
  std::string accents;
  for (int i = 0; i < 3000; ++i)
    accents += "\xC3\xA9";
  EXPECT_EQ(FillPlaceholders("a#", accents).size(), kMaxShownText - 1);
  // Without a language file the language row shows nothing.
  EXPECT_EQ(LanguageRowValue(lang), "");
  lang.choices = {
      {"ru_RU", "Русский"}, {"el_GR", "Ελληνικά"}, {"ja_JP", "日本語"}};
  const char *upper[] = {"РУССКИЙ", "ΕΛΛΗΝΙΚΑ", "日本語"}; // Greek capitals
  for (lang.choice = 0; lang.choice < 3; ++lang.choice)    // lose the accent
    EXPECT_EQ(LanguageRowValue(lang), upper[lang.choice]);
  // A missing last hint still ends the help with its line break.
  lang.texts["tHelpHINT3"] = "three";
  const std::string help = HelpText(lang);
  EXPECT_EQ(help.substr(help.size() - 6), "three\n");
}

// Every text of every shipped language has its glyphs in the installed
// fonts, and every card at every screen shape, measured: no title, entry,
// row or paragraph may leave its room.
TEST(Cards, EveryLanguageShowsAndFitsEveryShape) {
  ASSERT_TRUE(plat::Init());
  ASSERT_GE(plat::LoadFont(0, "Arial", 30, true), 0);
  Languages all;
  const std::string source = LanguageSource(WARRENFOLD_GAME_DIR);
  ScanLanguages(all, source);
  ASSERT_GE(all.choices.size(), 10u);
  std::vector<std::string> overflows;
  for (const auto &[file, name] : all.choices) {
    auto lang = std::make_unique<Languages>();
    ASSERT_TRUE(LoadLanguage(*lang, source, file)) << file;
    lang->choices = all.choices;
    plat::SetTextLanguage(Text(*lang, "tLangFileLANGID"));
    plat::SetVectorFont(0, 49);
    for (const auto &[key, text] : lang->texts)
      EXPECT_EQ(plat::UnknownGlyphs(text), 0) << file << " " << key;
    for (auto [w, h] : {std::pair{1920, 1080},
                        {1920, 1200},
                        {1024, 768},
                        {1280, 1024},
                        {2560, 1080},
                        {1366, 768}}) {
      const Display display = DisplayForSize(w, h);
      const DialogLayout layout = LayoutDialogs(display);
      Progress progress;
      progress.slots = {"01", "20", "07", "13", "01"};
      Play play;
      const CardSources src{*lang, display, layout, progress, play, &overflows};
      const size_t before = overflows.size();
      RenderMainMenu(src, 1);
      RenderPause(src, 1);
      RenderCaught(src, 1);
      RenderComplete(src, 1);
      RenderQuit(src, 1, false);
      RenderLevelSelect(src, 1);
      RenderHelp(src);
      RenderCredits(src);
      PendingSettings pending;
      for (int choice = 0; choice < static_cast<int>(lang->choices.size());
           ++choice) {
        lang->choice = choice;
        for (int mode = 0; mode < 3; ++mode) {
          pending.gameScreen = static_cast<ScreenMode>(mode);
          pending.music = mode == 1;
          pending.soundFx = mode == 2;
          pending.resolutionChoice = 9;
          RenderSettings(src, 1, pending);
        }
      }
      for (size_t i = before; i < overflows.size(); ++i)
        overflows[i] = file + " at " + std::to_string(w) + "x" +
                       std::to_string(h) + ": " + overflows[i];
    }
  }
  EXPECT_EQ(overflows, std::vector<std::string>{});

  // The measures themselves: a character no font has (U+0378) is counted;
  // a translation far too long is caught, and so is help text reaching
  // down behind the button.
  EXPECT_EQ(plat::UnknownGlyphs("A\xCD\xB8"), 1);
  overflows.clear();
  Languages longer;
  longer.texts["tMenuSTART"] = std::string(200, 'W');
  longer.texts["tQuitQUESTION"] = std::string(3000, 'w') + " end";
  longer.texts["tHelpHINT4"] = std::string(9, '\n') + "below";
  const Display display = DisplayForSize(1920, 1080);
  const DialogLayout layout = LayoutDialogs(display);
  const Progress progress;
  const Play play;
  const CardSources src{longer, display, layout, progress, play, &overflows};
  RenderMainMenu(src, 1);
  RenderQuit(src, 1, false);
  RenderHelp(src);
  EXPECT_EQ(overflows.size(), 3u);
  plat::Shutdown();
}

// The first and last column in rows y0..y1 whose pixels are not of the
// colour c: where the text is.
std::pair<int, int> Ink(const plat::Picture &p, int y0, int y1,
                        plat::Colour c) {
  const uint8_t bgr[3] = {c.b, c.g, c.r};
  int first = p.width, last = -1;
  for (int y = y0; y < y1; ++y)
    for (int x = 0; x < p.width; ++x)
      if (std::memcmp(&p.pixels[(y * p.width + x) * 4], bgr, 3) != 0) {
        first = std::min(first, x);
        last = std::max(last, x);
      }
  return {first, last};
}

// Whether rows y0..y1 hold a pixel of exactly the colour c.
bool Shows(const plat::Picture &p, double y0, double y1, plat::Colour c) {
  const uint8_t bgr[3] = {c.b, c.g, c.r};
  for (int y = static_cast<int>(y0); y < static_cast<int>(y1); ++y)
    for (int x = 0; x < p.width; ++x)
      if (std::memcmp(&p.pixels[(y * p.width + x) * 4], bgr, 3) == 0)
        return true;
  return false;
}

// A language whose own name is in a right-to-left script swaps the sides of
// the left title and of a row's label and value, at the same margins.
TEST(Cards, RightToLeftLanguagesMirrorTitlesAndRows) {
  ASSERT_TRUE(plat::Init());
  ASSERT_TRUE(plat::InitSprites());
  ASSERT_TRUE(
      plat::OpenWindow(1024, 768, "cards", plat::WindowStyle::Windowed));
  ASSERT_TRUE(plat::OpenScreenInWindow());
  ASSERT_GE(plat::LoadFont(0, "Arial", 30, true), 0);
  const Display display = DisplayForSize(1024, 768);
  const DialogLayout d = LayoutDialogs(display);
  CreateCardSprites(d);
  const Progress progress;
  const Play play;
  PendingSettings pending;
  pending.music = 1;   // row 2: a label, no value
  pending.soundFx = 0; // row 3: a value, no label
  std::array<std::array<std::pair<int, int>, 4>, 2> ink;
  StageParts parts(1024, 768);
  const int tile = parts.display.geometry.tileSize;
  plat::CreateSprite(num::kLevelLabel, 6 * tile, tile);
  for (int rtl = 0; rtl < 2; ++rtl) {
    Languages lang;
    // A character no font has draws as a box, and nothing breaks.
    lang.texts = {{"tLangFileNAME", rtl ? "עברית" : "English"},
                  {"tSettingsTITLE", rtl ? "הגדרות" : "Settings"},
                  {"tSettingsMUSIC", rtl ? "מוזיקה" : "Music"},
                  {"tSettingsOFF", rtl ? "כבוי" : "Off"},
                  {"tSettingsCANCEL", "\xCD\xB8"},
                  {"tPanelLEVEL", rtl ? "שלב #" : "Level #"}};
    RenderSettings({lang, display, d, progress, play}, 0, pending);
    plat::Picture p;
    ASSERT_TRUE(plat::SpritePixels(num::kSettingsCard, p));
    const int t = d.titleBar, f = d.baseFont;
    const CardColours c = MenuColours();
    parts.lang = lang;
    parts.play.panelStale = kPanelLevelLabel;
    DrawPanel(parts.stage);
    plat::Picture label;
    ASSERT_TRUE(plat::SpritePixels(num::kLevelLabel, label));
    ink[rtl] = {Ink(p, 0, t, c.titleBar),
                Ink(p, t + 2 * f, t + 3 * f, c.background),
                Ink(p, t + 7 * f / 2, t + 9 * f / 2, c.background),
                Ink(label, 0, tile, {0, 0, 0, 255})};
  }
  // The panel's level label: 10 pixels from its start.
  EXPECT_NEAR(ink[0][3].first, 10, 2);
  EXPECT_NEAR(6 * tile - 1 - ink[1][3].second, 10, 2);
  // Title and label at the left from the left, the value at the right;
  // from the right, each at the same margin from the other edge.
  const int w = d.settings.w;
  for (int i = 0; i < 3; ++i) {
    const auto [ltrFirst, ltrLast] = ink[0][i];
    const auto [rtlFirst, rtlLast] = ink[1][i];
    if (i < 2) {
      EXPECT_LT(ltrLast, w / 2) << i;
      EXPECT_GT(rtlFirst, w / 2) << i;
      EXPECT_NEAR(w - 1 - rtlLast, ltrFirst, 2) << i;
    } else {
      EXPECT_GT(ltrFirst, w / 2);
      EXPECT_LT(rtlLast, w / 2);
      EXPECT_NEAR(rtlFirst, w - 1 - ltrLast, 2);
    }
  }
  // The chosen entry alone in the highlight colour, the first of a
  // two-entry dialog a line below its title bar; the title centred.
  Languages lang;
  lang.texts = {{"tInGamePAUSED", "Paused"},
                {"tInGameRESUME", "Resume"},
                {"tInGameQUIT", "Quit"},
                {"tSettingsOK", "OK"},
                {"tSettingsCANCEL", "Cancel"}};
  const CardSources src{lang, display, d, progress, play};
  const plat::Colour white = MenuColours().highlight;
  const double t = d.titleBar, f = d.baseFont, h = d.settings.h;
  plat::Picture p;
  RenderSettings(src, kRowOk, pending);
  ASSERT_TRUE(plat::SpritePixels(num::kSettingsCard, p));
  EXPECT_TRUE(Shows(p, h - 3 * f, h - 2 * f, white));
  EXPECT_FALSE(Shows(p, h - 1.5 * f, h - 0.5 * f, white));
  RenderPause(src, 1);
  ASSERT_TRUE(plat::SpritePixels(num::kPauseCard, p));
  EXPECT_TRUE(Shows(p, t + f, t + 2 * f, white));
  EXPECT_FALSE(Shows(p, t + 3 * f, t + 4 * f, white));
  const auto [first, last] = Ink(p, 0, t, MenuColours().titleBar);
  EXPECT_LT(first, last);
  EXPECT_NEAR(first, p.width - 1 - last, 2);
  plat::Shutdown();
}

} // namespace
