// shell_loop_test.cpp — the main loop's key, gamepad and state tables.
#include <gtest/gtest.h>

#include <memory>

#include "assets/numbers.h"
#include "game/levels.h"
#include "platform/input.h"
#include "platform/scripted_input.h"
#include "shell/game.h"
#include "shell/input.h"
#include "shell/loop.h"
#include "shell/screens.h"
#include "support/maze_builder.h"
#include "support/temp_dir.h"

namespace {

using plat::Key;

// The loop's logic without a screen, sounds or an archive: input comes
// from the platform's scripted input (no device is opened), and the sound
// service records what was asked of it.
class Loop_ : public ::testing::Test {
protected:
  std::unique_ptr<Game> game = std::make_unique<Game>();
  TempDir dir;

  void SetUp() override {
    plat::ScriptedInput(true);
    plat::InjectPadConnected(false);
    game->play.levels = BuiltInLevels();
    game->display.resolutions = ResolutionList();
    game->paths.saveTo = dir.Folder();
    game->sound.recording = true;
    game->loop.drawing = false;
  }
  void TearDown() override { plat::ScriptedInput(false); }

  void Snapshot() {
    const Settings &s = game->settings;
    game->input = TakeInputFrame(s.gamepad, s.pad, s.button);
    HandleKeyboard(*game);
  }
  // Each key down in one frame, up in the next: released once.
  template <typename... Keys> void Press(Keys... keys) {
    for (Key k : {keys...}) {
      plat::InjectKey(k, true);
      Snapshot();
      plat::InjectKey(k, false);
      Snapshot();
    }
  }
  void Logic(int frames) {
    for (int i = 0; i < frames; ++i)
      StateLogic(*game);
  }
  ScreenState State() const { return game->loop.state; }
  void Enter(ScreenState s) { game->loop.state = s; }
  int Effects(int sound) const {
    return CountRequests(game->sound, SoundAsk::Effect, sound);
  }
  int Clicks() const { return Effects(num::kClick); }
  int Confirms() const { return Effects(num::kConfirm); }
};

// Behind the menus the title monsters wander the menu maze; the level
// states show a level. The opening screens are neither.
TEST(LoopStates, MenuAndLevelStates) {
  using S = ScreenState;
  const std::pair<S, char> kinds[] = {
      {S::StudioLogo, '-'},    {S::TitleFadeIn, '-'},
      {S::MainMenu, 'm'},      {S::LevelSelect, 'm'},
      {S::Credits, 'm'},       {S::SettingsDialog, 'm'},
      {S::Help, 'm'},          {S::QuitQuestion, 'm'},
      {S::Countdown, 'l'},     {S::Playing, 'l'},
      {S::Paused, 'l'},        {S::QuitQuestionInGame, 'l'},
      {S::LevelComplete, 'l'}, {S::GameFinished, 'l'},
      {S::Caught, 'l'}};
  for (auto [state, kind] : kinds) {
    const ScreenGroup group = ScreenOf(state).group;
    EXPECT_EQ(group == ScreenGroup::Menu, kind == 'm')
        << static_cast<int>(state);
    EXPECT_EQ(group == ScreenGroup::Level, kind == 'l')
        << static_cast<int>(state);
  }
}

TEST_F(Loop_, OpeningScreensRunOnTheirOwnOrAreLeftWithEsc) {
  Logic(100);
  EXPECT_EQ(State(), ScreenState::StudioLogo);
  StateLogic(*game);
  EXPECT_EQ(State(), ScreenState::TitleFadeIn);
  Logic(32);
  EXPECT_EQ(game->loop.fade, 256);
  Logic(100);
  EXPECT_EQ(State(), ScreenState::TitleFadeIn);
  StateLogic(*game);
  EXPECT_EQ(State(), ScreenState::MainMenu);

  Enter(ScreenState::StudioLogo);
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
  EXPECT_TRUE(game->loop.quit);
}

// A held key acts once, when it is released.
TEST_F(Loop_, MainMenuMovesWithoutWrappingOnReleasedKeys) {
  Enter(ScreenState::MainMenu);
  plat::InjectKey(Key::Down, true);
  for (int i = 0; i < 20; ++i)
    Snapshot();
  EXPECT_EQ(game->loop.mainMenuItem, 1);
  plat::InjectKey(Key::Down, false);
  Snapshot();
  Snapshot();
  EXPECT_EQ(game->loop.mainMenuItem, 2);
  Press(Key::Up);
  const int clicks = Clicks();
  Press(Key::Up);
  EXPECT_EQ(game->loop.mainMenuItem, 1);
  for (int i = 0; i < 6; ++i)
    Press(Key::Down);
  EXPECT_EQ(game->loop.mainMenuItem, 5);
  EXPECT_EQ(Clicks() - clicks, 4); // only the moves that happened
  game->settings.soundFx = 0;
  Press(Key::Up);
  EXPECT_EQ(game->loop.mainMenuItem, 4);
  EXPECT_EQ(Clicks() - clicks, 4); // silent with effects off
}

TEST_F(Loop_, SettingsSkipTheWindowSizeUnlessWindowed) {
  game->settings.gameScreen = ScreenMode::Borderless;
  Enter(ScreenState::MainMenu);
  game->loop.mainMenuItem = 2;
  Press(Key::Return);
  ASSERT_EQ(State(), ScreenState::SettingsDialog);
  EXPECT_EQ(game->loop.settingsRow, 1);
  EXPECT_EQ(game->loop.pending.gameScreen, ScreenMode::Borderless);
  for (int i = 0; i < 3; ++i)
    Press(Key::Down);
  EXPECT_EQ(game->loop.settingsRow, 4);
  Press(Key::Down);
  EXPECT_EQ(game->loop.settingsRow, 6);
  Press(Key::Up);
  EXPECT_EQ(game->loop.settingsRow, 4);
  Press(Key::Left); // borderless -> windowed
  EXPECT_EQ(game->loop.pending.gameScreen, ScreenMode::Window);
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
  EXPECT_EQ(game->settings.gameScreen, ScreenMode::Borderless);
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
  EXPECT_EQ(Clicks() - clicks, 1);
  game->loop.settingsRow = 4;
  Press(Key::Right, Key::Right);
  EXPECT_EQ(game->loop.pending.gameScreen, ScreenMode::Borderless);
  // Confirm on a value row does nothing; Cancel plays the confirm sound.
  const int confirms = Confirms();
  Press(Key::Return);
  EXPECT_EQ(State(), ScreenState::SettingsDialog);
  game->loop.settingsRow = 7;
  Press(Key::KeypadEnter);
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_EQ(game->loop.settingsRow, 1);
  EXPECT_EQ(game->settings.music, 1);
  EXPECT_EQ(Confirms() - confirms, 1);
}

// A language chosen and then cancelled is dropped: the screen opens again
// on the language in use.
TEST_F(Loop_, ALanguageChangedThenCancelled) {
  game->lang.choices = {{"de_DE", "Deutsch"}, {"en_GB", "English"}};
  game->settings.language = "en_GB";
  Enter(ScreenState::MainMenu);
  game->loop.mainMenuItem = 2;
  Press(Key::Return);
  EXPECT_EQ(game->lang.choice, 1);
  Press(Key::Left, Key::Left); // the second: already the first language
  EXPECT_EQ(game->lang.choice, 0);
  EXPECT_EQ(game->loop.pending.language, "de_DE");
  game->loop.settingsRow = 7;
  Press(Key::Return);
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_EQ(game->settings.language, "en_GB");
  Press(Key::Return);
  EXPECT_EQ(game->lang.choice, 1);
  EXPECT_EQ(game->loop.pending.language, "en_GB");
}

TEST_F(Loop_, QuitQuestionFromMenuAndFromLevel) {
  Enter(ScreenState::MainMenu);
  game->loop.mainMenuItem = 5;
  Press(Key::Return);
  ASSERT_EQ(State(), ScreenState::QuitQuestion);
  Press(Key::Down, Key::Return); // No
  EXPECT_EQ(State(), ScreenState::MainMenu);
  // Yes at once: the quick double confirm quits.
  Press(Key::Return, Key::Return);
  EXPECT_TRUE(game->loop.quit);

  game->loop.quit = false;
  Enter(ScreenState::Playing);
  game->play.playActive = true;
  Press(Key::Esc);
  ASSERT_EQ(State(), ScreenState::Paused);
  Press(Key::Down, Key::Return);
  ASSERT_EQ(State(), ScreenState::QuitQuestionInGame);
  // No: back to the pause dialog, Quit still chosen.
  Press(Key::Down, Key::Return);
  EXPECT_EQ(State(), ScreenState::Paused);
  EXPECT_EQ(game->loop.pauseItem, 2);
  Press(Key::Return, Key::Esc);
  EXPECT_EQ(State(), ScreenState::Paused);
  Press(Key::Return, Key::Return); // Yes: the level is abandoned
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_FALSE(game->play.playActive);
  EXPECT_FALSE(game->loop.quit);
}

TEST_F(Loop_, LevelSelectStartsAndResetsSlots) {
  game->progress.slots = {"01", "07", "01", "01", "01"};
  Enter(ScreenState::MainMenu);
  Press(Key::Return);
  ASSERT_EQ(State(), ScreenState::LevelSelect);
  Press(Key::Delete); // slot 1 is already new: nothing
  Press(Key::Down, Key::Return);
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
  // A slot naming no level starts the first.
  for (const char *slot : {"00", "21", "", "abc", "7x", "-3", "99999999999"}) {
    game->progress.slots[0] = slot;
    Enter(ScreenState::LevelSelect);
    game->loop.levelSelectItem = 1;
    Press(Key::Return);
    EXPECT_EQ(State(), ScreenState::Countdown) << slot;
    EXPECT_EQ(game->play.currentMap, "01") << slot;
  }
}

TEST_F(Loop_, ALevelFromTheMenuCountsDownIntoPlay) {
  Enter(ScreenState::LevelSelect);
  game->loop.levelSelectItem = 1;
  Press(Key::Return);
  ASSERT_EQ(State(), ScreenState::Countdown);
  EXPECT_EQ(game->sound.requests.back(),
            (SoundRequest{SoundAsk::StopMusic, num::kMenuMusic}));
  Press(Key::Esc); // the countdown is not interrupted
  EXPECT_EQ(State(), ScreenState::Countdown);
  Logic(138);
  EXPECT_EQ(State(), ScreenState::Countdown);
  StateLogic(*game);
  EXPECT_EQ(State(), ScreenState::Playing);
  EXPECT_TRUE(game->play.playActive);
  EXPECT_EQ(game->sound.requests.back(),
            (SoundRequest{SoundAsk::StartMusic, num::kLevelMusic}));
  // Esc pauses once play runs.
  Press(Key::Esc);
  EXPECT_EQ(State(), ScreenState::Paused);
}

// A level on an open maze of its own, started from a level-select slot and
// counted down into play.
void PlayFromSlot(Game &game, int slot, const std::string &id) {
  game.progress.slots[slot - 1] = id;
  AddMaze(game.maps, id, OpenLevel());
  game.loop.state = ScreenState::LevelSelect;
  game.loop.levelSelectItem = slot;
  game.input = InputFrame{};
  game.input.released[static_cast<uint8_t>(Key::Return)] = true;
  HandleKeyboard(game);
  game.input = InputFrame{};
  // A countdown that never ends fails the test instead of hanging it.
  for (int i = 0; i < 1000 && game.loop.state == ScreenState::Countdown; ++i)
    StateLogic(game);
}

int RunUntilStateChanges(Game &game) {
  const ScreenState from = game.loop.state;
  int frames = 0;
  while (game.loop.state == from && frames < 10000) {
    MoveActors(game);
    StateLogic(game);
    ++frames;
  }
  return frames;
}

TEST_F(Loop_, TheLastLevelKeepsItsSlotThenTheFinaleResetsIt) {
  PlayFromSlot(*game, 4, "20");
  SetTile(game->maps, "20", maze::kItemLayer, 41, 23, maze::kDot); // in play
  game->play.collected = game->play.levels[19].pickupTotal;
  RunUntilStateChanges(*game);
  ASSERT_EQ(State(), ScreenState::LevelComplete);
  EXPECT_EQ(ReadText(dir.File("Warrenfold.scores")),
            "01\r\n01\r\n01\r\n20\r\n01\r\n");
  Press(Key::Return);
  ASSERT_EQ(State(), ScreenState::GameFinished);
  EXPECT_EQ(game->sound.requests.back(),
            (SoundRequest{SoundAsk::StartMusic, num::kFinaleMusic}));
  Logic(200);
  EXPECT_EQ(game->play.finaleDimming, 255);
  Press(Key::Space);
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_EQ(game->progress.slots[3], "01"); // in memory; saved at the exit
  EXPECT_EQ(GetTile(game->maps, "20", maze::kItemLayer, 41, 23), 0); // back
  EXPECT_EQ(ReadText(dir.File("Warrenfold.scores")),
            "01\r\n01\r\n01\r\n20\r\n01\r\n");
  EXPECT_EQ(game->play.monsters.size(), 50u); // the title monsters are back
  // Menu, the dialog's second entry, on the last level: the finale too,
  // without a click.
  game->play.current = 19;
  Enter(ScreenState::LevelComplete);
  game->loop.completeItem = 2;
  const int confirms = Confirms();
  Press(Key::Return);
  EXPECT_EQ(State(), ScreenState::GameFinished);
  EXPECT_EQ(Confirms(), confirms);
}

// The level counts from its last pickup: the slot advances and is saved
// at once, and the 128-frame fanfare cannot be paused, so no quit or
// closed window during it loses the win.
TEST_F(Loop_, TheWinCountsFromTheLastPickup) {
  PlayFromSlot(*game, 2, "01");
  ASSERT_EQ(State(), ScreenState::Playing);
  game->play.collected = game->play.levels[0].pickupTotal;
  StateLogic(*game);
  EXPECT_EQ(ReadText(dir.File("Warrenfold.scores")),
            "01\r\n02\r\n01\r\n01\r\n01\r\n");
  Press(Key::Esc);
  EXPECT_EQ(State(), ScreenState::Playing);
  EXPECT_EQ(RunUntilStateChanges(*game), 127);
  EXPECT_EQ(State(), ScreenState::LevelComplete);
  EXPECT_EQ(game->loop.completeItem, 1);
  // Next: the following level counts down, for the same slot.
  Press(Key::Return);
  EXPECT_EQ(State(), ScreenState::Countdown);
  EXPECT_EQ(game->play.currentMap, "02");
  EXPECT_EQ(game->loop.levelSelectItem, 2);
  // Asked over a level, the quit question is about the level, whatever
  // play's flag says: No goes back to the pause, Yes to the menu.
  game->play.playActive = false;
  Enter(ScreenState::QuitQuestionInGame);
  game->loop.quitItem = 2;
  Press(Key::Return);
  EXPECT_EQ(State(), ScreenState::Paused);
  Enter(ScreenState::QuitQuestionInGame);
  game->loop.quitItem = 1;
  Press(Key::Return);
  EXPECT_EQ(State(), ScreenState::MainMenu);
  EXPECT_FALSE(game->loop.quit);
  EXPECT_EQ(game->play.monsters.size(), 50u);
}

TEST_F(Loop_, LastPickupOnTheFrameOfACatchWinsAndTheNextCatchRunsWhole) {
  PlayFromSlot(*game, 1, "01");
  game->play.collected = game->play.levels[0].pickupTotal;
  game->play.caughtFreeze = true; // caught on the same frame
  EXPECT_EQ(RunUntilStateChanges(*game), 128);
  EXPECT_EQ(State(), ScreenState::LevelComplete);
  // The caught sequence was cut short; in the next level it starts again
  // from its first frame, the impact too.
  AddMaze(game->maps, "02", OpenLevel());
  Press(Key::Return);
  for (int i = 0; i < 1000 && State() == ScreenState::Countdown; ++i)
    StateLogic(*game);
  game->play.caughtFreeze = true;
  StateLogic(*game);
  EXPECT_EQ(game->play.impactClip, 192);
  // 167 frames in all: a run after the first waits one frame less.
  EXPECT_EQ(RunUntilStateChanges(*game), 166);
  EXPECT_EQ(State(), ScreenState::Caught);
}

TEST_F(Loop_, CaughtOpensItsDialogThenRetries) {
  PlayFromSlot(*game, 1, "01");
  game->play.caughtFreeze = true;
  Press(Key::Esc); // the caught sequence cannot be paused
  EXPECT_EQ(State(), ScreenState::Playing);
  EXPECT_EQ(RunUntilStateChanges(*game), 168);
  EXPECT_EQ(State(), ScreenState::Caught);
  EXPECT_FALSE(game->play.playActive);
  Press(Key::Return); // retry
  EXPECT_EQ(State(), ScreenState::Countdown);
  EXPECT_EQ(game->play.currentMap, "01");
  EXPECT_FALSE(game->play.caughtFreeze);
  EXPECT_EQ(game->play.player.opacity, 0);
  Enter(ScreenState::Caught);
  Press(Key::Esc);
  EXPECT_EQ(State(), ScreenState::MainMenu);
  Enter(ScreenState::Caught);
  game->loop.caughtItem = 1;
  Press(Key::Down, Key::Return); // Menu
  EXPECT_EQ(State(), ScreenState::MainMenu);
}

TEST_F(Loop_, MusicAndEffectsToggles) {
  for (ScreenState s : {ScreenState::Countdown, ScreenState::LevelComplete,
                        ScreenState::Caught, ScreenState::SettingsDialog}) {
    Enter(s);
    game->settings.music = 1;
    Press(Key::M);
    EXPECT_EQ(game->settings.music, 0);
    Press(Key::M);
    EXPECT_EQ(game->settings.music, 1);
  }
  Enter(ScreenState::MainMenu);
  game->settings.music = 0;
  game->sound.requests.clear();
  Press(Key::M, Key::M);
  EXPECT_EQ(
      game->sound.requests,
      (std::vector<SoundRequest>{{SoundAsk::StartMusic, num::kMenuMusic, -1},
                                 {SoundAsk::StopMusic, num::kMenuMusic, -1}}));
  Press(Key::N);
  EXPECT_EQ(game->settings.soundFx, 0);
  Press(Key::N);
  EXPECT_EQ(game->settings.soundFx, 1);
}

// Switched away from, the music pauses; back, it resumes. A borderless
// window minimises itself unless the switch was its own (a screen mode
// just applied); full screen has no window to minimise. A close quits.
TEST_F(Loop_, WindowFocusMinimiseAndClose) {
  using W = plat::WindowEvent;
  using A = SoundAsk;
  const struct {
    ScreenMode mode;
    bool ownSwitch;
    W event;
    std::vector<A> asked;
    bool ownSwitchAfter;
  } rows[] = {
      {ScreenMode::Window, false, W::Minimised, {A::PauseMusic}, false},
      {ScreenMode::Window, false, W::Deactivated, {}, false},
      {ScreenMode::Window, false, W::Restored, {A::ResumeMusic}, false},
      {ScreenMode::Borderless, false, W::Deactivated, {A::PauseMusic}, false},
      {ScreenMode::Borderless, true, W::Deactivated, {A::PauseMusic}, false},
      {ScreenMode::Borderless, false, W::Minimised, {}, false},
      {ScreenMode::Borderless, true, W::Activated, {A::ResumeMusic}, true},
      {ScreenMode::FullScreen, false, W::Minimised, {}, false},
      {ScreenMode::FullScreen, false, W::Restored, {}, false},
  };
  for (const auto &row : rows) {
    game->settings.gameScreen = row.mode;
    game->loop.ignoreNextDeactivation = row.ownSwitch;
    game->sound.requests.clear();
    plat::InjectWindowEvent(row.event);
    HandleWindowEvents(*game);
    std::vector<A> asked;
    for (const SoundRequest &r : game->sound.requests)
      asked.push_back(r.what);
    EXPECT_EQ(asked, row.asked) << int(row.mode) << " " << int(row.event);
    EXPECT_EQ(game->loop.ignoreNextDeactivation, row.ownSwitchAfter)
        << int(row.mode) << " " << int(row.event);
    EXPECT_FALSE(game->loop.quit);
  }
  game->settings.gameScreen = ScreenMode::FullScreen;
  plat::InjectWindowEvent(W::Close);
  HandleWindowEvents(*game);
  EXPECT_TRUE(game->loop.quit);
}

class Pad_ : public Loop_ {
protected:
  void SetUp() override {
    Loop_::SetUp();
    plat::InjectPadConnected(true);
    game->loop.padCount = plat::FindGamepads();
    ASSERT_EQ(game->loop.padCount, 1);
  }
  // `n` frames of the pad's input as it stands.
  void Frames(int n = 1) {
    const Settings &s = game->settings;
    for (int i = 0; i < n; ++i) {
      game->input = TakeInputFrame(s.gamepad, s.pad, s.button);
      HandleGamepad(*game);
    }
  }
  void Button(int b, bool down) {
    plat::InjectPadButton(b, down);
    Frames();
  }
  void Stick(int stick, int x, int y, int frames = 1) {
    plat::InjectPadAxis(stick, x, y);
    Frames(frames);
  }
};

TEST_F(Pad_, ButtonPausesInPlayAndConfirmsElsewhere) {
  Enter(ScreenState::Playing);
  // Not during the fanfare, when play is no longer active.
  Button(1, true);
  EXPECT_EQ(State(), ScreenState::Playing);
  Button(1, false);
  game->play.playActive = true;
  Button(1, true);
  EXPECT_EQ(State(), ScreenState::Paused);
  EXPECT_EQ(game->loop.pauseItem, 1);
  Frames(10); // held: nothing more until it is released
  EXPECT_EQ(State(), ScreenState::Paused);
  Button(1, false);
  Button(1, true);
  EXPECT_EQ(State(), ScreenState::Playing); // resume
}

TEST_F(Pad_, StickRepeatsEveryElevenFramesInMenus) {
  Enter(ScreenState::MainMenu);
  game->loop.padRepeat = 0;
  Stick(0, 0, 1000);
  EXPECT_EQ(game->loop.mainMenuItem, 2);
  Frames(10);
  EXPECT_EQ(game->loop.mainMenuItem, 2);
  Frames();
  EXPECT_EQ(game->loop.mainMenuItem, 3);
  // Let go and push again: the counter is not reset.
  Stick(0, 0, 0);
  Stick(0, 0, -700, 10);
  EXPECT_EQ(game->loop.mainMenuItem, 3);
  Frames();
  EXPECT_EQ(game->loop.mainMenuItem, 2);
  // Two-item dialogs follow the stick every frame.
  Enter(ScreenState::Caught);
  game->loop.padRepeat = 5;
  Stick(0, 0, 1000);
  EXPECT_EQ(game->loop.caughtItem, 2);
  EXPECT_EQ(game->loop.padRepeat, 5);
}

// Left and right on the settings screen share the stick's repeat.
TEST_F(Pad_, SettingsValuesFollowTheStickWithTheRepeat) {
  Enter(ScreenState::SettingsDialog);
  game->loop.settingsRow = 2; // music, pending On
  game->loop.padRepeat = 0;
  Stick(0, 1000, 0);
  EXPECT_EQ(game->loop.pending.music, 0);
  game->loop.settingsRow = 3; // effects, pending On
  Frames(10);
  EXPECT_EQ(game->loop.pending.soundFx, 1);
  Frames();
  EXPECT_EQ(game->loop.pending.soundFx, 0);
  Stick(0, -1000, 0, 11);
  EXPECT_EQ(game->loop.pending.soundFx, 1);
  EXPECT_EQ(game->loop.pending.music, 0);
}

TEST_F(Pad_, ConfiguredStickAndButton) {
  game->settings.pad = 2;
  game->settings.button = 3;
  Enter(ScreenState::MainMenu);
  game->loop.padRepeat = 0;
  Stick(0, 0, 1000); // the left stick is not the one in use
  EXPECT_EQ(game->loop.mainMenuItem, 1);
  Stick(2, 0, 1000);
  EXPECT_EQ(game->loop.mainMenuItem, 2);
  Button(1, true);
  EXPECT_EQ(State(), ScreenState::MainMenu);
  Button(3, true);
  EXPECT_EQ(State(), ScreenState::SettingsDialog);
}

} // namespace
