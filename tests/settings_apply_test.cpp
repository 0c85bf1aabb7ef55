// settings_apply_test.cpp — opening the screen in each mode and size, and
// applying a confirmed settings screen, by their log lines.
#include <gtest/gtest.h>

#include "assets/numbers.h"
#include "platform/display.h"
#include "platform/sound.h"
#include "shell/apply_settings.h"
#include "support/game_fixture.h"

namespace {

using Lines = std::vector<std::string>;

class Apply : public GameFixture {
protected:
  // The settings screen copies the current settings when it opens.
  void Confirm() { game->loop.pending = MakePending(game->settings); }
};

// Each window size opens at its size; full screen and borderless take the
// desktop; any other mode opens nothing and logs nothing.
TEST_F(Apply, EachModeOpensAtItsSize) {
  int dw = 0, dh = 0;
  plat::DesktopSize(dw, dh);
  std::vector<std::pair<ScreenMode, int>> cases = {{ScreenMode::FullScreen, 9},
                                                   {ScreenMode::Borderless, 9}};
  for (int i = 0; i < 10; ++i)
    cases.emplace_back(ScreenMode::Window, i);
  for (const auto &[mode, resolution] : cases) {
    Display d;
    ChooseScreenSize(d, mode, resolution);
    if (mode != ScreenMode::Window) {
      EXPECT_EQ(d.screenWidth, dw);
      EXPECT_EQ(d.screenHeight, dh);
    }
    ASSERT_TRUE(OpenGameScreen(d, mode, game->log)) << resolution;
    EXPECT_EQ(plat::ScreenWidth(), d.screenWidth);
    EXPECT_EQ(plat::ScreenHeight(), d.screenHeight);
    const char *name[] = {"Fullscreen", "Windowed", "Borderless"};
    EXPECT_EQ(NewLogLines(),
              (Lines{"Opening screen (" +
                         std::string(name[static_cast<int>(mode)]) + "):\t\tOK",
                     "Screenwidth:\t\t" + std::to_string(d.screenWidth),
                     "Screenheight:\t\t" + std::to_string(d.screenHeight)}));
    plat::CloseScreen();
    plat::CloseWindow();
  }
  Display d;
  EXPECT_FALSE(OpenGameScreen(d, static_cast<ScreenMode>(3), game->log));
  EXPECT_TRUE(NewLogLines().empty());
}

TEST_F(Apply, MusicLanguageAndSameSettings) {
  ASSERT_TRUE(Start(1, 0));
  Confirm();
  game->sound.recording = true;
  ApplySettings(*game);
  EXPECT_EQ(NewLogLines(), (Lines{"Sounds:\t\tON"})); // nothing changed
  EXPECT_EQ(CountRequests(game->sound, SoundAsk::Effect, num::kConfirm), 1);
  game->sound.recording = false;

  Confirm();
  game->loop.pending.music = 0;
  game->loop.pending.soundFx = 0;
  ApplySettings(*game);
  EXPECT_EQ(NewLogLines(), (Lines{"Music:\t\tOFF", "Sounds:\t\tOFF"}));
  EXPECT_EQ(game->settings.music, 0);
  EXPECT_EQ(plat::SoundStatus(num::kMenuMusic, game->sound.musicChannel), 0);

  Confirm();
  game->loop.pending.music = 1;
  ApplySettings(*game);
  EXPECT_EQ(NewLogLines(), (Lines{"Music:\t\tON", "Sounds:\t\tOFF"}));
  EXPECT_EQ(plat::SoundStatus(num::kMenuMusic, game->sound.musicChannel), 1);

  // A new language alone: its texts, no new screen.
  Confirm();
  game->loop.pending.language = "de_DE";
  game->loop.staleCards = 0;
  game->play.panelStale = 0;
  ApplySettings(*game);
  // Every card with words, and the panel's level label, in the new language.
  EXPECT_EQ(game->loop.staleCards,
            static_cast<unsigned>(kCardMainMenu | kCardSettings | kCardHelp |
                                  kCardCredits | kCardLevelSelect | kCardQuit));
  EXPECT_EQ(game->play.panelStale, static_cast<unsigned>(kPanelLevelLabel));
  EXPECT_EQ(NewLogLines(),
            (Lines{"Sounds:\t\tOFF", "Load language (de_DE):\t\tOK"}));
  EXPECT_EQ(game->settings.language, "de_DE");
  EXPECT_EQ(Text(game->lang, "tMenuSTART").empty(), false);
}

TEST_F(Apply, NewWindowSizeReopensTheScreen) {
  ASSERT_TRUE(Start(1, 1));
  const Lines before = NewLogLines();
  Confirm();
  game->loop.pending.resolution = 4;
  ApplySettings(*game);
  const Lines lines = NewLogLines();
  ASSERT_GT(lines.size(), 8u);
  EXPECT_EQ(Lines(lines.begin(), lines.begin() + 8),
            (Lines{"Sounds:\t\tON", "Opening screen (Windowed):\t\tOK",
                   "Screenwidth:\t\t1920", "Screenheight:\t\t1080",
                   "Joystick: \t\t0", "AspectRatio:\t\t3", "AspectRatio:  16:9",
                   "Load asset (title_16x9.png):\t\tOK"}));
  EXPECT_EQ(
      Lines(lines.end() - 3, lines.end()),
      (Lines{"TileSize: \t\t48", "OffsetX: \t\t-72", "OffsetY: \t\t-24"}));
  EXPECT_EQ(plat::ScreenWidth(), 1920);
  EXPECT_EQ(game->settings.resolution, 4);
  EXPECT_EQ(game->display.geometry.tileSize, 48);
  EXPECT_EQ(game->play.player.speed, 3.0);
  EXPECT_EQ(game->mapView.offsetX, game->display.geometry.menuOriginX);
  EXPECT_TRUE(game->loop.ignoreNextDeactivation);
  // The maps came back with the pictures, and draw.
  EXPECT_EQ(DrawMap(game->maps, game->mapView, "M0"), 0);
}

// A size without a window is dropped; a new mode reopens the screen.
TEST_F(Apply, ScreenModeChangeReopens) {
  ASSERT_TRUE(Start(2, 1, false));
  Confirm();
  game->loop.pending.resolution = 6;
  ApplySettings(*game);
  EXPECT_EQ(NewLogLines(), (Lines{"Sounds:\t\tON"}));
  EXPECT_EQ(game->settings.resolution, 1);
  Confirm();
  game->loop.pending.gameScreen = ScreenMode::Window;
  ApplySettings(*game);
  const Lines lines = NewLogLines();
  ASSERT_GT(lines.size(), 2u);
  EXPECT_EQ(lines[1], "Opening screen (Windowed):\t\tOK");
  EXPECT_EQ(game->settings.gameScreen, ScreenMode::Window);
  EXPECT_EQ(game->display.aspectRatio, Aspect::R16x9); // the desktop's is 4:3
}

} // namespace
