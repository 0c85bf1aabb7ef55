// loop_state.h — the main loop's own variables: the screen state, the
// selections of every dialog, the flags and the gamepad counters.
#pragma once

#include <cstdint>

#include "settings/preferences.h"

// The fifteen screen states. What each one is and does (its group, its
// drawing, its keys) is in its screen (screens.h), never in its value.
enum class ScreenState {
  StudioLogo,
  TitleFadeIn,
  MainMenu,
  LevelSelect,
  Credits,
  SettingsDialog,
  Help,
  QuitQuestion,
  Countdown,
  Playing,
  Paused,
  QuitQuestionInGame,
  LevelComplete,
  GameFinished,
  Caught,
};

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
