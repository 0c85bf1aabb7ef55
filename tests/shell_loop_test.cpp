// shell_loop_test.cpp — the main loop's key, gamepad and state tables.
#include <gtest/gtest.h>

#include <memory>

#include "assets/numbers.h"
#include "game/levels.h"
#include "platform/platform.h"
#include "shell/game.h"
#include "shell/loop.h"
#include "support/temp_dir.h"

namespace {

using plat::Key;

class Loop_ : public ::testing::Test {
protected:
  std::unique_ptr<Game> game = std::make_unique<Game>();
  TempDir dir;

  void SetUp() override {
    ASSERT_TRUE(plat::Init());
    ASSERT_TRUE(plat::InitKeyboard());
    plat::ScriptedInput(true);
    game->play.levels = BuiltInLevels();
    game->display.resolutions = ResolutionList();
    game->paths.saveTo = dir.Folder();
    // Sounds from the forged archive, so clicks can be counted.
    game->paths.gameDir = WARRENFOLD_GAME_DIR;
    soundsLoaded = plat::InitSound() && LoadSoundsQuietly();
  }
  void TearDown() override { plat::Shutdown(); }

  bool soundsLoaded = false;
  bool LoadSoundsQuietly() {
    try {
      LoadSounds(*game);
      return true;
    } catch (const FatalExit &) {
      return false;
    }
  }

