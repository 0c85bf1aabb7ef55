// loop_state.h — the main loop's own variables: the screen state, the
// selections of every dialog, the flags and the gamepad counters.
#pragma once

#include <cstdint>

#include "settings/preferences.h"

enum class ScreenState : int {
  StudioLogo = 0,
  TitleFadeIn = 1,
  MainMenu = 2,
  LevelSelect = 3,
  Credits = 4,
  SettingsDialog = 5,
  Help = 6,
  QuitQuestion = 7,
  Countdown = 8,
  Playing = 9,
  Paused = 10,
  QuitQuestionInGame = 11,
  LevelComplete = 12,
  GameFinished = 13,
  Caught = 14,
};

inline bool IsMenuState(ScreenState s) {
  return static_cast<int>(s) >= 2 && static_cast<int>(s) <= 7;
}
inline bool IsLevelState(ScreenState s) { return static_cast<int>(s) >= 8; }

struct Loop {
  ScreenState state = ScreenState::StudioLogo;
  bool quit = false;
  int frameCounter = 0;
  int fade = 0; // title image opacity, 0..256

  int mainMenuItem = 1, levelSelectItem = 1, settingsRow = 1, pauseItem = 1,
      quitItem = 1, completeItem = 1, caughtItem = 1;
  unsigned staleCards = 0; // Card bits: render before showing

  int padCount = 0;
  int padRepeat = 10;
  static constexpr int kPadRepeatDelay = 10;
  bool padLatch = true;
  bool ignoreNextDeactivation = false;
  bool drawing = true; // off: passes run the logic without drawing

  uint64_t pass = 0; // main-loop passes so far (replays count them)
  PendingSettings pending;
};
