// actions.cpp — moving selections, changing settings, confirming, going
// back and music on or off, in each screen state.
#include "shell/actions.h"

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "shell/apply_settings.h"
#include "shell/game.h"

namespace {

void Click(Game &game) { Effect(game, num::kClick); }
void ConfirmSound(Game &game) { Effect(game, num::kConfirm); }

// Moves a 1-based index within [1, last]; false when it would leave it.
bool Step(int &index, int delta, int last) {
  const int next = index + delta;
  if (next < 1 || next > last)
    return false;
  index = next;
  return true;
}

// Moves a dialog's selection; a move that happened clicks and renders the
// card again.
void MoveIn(Game &game, int &index, int delta, int last, Card card) {
  if (Step(index, delta, last)) {
    Click(game);
    game.loop.staleCards |= card;
  }
}

void OpenSettings(Game &game) {
  Loop &loop = game.loop;
  loop.settingsRow = kRowLanguage;
  FindLanguage(game.lang, game.settings.language);
  loop.pending = MakePending(game.settings);
  loop.staleCards |= kCardSettings;
  loop.state = ScreenState::SettingsDialog;
}

void OpenQuitQuestion(Game &game, ScreenState state) {
  game.loop.quitItem = kFirstRow;
  game.loop.staleCards |= kCardQuit;
  game.loop.state = state;
}

void StartSlot(Game &game, int slot) {
  StartLevel(game, SlotLevelIndex(game.progress.slots[slot - 1],
                                  static_cast<int>(game.play.levels.size())));
}

bool OnLastLevel(const Game &game) {
  return game.play.current == static_cast<int>(game.play.levels.size()) - 1;
}

// Left takes On, Right takes Off.
bool ChangeFlag(int &flag, int delta) {
  if ((delta < 0 && flag == 0) || (delta > 0 && flag == 1)) {
    flag = delta < 0 ? 1 : 0;
    return true;
  }
  return false;
}

} // namespace

void MoveSelection(Game &game, int delta) {
  Loop &loop = game.loop;
  switch (loop.state) {
  case ScreenState::MainMenu:
    MoveIn(game, loop.mainMenuItem, delta, kMenuQuit, kCardMainMenu);
    break;
  case ScreenState::Paused:
    MoveIn(game, loop.pauseItem, delta, kSecondRow, kCardPause);
    break;
  case ScreenState::SettingsDialog: {
    int next = loop.settingsRow + delta;
    // The window size row only counts while a window is chosen.
    if (loop.pending.gameScreen != ScreenMode::Window && next == kRowResolution)
      next += delta;
    if (next < kRowLanguage || next > kRowCancel)
      break;
    loop.settingsRow = next;
    Click(game);
    loop.staleCards |= kCardSettings;
    break;
  }
  case ScreenState::LevelSelect:
    MoveIn(game, loop.levelSelectItem, delta, kLevelSelectBack,
           kCardLevelSelect);
    break;
  case ScreenState::QuitQuestion:
  case ScreenState::QuitQuestionInGame:
    MoveIn(game, loop.quitItem, delta, kSecondRow, kCardQuit);
    break;
  case ScreenState::LevelComplete:
    MoveIn(game, loop.completeItem, delta, kSecondRow, kCardComplete);
    break;
  case ScreenState::Caught:
    MoveIn(game, loop.caughtItem, delta, kSecondRow, kCardCaught);
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
  case kRowLanguage: {
    const int next = lang.choice + delta;
    if (lang.choice >= 0 && next >= 0 &&
        next < static_cast<int>(lang.choices.size())) {
      lang.choice = next;
      p.language = lang.choices[next].first;
      changed = true;
    }
    break;
  }
  case kRowMusic:
    changed = ChangeFlag(p.music, delta);
    break;
  case kRowEffects:
    changed = ChangeFlag(p.soundFx, delta);
    break;
  case kRowScreenMode: {
    const int mode = static_cast<int>(p.gameScreen);
    if ((delta < 0 && mode > 0) || (delta > 0 && mode < 2)) {
      p.gameScreen = static_cast<ScreenMode>(mode + delta);
      changed = true;
    }
    break;
  }
  case kRowResolution: {
    const int next = p.resolutionChoice + delta;
    if (next >= 0 && next < static_cast<int>(game.display.resolutions.size())) {
      p.resolutionChoice = next;
      // The entry shown, even when the stored index lay outside the list.
      p.resolution = next;
      changed = true;
    }
    break;
  }
  default:
    break;
  }
  if (changed) {
    Click(game);
    loop.staleCards |= kCardSettings;
  }
}