  void Snapshot() {
    plat::KeyboardSnapshot();
    HandleKeyboard(*game);
  }
  // Down in one frame, up in the next: released once.
  void Press(Key k) {
    plat::InjectKey(k, true);
    Snapshot();
    plat::InjectKey(k, false);
    Snapshot();
  }
  ScreenState State() const { return game->loop.state; }
  void Enter(ScreenState s) { game->loop.state = s; }
  int Clicks() { return plat::SoundPlayCount(num::kClick); }
  int Confirms() { return plat::SoundPlayCount(num::kConfirm); }
};

TEST_F(Loop_, EscThroughTheOpeningScreens) {
  Press(Key::Esc);
  EXPECT_EQ(State(), ScreenState::TitleFadeIn);
  game->loop.fade = 96;
  game->loop.frameCounter = 30;
  Press(Key::Esc);
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_EQ(game->loop.frameCounter, 0);
  EXPECT_EQ(game->loop.fade, 96); // fades out from where it was
  StateLogic(*game);
  EXPECT_EQ(game->loop.fade, 88);
  Press(Key::Esc);
  EXPECT_EQ(game->loop.quit, 1);
}

TEST_F(Loop_, OpeningScreensRunOnTheirOwn) {
  for (int i = 0; i < 100; ++i)
    StateLogic(*game);
  EXPECT_EQ(State(), ScreenState::StudioLogo);
  StateLogic(*game);
  EXPECT_EQ(State(), ScreenState::TitleFadeIn);
  for (int i = 0; i < 32; ++i)
    StateLogic(*game);
  EXPECT_EQ(game->loop.fade, 256);
  for (int i = 0; i < 100; ++i)
    StateLogic(*game);
  EXPECT_EQ(State(), ScreenState::TitleFadeIn);
  StateLogic(*game);
  EXPECT_EQ(State(), ScreenState::MainMenu);
}

TEST_F(Loop_, MainMenuMovesWithoutWrapping) {
  Enter(ScreenState::MainMenu);
  const int clicks = Clicks();
  Press(Key::Up);
  EXPECT_EQ(game->loop.mainMenuItem, 1);
  for (int i = 0; i < 6; ++i)
    Press(Key::Down);
  EXPECT_EQ(game->loop.mainMenuItem, 5);
  if (soundsLoaded) {
    EXPECT_EQ(Clicks() - clicks, 4);
  } // only the moves that happened
  game->settings.soundFx = 0;
  Press(Key::Up);
  EXPECT_EQ(game->loop.mainMenuItem, 4);
  if (soundsLoaded) {
    EXPECT_EQ(Clicks() - clicks, 4);
  } // silent with effects off
}

TEST_F(Loop_, HeldKeyActsOnceWhenReleased) {
  Enter(ScreenState::MainMenu);
  plat::InjectKey(Key::Down, true);
  for (int i = 0; i < 20; ++i)
    Snapshot();
  EXPECT_EQ(game->loop.mainMenuItem, 1);
  plat::InjectKey(Key::Down, false);
  Snapshot();
  Snapshot();
  EXPECT_EQ(game->loop.mainMenuItem, 2);
}

TEST_F(Loop_, SettingsSkipTheWindowSizeUnlessWindowed) {
  game->settings.gameScreen = 2;
  Enter(ScreenState::MainMenu);
  game->loop.mainMenuItem = 2;
  Press(Key::Return);
  ASSERT_EQ(State(), ScreenState::SettingsDialog);
  EXPECT_EQ(game->loop.settingsRow, 1);
  EXPECT_EQ(game->loop.pending.gameScreen, 2);
  for (int i = 0; i < 3; ++i)
    Press(Key::Down);
  EXPECT_EQ(game->loop.settingsRow, 4);
  Press(Key::Down);
  EXPECT_EQ(game->loop.settingsRow, 6);
  Press(Key::Up);
  EXPECT_EQ(game->loop.settingsRow, 4);
  Press(Key::Left); // borderless -> windowed
  EXPECT_EQ(game->loop.pending.gameScreen, 1);
  Press(Key::Down);
  EXPECT_EQ(game->loop.settingsRow, 5);
  Press(Key::Right);
  EXPECT_EQ(game->loop.pending.resolution, 2);
  // N does nothing here; M only flips the music flag.
  const int fx = game->settings.soundFx;
  Press(Key::N);
  EXPECT_EQ(game->settings.soundFx, fx);
  Press(Key::M);
  EXPECT_EQ(game->settings.music, 0);
  // Esc drops the pending settings.
  Press(Key::Esc);
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_EQ(game->settings.gameScreen, 2);
  EXPECT_EQ(game->loop.mainMenuItem, 2); // menu keeps its entry
}

TEST_F(Loop_, SettingsValuesStopAtTheirEnds) {
  Enter(ScreenState::MainMenu);
  game->loop.mainMenuItem = 2;
  Press(Key::Return);
  game->loop.settingsRow = 2; // music, pending On
  const int clicks = Clicks();
  Press(Key::Left); // already On: nothing
  EXPECT_EQ(game->loop.pending.music, 1);
  Press(Key::Right);
  EXPECT_EQ(game->loop.pending.music, 0);
  Press(Key::Right);
  EXPECT_EQ(game->loop.pending.music, 0);
  if (soundsLoaded) {
    EXPECT_EQ(Clicks() - clicks, 1);
  }
  game->loop.settingsRow = 4;
  Press(Key::Right);
  Press(Key::Right);
  EXPECT_EQ(game->loop.pending.gameScreen, 2);
  // Confirm on a value row does nothing; Cancel plays the confirm sound.
  const int confirms = Confirms();
  Press(Key::Return);
  EXPECT_EQ(State(), ScreenState::SettingsDialog);
  game->loop.settingsRow = 7;
  Press(Key::KeypadEnter);
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_EQ(game->loop.settingsRow, 1);
  EXPECT_EQ(game->settings.music, 1);
  if (soundsLoaded) {
    EXPECT_EQ(Confirms() - confirms, 1);
  }
}

TEST_F(Loop_, QuitQuestionFromMenuAndFromLevel) {
  Enter(ScreenState::MainMenu);
  game->loop.mainMenuItem = 5;
  Press(Key::Return);
  ASSERT_EQ(State(), ScreenState::QuitQuestion);
  Press(Key::Down);
  Press(Key::Return); // No
  EXPECT_EQ(State(), ScreenState::MainMenu);
  Press(Key::Return);
  Press(Key::Return); // Yes at once: the quick double confirm quits
  EXPECT_EQ(game->loop.quit, 1);

  game->loop.quit = 0;
  Enter(ScreenState::Playing);
  game->loop.playActive = 1;
  Press(Key::Esc);
  ASSERT_EQ(State(), ScreenState::Paused);
  Press(Key::Down);
  Press(Key::Return);
  ASSERT_EQ(State(), ScreenState::QuitQuestionInGame);
  Press(Key::Down);
  Press(Key::Return); // No: back to the pause dialog, Quit still chosen
  EXPECT_EQ(State(), ScreenState::Paused);
  EXPECT_EQ(game->loop.pauseItem, 2);
  Press(Key::Return);
  Press(Key::Esc);
  EXPECT_EQ(State(), ScreenState::Paused);
  Press(Key::Return);
  Press(Key::Return); // Yes: the level is abandoned
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_EQ(game->loop.playActive, 0);
  EXPECT_EQ(game->loop.quit, 0);
}

TEST_F(Loop_, LevelSelectStartsAndResetsSlots) {
  game->progress.slots = {"01", "07", "01", "01", "01"};
  Enter(ScreenState::MainMenu);
  Press(Key::Return);
  ASSERT_EQ(State(), ScreenState::LevelSelect);
  Press(Key::Delete); // slot 1 is already new: nothing
  Press(Key::Down);
  Press(Key::Return);
  EXPECT_EQ(State(), ScreenState::Countdown);
  EXPECT_EQ(game->play.current, 6);
  EXPECT_EQ(game->play.currentMap, "07");
  EXPECT_EQ(game->loop.levelSelectItem, 2); // the run belongs to slot 2

  Enter(ScreenState::LevelSelect);
  Press(Key::Delete);
  EXPECT_EQ(game->progress.slots[1], "01");
  for (int i = 0; i < 5; ++i)
    Press(Key::Down);
  EXPECT_EQ(game->loop.levelSelectItem, 6);
  Press(Key::Return); // Back
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_EQ(game->loop.levelSelectItem, 1);
}

TEST_F(Loop_, CountdownIsNotInterrupted) {
  Enter(ScreenState::Countdown);
  Press(Key::Esc);
  EXPECT_EQ(State(), ScreenState::Countdown);
}

TEST_F(Loop_, LevelCompleteOnTheLastLevelStartsTheFinale) {
  game->play.current = 19;
  Enter(ScreenState::LevelComplete);
  game->loop.completeItem = 2;
  const int confirms = Confirms();
  Press(Key::Return);
  EXPECT_EQ(State(), ScreenState::GameFinished);
  if (soundsLoaded) {
    EXPECT_EQ(Confirms(), confirms);
  } // the finale starts without a click
  game->loop.levelSelectItem = 3;
  game->progress.slots[2] = "20";
  Press(Key::Space);
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_EQ(game->progress.slots[2], "01");
}

TEST_F(Loop_, CaughtRetriesTheSameLevel) {
  game->play.current = 4;
  Enter(ScreenState::Caught);
  Press(Key::Return);
  EXPECT_EQ(State(), ScreenState::Countdown);
  EXPECT_EQ(game->play.current, 4);
  Enter(ScreenState::Caught);
  Press(Key::Esc);
  EXPECT_EQ(State(), ScreenState::MainMenu);
}

TEST_F(Loop_, MusicToggleFollowsTheStateGroup) {
  for (ScreenState s : {ScreenState::Countdown, ScreenState::LevelComplete,
                        ScreenState::Caught, ScreenState::SettingsDialog}) {
    Enter(s);
    game->settings.music = 1;
    Press(Key::M);
    EXPECT_EQ(game->settings.music, 0);
    Press(Key::M);
    EXPECT_EQ(game->settings.music, 1);
  }
  if (!soundsLoaded)
    return;
  Enter(ScreenState::MainMenu);
  game->settings.music = 0;
  Press(Key::M);
  EXPECT_EQ(plat::SoundStatus(num::kMenuMusic, game->loop.musicChannel), 1);
  Press(Key::M);
  EXPECT_EQ(plat::SoundStatus(num::kMenuMusic, game->loop.musicChannel), 0);
}

TEST_F(Loop_, SoundEffectsToggle) {
  Enter(ScreenState::MainMenu);
  Press(Key::N);
  EXPECT_EQ(game->settings.soundFx, 0);
  Press(Key::N);
  EXPECT_EQ(game->settings.soundFx, 1);
}

class Pad_ : public Loop_ {
protected:
  void SetUp() override {
    Loop_::SetUp();
    plat::InjectPadConnected(true);
    game->loop.padCount = plat::FindGamepads();
    ASSERT_EQ(game->loop.padCount, 1);
  }
  void Frame() {
    plat::KeyboardSnapshot();
    HandleGamepad(*game);
  }
};

TEST_F(Pad_, ButtonPausesInPlayAndConfirmsElsewhere) {
  Enter(ScreenState::Playing);
  plat::InjectPadButton(1, true);
  Frame();
  EXPECT_EQ(State(), ScreenState::Paused);
  EXPECT_EQ(game->loop.pauseItem, 1);
  for (int i = 0; i < 10; ++i)
    Frame(); // held: nothing more until it is released
  EXPECT_EQ(State(), ScreenState::Paused);
  plat::InjectPadButton(1, false);
  Frame();
  plat::InjectPadButton(1, true);
  Frame();
  EXPECT_EQ(State(), ScreenState::Playing); // resume
}

TEST_F(Pad_, StickRepeatsEveryElevenFrames) {
  Enter(ScreenState::MainMenu);
  game->loop.padRepeat = 0;
  plat::InjectPadAxis(0, 0, 1000);
  Frame();
  EXPECT_EQ(game->loop.mainMenuItem, 2);
  for (int i = 0; i < 10; ++i)
    Frame();
  EXPECT_EQ(game->loop.mainMenuItem, 2);
  Frame();
  EXPECT_EQ(game->loop.mainMenuItem, 3);
  // Let go and push again: the counter is not reset.
  plat::InjectPadAxis(0, 0, 0);
  Frame();
  plat::InjectPadAxis(0, 0, -700);
  for (int i = 0; i < 10; ++i)
    Frame();
  EXPECT_EQ(game->loop.mainMenuItem, 3);
  Frame();
  EXPECT_EQ(game->loop.mainMenuItem, 2);
}

TEST_F(Pad_, TwoItemDialogsFollowTheStickEveryFrame) {
  Enter(ScreenState::Caught);
  game->loop.padRepeat = 5;
  plat::InjectPadAxis(0, 0, 1000);
  Frame();
  EXPECT_EQ(game->loop.caughtItem, 2);
  EXPECT_EQ(game->loop.padRepeat, 5);
}

TEST_F(Pad_, ConfiguredStickAndButton) {
  game->settings.pad = 2;
  game->settings.button = 3;
  Enter(ScreenState::MainMenu);
  game->loop.padRepeat = 0;
  plat::InjectPadAxis(0, 0, 1000); // the left stick is not the one in use
  Frame();
  EXPECT_EQ(game->loop.mainMenuItem, 1);
  plat::InjectPadAxis(2, 0, 1000);
  Frame();
  EXPECT_EQ(game->loop.mainMenuItem, 2);
  plat::InjectPadButton(1, true);
  Frame();
  EXPECT_EQ(State(), ScreenState::MainMenu);
  plat::InjectPadButton(3, true);
  Frame();
  EXPECT_EQ(State(), ScreenState::SettingsDialog);
}

} // namespace
