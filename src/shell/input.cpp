// input.cpp — what the keys and the gamepad do in each screen state.
#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/platform.h"
#include "shell/apply_settings.h"
#include "shell/game.h"
#include "shell/loop.h"
#include "shell/music.h"
#include "ui/dialogs.h"

using plat::Key;

namespace {

bool Released(Key a) { return plat::KeyReleased(a); }
bool Held(Key a, Key b) { return plat::KeyHeld(a) || plat::KeyHeld(b); }

// A held movement key starts a step only while play runs and the player
// stands; the first key that starts one wins the frame.
void TryStep(Game &game, int direction) {
  const Loop &loop = game.loop;
  if (loop.state == ScreenState::Playing && loop.playActive == 1 &&
      loop.caughtFreeze == 0 && game.play.player.direction == kStand)
    StartStep(game, direction);
}

bool IsDialogState(ScreenState s) {
  switch (s) {
  case ScreenState::MainMenu:
  case ScreenState::Paused:
  case ScreenState::SettingsDialog:
  case ScreenState::LevelSelect:
  case ScreenState::QuitQuestion:
  case ScreenState::QuitQuestionInGame:
  case ScreenState::LevelComplete:
  case ScreenState::Caught:
    return true;
  default:
    return false;
  }
}

// The shared stick repeat: act when the counter is 0, then wait 10 frames.
bool PadRepeatReady(Loop &loop) {
  if (loop.padRepeat == 0) {
    loop.padRepeat = Loop::kPadRepeatDelay;
    return true;
  }
  --loop.padRepeat;
  return false;
}

bool IsTwoItemDialog(ScreenState s) {
  return s == ScreenState::QuitQuestion ||
         s == ScreenState::QuitQuestionInGame ||
         s == ScreenState::LevelComplete || s == ScreenState::Caught;
}

bool IsRepeatDialog(ScreenState s) {
  return s == ScreenState::MainMenu || s == ScreenState::Paused ||
         s == ScreenState::SettingsDialog || s == ScreenState::LevelSelect;
}

void Click(Game &game) { PlayEffect(game, num::kClick); }

// Moves a 1-based index within [1, last]; false when it would leave it.
bool Step(int &index, int delta, int last) {
  const int next = index + delta;
  if (next < 1 || next > last)
    return false;
  index = next;
  return true;
}

void OpenSettings(Game &game) {
  Loop &loop = game.loop;
  const Settings &s = game.settings;
  loop.settingsRow = 1;
  FindLanguage(game.lang, s.language);
  loop.pending.language = s.language;
  loop.pending.music = s.music;
  loop.pending.soundFx = s.soundFx;
  loop.pending.gameScreen = s.gameScreen;
  loop.pending.resolution = s.resolution;
  loop.pending.resolutionChoice = s.resolution;
  RenderSettings(game, loop.settingsRow, s.gameScreen);
  loop.state = ScreenState::SettingsDialog;
}

void StartSlot(Game &game, int slot) {
  const int index = SlotLevelIndex(game.progress.slots[slot - 1],
                                   static_cast<int>(game.play.levels.size()));
  LevelSetup(game, index);
}

bool OnLastLevel(const Game &game) {
  return game.play.current == static_cast<int>(game.play.levels.size()) - 1;
}

} // namespace

void MoveSelection(Game &game, int delta) {
  Loop &loop = game.loop;
  switch (loop.state) {
  case ScreenState::MainMenu:
    if (Step(loop.mainMenuItem, delta, 5)) {
      Click(game);
      RenderMainMenu(game, loop.mainMenuItem);
    }
    break;
  case ScreenState::Paused:
    if (Step(loop.pauseItem, delta, 2)) {
      Click(game);
      RenderPause(game, loop.pauseItem);
    }
    break;
  case ScreenState::SettingsDialog: {
    int next = loop.settingsRow + delta;
    // The window size row only counts while a window is chosen.
    if (loop.pending.gameScreen != 1 && next == 5)
      next += delta;
    if (next < 1 || next > 7)
      break;
    loop.settingsRow = next;
    Click(game);
    RenderSettings(game, loop.settingsRow, loop.pending.gameScreen);
    break;
  }
  case ScreenState::LevelSelect:
    if (Step(loop.levelSelectItem, delta, 6)) {
      Click(game);
      RenderLevelSelect(game, loop.levelSelectItem);
    }
    break;
  case ScreenState::QuitQuestion:
  case ScreenState::QuitQuestionInGame:
    if (Step(loop.quitItem, delta, 2)) {
      Click(game);
      RenderQuit(game, loop.quitItem, loop.playActive);
    }
    break;
  case ScreenState::LevelComplete:
    if (Step(loop.completeItem, delta, 2)) {
      Click(game);
      RenderComplete(game, loop.completeItem);
    }
    break;
  case ScreenState::Caught:
    if (Step(loop.caughtItem, delta, 2)) {
      Click(game);
      RenderCaught(game, loop.caughtItem);
    }
    break;
  default:
    break;
  }
}

