// shell_menus_replay_test.cpp — the menus of the real binary driven by
// replays. Every menu screen saved with F1: each
// dialog's card lies where its layout says, in its colours. The settings
// screen: a language, music, sound effects and a window size changed and
// applied, borderless to windowed and back; checked in the run log, the
// preferences written at the exit and the saved frame's size.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/display.h"
#include "settings/languages.h"
#include "support/copied_game.h"
#include "support/run_program.h"
#include "support/sanitizer.h"
#include "ui/dialogs.h"

namespace {

namespace fs = std::filesystem;

constexpr std::array<int, 3> kBackground{44, 68, 40}, kTitleBar{122, 196, 110};

class Screens : public CopiedGame {
protected:
  // Skips the opening screens, presses Down `downs` times and Return
  // (unless `downs` is negative), takes one screenshot and quits; the
  // preferences beside the game choose the screen, and everything is
  // written there.
  Shot Open(const std::string &prefs, int downs) {
    WriteText(gameDir + "Warrenfold.prefs", prefs);
    for (const auto &f : FilesLike(gameDir, "Warrenfold ", ".bmp"))
      fs::remove(f);
    std::string keys;
    for (int i = 0; i < downs; ++i)
      keys += Press(20 + 2 * i, "Down");
    if (downs >= 0)
      keys += Press(40, "Return");
    const ProgramResult r =
        RunReplay("seed 5\n" + Press(10, "Esc") + Press(12, "Esc") + keys +
                  Press(70, "F1") + "72 quit\n");
    EXPECT_EQ(r.status, 0) << r.err;
    return TakenShot(gameDir);
  }

  // The card's corners are its background; a titled card's top edge is its
  // title bar.
  void ExpectCard(const Shot &f, const CardPlace &c, bool titled,
                  const std::string &what) {
    EXPECT_EQ(f.At(c.x + 2, c.y + c.h - 3), kBackground) << what;
    EXPECT_EQ(f.At(c.x + c.w - 3, c.y + c.h - 3), kBackground) << what;
    EXPECT_EQ(f.At(c.x + c.w - 3, c.y + 2), titled ? kTitleBar : kBackground)
        << what;
  }

  void CheckEveryScreen(const std::string &prefs, int w, int h) {
    const DialogLayout l = LayoutDialogs(DisplayForSize(w, h));
    const Shot menu = Open(prefs, -1);
    ASSERT_EQ(menu.Width(), w);
    ASSERT_EQ(menu.Height(), h);
    ExpectCard(menu, l.mainMenu, false, "main menu");
    ExpectCard(Open(prefs, 1), l.settings, true, "settings");
    if (kAddressSanitizer)
      return; // start-ups are slow there: the menu and one dialog
    ExpectCard(Open(prefs, 0), l.levelSelect, true, "level select");
    ExpectCard(Open(prefs, 2), l.credits, true, "credits");
    ExpectCard(Open(prefs, 3), l.help, true, "help");
    ExpectCard(Open(prefs, 4), l.quitSide, true, "quit question");
  }
};

// One size is enough here: the layouts of the other sizes are the card
// tests' concern. The headless desktop is 1024 x 768: a borderless window
// takes it all.
TEST_F(Screens, EveryMenuScreenAt1024x768) {
  CheckEveryScreen("[Settings]\r\nGameScreen = 2\r\n", 1024, 768);
}

class SettingsReplay : public CopiedGame {
protected:
  // Key presses from pass 20 on, four passes apart, after the opening
  // screens were skipped; then Esc quits from the main menu. Preferences
  // beside the game: everything is written there.
  std::vector<std::string> Run(const std::string &prefs,
                               const std::vector<std::string> &keys) {
    WriteText(gameDir + "Warrenfold.prefs", prefs);
    for (const auto &f : FilesLike(gameDir, "Log ", ".log"))
      fs::remove(f);
    std::string replay = "seed 1\n" + Press(10, "Esc") + Press(12, "Esc");
    int pass = 20;
    for (const std::string &k : keys) {
      replay += Press(pass, k);
      pass += 4;
    }
    const ProgramResult r =
        RunReplay(replay + Press(pass + 10, "Esc"), 120, " /LOG");
    EXPECT_EQ(r.status, 0) << r.err;
    return Log(gameDir);
  }

  std::string Prefs() { return ReadText(gameDir + "Warrenfold.prefs"); }
};

std::string PrefsFile(const std::string &language, int music, int screen,
                      int resolution, int effects) {
  return "\xEF\xBB\xBF\r\n; Warrenfold Preferences\r\n[Settings]\r\n"
         "Language = " +
         language + "\r\nMusic = " + std::to_string(music) +
         "\r\nGameScreen = " + std::to_string(screen) +
         "\r\nResolution = " + std::to_string(resolution) +
         "\r\nGamepad = 0\r\nPad = 0\r\nButton = 1\r\nSoundFX = " +
         std::to_string(effects) + "\r\n";
}

TEST_F(SettingsReplay, LanguageMusicEffectsAndWindowSizeApplied) {
  // The language one step to the right of English in the settings list.
  Languages lang;
  ScanLanguages(lang, LanguageSource(gameDir));
  FindLanguage(lang, "en_GB");
  ASSERT_GE(lang.choice, 0);
  const bool right = lang.choice + 1 < static_cast<int>(lang.choices.size());
  const std::string next = lang.choices[lang.choice + (right ? 1 : -1)].first;

  // Windowed 1024 x 576 → 1280 x 720: the resolution row is reachable.
  const auto log = Run(PrefsFile("en_GB", 1, 1, 0, 1),
                       {"Down", "Return",                 // Settings, row 1
                        right ? "Right" : "Left", "Down", // language; row 2
                        "Right", "Down", "Right", "Down", // music, effects off
                        "Down", "Right", "Down",          // 1280 x 720
                        "Return", "F1"});                 // OK
  EXPECT_EQ(Prefs(), PrefsFile(next, 0, 1, 1, 0));
  EXPECT_TRUE(Has(log, "Music:\t\tOFF"));
  EXPECT_TRUE(Has(log, "Sounds:\t\tOFF"));
  EXPECT_TRUE(Has(log, "Load language (" + next + "):\t\tOK"));
  EXPECT_TRUE(Has(log, "Screenwidth:\t\t1280"));
  EXPECT_EQ(TakenShot(gameDir).Width(), 1280);
}

TEST_F(SettingsReplay, BorderlessToWindowedAndBack) {
  if (kAddressSanitizer)
    GTEST_SKIP() << "each reopening reloads every picture: too slow under the "
                    "sanitizers; the settings tests cover the code there";
  // The window size row is skipped while borderless, so Down from the
  // screen mode reaches OK.
  const auto log = Run(PrefsFile("en_GB", 1, 2, 3, 1),
                       {"Down", "Return", "Down", "Down", "Down", "Left",
                        "Down", "Down", "Return", "Return", "Down", "Down",
                        "Down", "Right", "Down", "Return"});
  EXPECT_EQ(Prefs(), PrefsFile("en_GB", 1, 2, 3, 1));
  const auto windowed =
      std::find(log.begin(), log.end(), "Opening screen (Windowed):\t\tOK");
  ASSERT_NE(windowed, log.end());
  EXPECT_NE(
      std::find(windowed, log.end(), "Opening screen (Borderless):\t\tOK"),
      log.end());
}

} // namespace
