// shell_screens_test.cpp — every menu screen of the real binary, driven by
// a replay and saved with F1, at two screen sizes: each dialog's card lies
// where its layout says, in its colours.
#include <gtest/gtest.h>

#include <filesystem>

#include "settings/display.h"
#include "support/copied_game.h"
#include "support/run_program.h"
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

TEST_F(Screens, EveryMenuScreenAt1920x1080) {
  if (kAddressSanitizer)
    GTEST_SKIP() << "twelve start-ups are too slow under the sanitizers; the "
                    "1024 x 768 run covers the same code";
  CheckEveryScreen("[Settings]\r\nGameScreen = 1\r\nResolution = 4\r\n", 1920,
                   1080);
}

TEST_F(Screens, EveryMenuScreenAt1024x768) {
  // The headless desktop is 1024 x 768: a borderless window takes it all.
  CheckEveryScreen("[Settings]\r\nGameScreen = 2\r\n", 1024, 768);
}

} // namespace