void ChangeSetting(Game &game, int delta) {
  Loop &loop = game.loop;
  PendingSettings &p = loop.pending;
  Languages &lang = game.lang;
  bool changed = false;
  switch (loop.settingsRow) {
  case 1: {
    const int next = lang.choice + delta;
    if (lang.choice >= 0 && next >= 0 &&
        next < static_cast<int>(lang.choices.size())) {
      lang.choice = next;
      p.language = lang.choices[next].first;
      changed = true;
    }
    break;
  }
  case 2:
    if ((delta < 0 && p.music == 0) || (delta > 0 && p.music == 1)) {
      p.music = delta < 0 ? 1 : 0;
      changed = true;
    }
    break;
  case 3:
    if ((delta < 0 && p.soundFx == 0) || (delta > 0 && p.soundFx == 1)) {
      p.soundFx = delta < 0 ? 1 : 0;
      changed = true;
    }
    break;
  case 4:
    if ((delta < 0 && p.gameScreen > 0) || (delta > 0 && p.gameScreen < 2)) {
      p.gameScreen += delta;
      changed = true;
    }
    break;
  case 5: {
    const int next = p.resolutionChoice + delta;
    if (next >= 0 && next < static_cast<int>(game.display.resolutions.size())) {
      p.resolutionChoice = next;
      p.resolution += delta;
      changed = true;
    }
    break;
  }
  default:
    break;
  }
  if (changed) {
    Click(game);
    RenderSettings(game, loop.settingsRow, p.gameScreen);
  }
}

void Confirm(Game &game) {
  Loop &loop = game.loop;
  auto confirmSound = [&game] { PlayEffect(game, num::kConfirm); };
  switch (loop.state) {
  case ScreenState::MainMenu:
    confirmSound();
    switch (loop.mainMenuItem) {
    case 1:
      loop.state = ScreenState::LevelSelect;
      RenderLevelSelect(game, loop.levelSelectItem);
      break;
    case 2:
      OpenSettings(game);
      break;
    case 3:
      loop.state = ScreenState::Credits;
      break;
    case 4:
      loop.state = ScreenState::Help;
      break;
    case 5:
      loop.quitItem = 1;
      RenderQuit(game, 1, loop.playActive);
      loop.state = ScreenState::QuitQuestion;
      break;
    }
    break;
  case ScreenState::LevelSelect:
    confirmSound();
    if (loop.levelSelectItem == 6) {
      loop.levelSelectItem = 1;
      loop.state = ScreenState::MainMenu;
    } else {
      StartSlot(game, loop.levelSelectItem);
    }
    break;
  case ScreenState::Paused:
    confirmSound();
    if (loop.pauseItem == 1) {
      loop.padCount = plat::FindGamepads();
      loop.pauseItem = 1;
      loop.state = ScreenState::Playing;
    } else {
      loop.quitItem = 1;
      RenderQuit(game, 1, loop.playActive);
      loop.state = ScreenState::QuitQuestionInGame;
    }
    break;
  case ScreenState::SettingsDialog:
    if (loop.settingsRow == 6) {
      ApplySettings(game); // plays the confirm sound itself
      loop.state = ScreenState::MainMenu;
    } else if (loop.settingsRow == 7) {
      confirmSound();
      loop.settingsRow = 1;
      loop.state = ScreenState::MainMenu;
    }
    break;
  case ScreenState::QuitQuestion:
  case ScreenState::QuitQuestionInGame:
    confirmSound();
    if (loop.quitItem == 1) {
      if (loop.playActive == 1)
        AbandonLevel(game);
      else
        loop.quit = 1;
    } else {
      loop.state =
          loop.playActive == 1 ? ScreenState::Paused : ScreenState::MainMenu;
    }
    break;
  case ScreenState::LevelComplete:
    if (loop.completeItem == 1) {
      confirmSound();
      if (OnLastLevel(game)) {
        StartFinale(game);
      } else {
        RestoreMap(game.maps);
        LevelSetup(game, game.play.current + 1);
      }
    } else if (OnLastLevel(game)) {
      StartFinale(game); // the finale plays without a click
    } else {
      confirmSound();
      ReturnToMenu(game);
    }
    break;
  case ScreenState::GameFinished:
    LeaveFinale(game);
    break;
  case ScreenState::Credits:
  case ScreenState::Help:
    confirmSound();
    loop.state = ScreenState::MainMenu;
    break;
  case ScreenState::Caught:
    confirmSound();
    if (loop.caughtItem == 1) {
      RestoreMap(game.maps);
      loop.padCount = plat::FindGamepads();
      LevelSetup(game, game.play.current);
    } else {
      ReturnToMenu(game);
    }
    break;
  default:
    break;
  }
}