void Confirm(Game &game) {
  Loop &loop = game.loop;
  switch (loop.state) {
  case ScreenState::MainMenu:
    ConfirmSound(game);
    switch (loop.mainMenuItem) {
    case kMenuStart:
      loop.state = ScreenState::LevelSelect;
      loop.staleCards |= kCardLevelSelect;
      break;
    case kMenuSettings:
      OpenSettings(game);
      break;
    case kMenuCredits:
      loop.state = ScreenState::Credits;
      break;
    case kMenuHelp:
      loop.state = ScreenState::Help;
      break;
    case kMenuQuit:
      OpenQuitQuestion(game, ScreenState::QuitQuestion);
      break;
    }
    break;
  case ScreenState::LevelSelect:
    ConfirmSound(game);
    if (loop.levelSelectItem == kLevelSelectBack) {
      loop.levelSelectItem = 1;
      loop.state = ScreenState::MainMenu;
    } else {
      StartSlot(game, loop.levelSelectItem);
    }
    break;
  case ScreenState::Paused:
    ConfirmSound(game);
    if (loop.pauseItem == kFirstRow) {
      loop.padCount = game.input.gamepads;
      loop.pauseItem = kFirstRow;
      loop.state = ScreenState::Playing;
    } else {
      OpenQuitQuestion(game, ScreenState::QuitQuestionInGame);
    }
    break;
  case ScreenState::SettingsDialog:
    if (loop.settingsRow == kRowOk) {
      ApplySettings(game); // plays the confirm sound itself
      loop.state = ScreenState::MainMenu;
    } else if (loop.settingsRow == kRowCancel) {
      ConfirmSound(game);
      loop.settingsRow = kRowLanguage;
      loop.state = ScreenState::MainMenu;
    }
    break;
  case ScreenState::QuitQuestion:
  case ScreenState::QuitQuestionInGame: {
    // Asked over a level, it is about the level: yes abandons it and no
    // goes back to the pause; beside the menu it is about the game.
    const bool overLevel = loop.state == ScreenState::QuitQuestionInGame;
    ConfirmSound(game);
    if (loop.quitItem == kFirstRow) {
      if (overLevel)
        AbandonLevel(game);
      else
        loop.quit = true;
    } else {
      loop.state = overLevel ? ScreenState::Paused : ScreenState::MainMenu;
    }
    break;
  }
  case ScreenState::LevelComplete:
    if (loop.completeItem == kFirstRow) {
      ConfirmSound(game);
      if (OnLastLevel(game)) {
        StartFinale(game);
      } else {
        RestoreMap(game.maps);
        StartLevel(game, game.play.current + 1);
      }
    } else if (OnLastLevel(game)) {
      StartFinale(game); // the finale plays without a click
    } else {
      ConfirmSound(game);
      ReturnToMenu(game);
    }
    break;
  case ScreenState::GameFinished:
    LeaveFinale(game);
    break;
  case ScreenState::Credits:
  case ScreenState::Help:
    ConfirmSound(game);
    loop.state = ScreenState::MainMenu;
    break;
  case ScreenState::Caught:
    ConfirmSound(game);
    if (loop.caughtItem == kFirstRow) {
      RestoreMap(game.maps);
      loop.padCount = game.input.gamepads;
      StartLevel(game, game.play.current);
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
    loop.quit = true;
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
    if (CanPause(game))
      PauseGame(game);
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

bool CanPause(const Game &game) {
  // Not while the victory or the caught sequence plays: the level is
  // already decided, and the sequence must run to its dialog.
  return game.play.playActive && !game.play.caughtFreeze;
}

void PauseGame(Game &game) {
  Loop &loop = game.loop;
  loop.state = ScreenState::Paused;
  loop.pauseItem = kFirstRow;
  loop.staleCards |= kCardPause;
}

void ResetSlot(Game &game) {
  const int item = game.loop.levelSelectItem;
  if (item < 1 || item > kSlotCount)
    return;
  std::string &slot = game.progress.slots[item - 1];
  if (slot != "01") {
    slot = "01";
    game.loop.staleCards |= kCardLevelSelect;
  }
}

void ToggleMusic(Game &game) {
  int track = -1;
  switch (game.loop.state) {
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
  if (MusicOn(game.settings)) {
    if (track >= 0)
      StopMusic(game.sound, track);
    game.settings.music = 0;
  } else {
    const bool levelGroup = track == num::kLevelMusic;
    if (track >= 0 && (!levelGroup || !game.play.caughtFreeze))
      StartMusic(game.sound, track);
    game.settings.music = 1;
  }
}
