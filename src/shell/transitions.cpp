// transitions.cpp — entering a level, leaving it for the menu, and the
// finale.
#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/display.h"
#include "shell/actions.h"
#include "shell/game.h"

namespace {

void MenuLayout(Game &game) {
  SetMapOffsetX(game.mapView, game.display.geometry.menuOriginX);
  SetMapOffsetY(game.mapView, game.display.geometry.menuOriginY);
}

// The common tail: the level's sequences rewound, fresh title monsters
// and the main menu.
void BackToTitleMonsters(Game &game) {
  RewindSequences(game.play);
  game.play.releaseCounter = 0;
  Stage stage = StageOf(game);
  CreateTitleMonsters(stage);
  game.loop.state = ScreenState::MainMenu;
}

void SwitchToMenuMusic(Game &game, int fromTrack) {
  if (MusicOn(game.settings)) {
    StopMusic(game.sound, fromTrack);
    StartMusic(game.sound, num::kMenuMusic);
  }
}

} // namespace

void StartLevel(Game &game, int levelIndex, bool fromMenu) {
  Loop &loop = game.loop;
  Stage stage = StageOf(game);
  loop.padCount = game.input.gamepads;
  loop.pauseItem = kFirstRow;
  LevelSetup(stage, levelIndex, fromMenu);
  // The frame about to be shown is black, not the screen left behind.
  if (loop.drawing)
    plat::ClearScreen({0, 0, 0, 255});
  loop.state = ScreenState::Countdown;
}

void ReturnToMenu(Game &game) {
  SwitchToMenuMusic(game, num::kLevelMusic);
  RestoreMap(game.maps);
  MenuLayout(game);
  BackToTitleMonsters(game);
}

void AbandonLevel(Game &game) {
  game.play.playActive = false;
  SwitchToMenuMusic(game, num::kLevelMusic);
  RestoreMap(game.maps);
  MenuLayout(game);
  BackToTitleMonsters(game);
}

void StartFinale(Game &game) {
  game.loop.state = ScreenState::GameFinished;
  if (MusicOn(game.settings))
    StartMusic(game.sound, num::kFinaleMusic);
}

void LeaveFinale(Game &game) {
  SwitchToMenuMusic(game, num::kFinaleMusic);
  Stage stage = StageOf(game);
  FinaleReset(stage);
  RestoreMap(game.maps);
  MenuLayout(game);
  const int slot = game.loop.levelSelectItem;
  if (slot >= 1 && slot <= kSlotCount)
    game.progress.slots[slot - 1] = "01";
  BackToTitleMonsters(game);
}