void Back(Game &game) {
  Loop &loop = game.loop;
  switch (loop.state) {
  case ScreenState::StudioLogo:
    loop.state = ScreenState::TitleFadeIn;
    loop.frameCounter = 0;
    break;
  case ScreenState::TitleFadeIn:
    loop.state = ScreenState::MainMenu;
    loop.frameCounter = 0;
    break;
  case ScreenState::MainMenu:
    loop.quit = 1;
    break;
  case ScreenState::LevelSelect:
    loop.levelSelectItem = 1;
    loop.state = ScreenState::MainMenu;
    break;
  case ScreenState::Credits:
  case ScreenState::Help:
  case ScreenState::QuitQuestion:
  case ScreenState::SettingsDialog:
    loop.state = ScreenState::MainMenu;
    break;
  case ScreenState::Playing:
    loop.state = ScreenState::Paused;
    loop.pauseItem = 1;
    RenderPause(game, 1);
    break;
  case ScreenState::Paused:
    loop.state = ScreenState::Playing;
    break;
  case ScreenState::QuitQuestionInGame:
    loop.state = ScreenState::Paused;
    break;
  case ScreenState::LevelComplete:
  case ScreenState::Caught:
    ReturnToMenu(game);
    break;
  case ScreenState::GameFinished:
    LeaveFinale(game);
    break;
  case ScreenState::Countdown:
    break;
  }
}

void ToggleMusic(Game &game) {
  const ScreenState s = game.loop.state;
  int track = -1;
  switch (s) {
  case ScreenState::MainMenu:
  case ScreenState::LevelSelect:
  case ScreenState::Credits:
  case ScreenState::Help:
  case ScreenState::QuitQuestion:
    track = num::kMenuMusic;
    break;
  case ScreenState::Playing:
  case ScreenState::Paused:
  case ScreenState::QuitQuestionInGame:
    track = num::kLevelMusic;
    break;
  case ScreenState::GameFinished:
    track = num::kFinaleMusic;
    break;
  default:
    break;
  }
  if (game.settings.music != 0) {
    if (track >= 0)
      StopMusic(game, track);
    game.settings.music = 0;
  } else {
    const bool levelGroup = track == num::kLevelMusic;
    if (track >= 0 && (!levelGroup || game.loop.caughtFreeze == 0))
      StartMusic(game, track);
    game.settings.music = 1;
  }
}

void HandleKeyboard(Game &game) {
  Loop &loop = game.loop;
  if (Held(Key::Left, Key::A))
    TryStep(game, kLeft);
  if (Held(Key::Right, Key::D))
    TryStep(game, kRight);
  if (Held(Key::Up, Key::W))
    TryStep(game, kUp);
  if (Held(Key::Down, Key::S))
    TryStep(game, kDown);
  if (Released(Key::Down) && IsDialogState(loop.state))
    MoveSelection(game, +1);
  if (Released(Key::Up) && IsDialogState(loop.state))
    MoveSelection(game, -1);
  if (Released(Key::Left) && loop.state == ScreenState::SettingsDialog)
    ChangeSetting(game, -1);
  if (Released(Key::Right) && loop.state == ScreenState::SettingsDialog)
    ChangeSetting(game, +1);
  if (Released(Key::Return) || Released(Key::KeypadEnter))
    Confirm(game);
  if (Released(Key::F1))
    TakeScreenshot(game);
  if (Released(Key::M))
    ToggleMusic(game);
  if (Released(Key::N) && loop.state != ScreenState::SettingsDialog)
    game.settings.soundFx = 1 - game.settings.soundFx;
  if (Released(Key::Esc))
    Back(game);
  if (Released(Key::Space) && loop.state == ScreenState::GameFinished)
    Confirm(game);
  if (Released(Key::Delete) && loop.state == ScreenState::LevelSelect &&
      loop.levelSelectItem >= 1 && loop.levelSelectItem <= 5) {
    std::string &slot = game.progress.slots[loop.levelSelectItem - 1];
    if (slot != "01") {
      slot = "01";
      RenderLevelSelect(game, loop.levelSelectItem);
    }
  }
}

void HandleGamepad(Game &game) {
  Loop &loop = game.loop;
  const int pad = game.settings.gamepad, stick = game.settings.pad;
  if (loop.padCount <= 0 || !plat::GamepadSnapshot(pad))
    return;
  const int x = plat::GamepadAxisX(pad, stick);
  const int y = plat::GamepadAxisY(pad, stick);
  for (int dir : {-1, 1}) {
    if (x != dir)
      continue;
    if (loop.state == ScreenState::Playing)
      TryStep(game, dir < 0 ? kLeft : kRight);
    else if (loop.state == ScreenState::SettingsDialog && PadRepeatReady(loop))
      ChangeSetting(game, dir);
  }
  for (int dir : {-1, 1}) {
    if (y != dir)
      continue;
    const ScreenState s = loop.state;
    if (s == ScreenState::Playing)
      TryStep(game, dir < 0 ? kUp : kDown);
    else if (IsRepeatDialog(s) && PadRepeatReady(loop))
      MoveSelection(game, dir);
    else if (IsTwoItemDialog(s))
      MoveSelection(game, dir);
  }

  if (plat::GamepadButton(pad, game.settings.button)) {
    if (loop.padLatch == 1) {
      loop.padLatch = 0;
      if (loop.state == ScreenState::Playing) {
        loop.state = ScreenState::Paused;
        loop.pauseItem = 1;
        RenderPause(game, 1);
      } else {
        Confirm(game);
      }
    }
  } else {
    loop.padLatch = 1;
  }
}
