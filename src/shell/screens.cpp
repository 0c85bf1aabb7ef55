// screens.cpp — the table: each state's screen, defined with the other
// screens of its group (screens_opening.cpp, screens_menu.cpp,
// screens_settings.cpp, screens_level.cpp).
#include "shell/screens.h"

extern const Screen kStudioLogoScreen, kTitleScreen, kMainMenuScreen,
    kLevelSelectScreen, kCreditsScreen, kSettingsScreen, kHelpScreen,
    kQuitQuestionScreen, kCountdownScreen, kPlayingScreen, kPausedScreen,
    kQuitInLevelScreen, kLevelCompleteScreen, kGameFinishedScreen,
    kCaughtScreen;

const Screen &ScreenOf(ScreenState state) {
  switch (state) {
  case ScreenState::StudioLogo:
    return kStudioLogoScreen;
  case ScreenState::TitleFadeIn:
    return kTitleScreen;
  case ScreenState::MainMenu:
    return kMainMenuScreen;
  case ScreenState::LevelSelect:
    return kLevelSelectScreen;
  case ScreenState::Credits:
    return kCreditsScreen;
  case ScreenState::SettingsDialog:
    return kSettingsScreen;
  case ScreenState::Help:
    return kHelpScreen;
  case ScreenState::QuitQuestion:
    return kQuitQuestionScreen;
  case ScreenState::Countdown:
    return kCountdownScreen;
  case ScreenState::Playing:
    return kPlayingScreen;
  case ScreenState::Paused:
    return kPausedScreen;
  case ScreenState::QuitQuestionInGame:
    return kQuitInLevelScreen;
  case ScreenState::LevelComplete:
    return kLevelCompleteScreen;
  case ScreenState::GameFinished:
    return kGameFinishedScreen;
  case ScreenState::Caught:
    return kCaughtScreen;
  }
  return kStudioLogoScreen; // not reached: every state has its screen
}
