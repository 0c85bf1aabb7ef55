// transitions.cpp — leaving a level for the menu, and the finale.
#include "assets/numbers.h"
#include "game/gameplay.h"
#include "shell/game.h"
#include "shell/loop.h"
#include "shell/music.h"

namespace {

void MenuLayout(Game &game) {
  SetMapOffsetX(game.mapView, game.display.geometry.menuOriginX);
  SetMapOffsetY(game.mapView, game.display.geometry.menuOriginY);
}

// The common tail: fresh title monsters and the main menu.
void BackToTitleMonsters(Game &game) {
  game.play.releaseCounter = 0;
  CreateTitleMonsters(game);
  game.loop.state = ScreenState::MainMenu;
}

void SwitchToMenuMusic(Game &game, int fromTrack) {
  if (game.settings.music != 0) {
    StopMusic(game, fromTrack);
    StartMusic(game, num::kMenuMusic);
  }
}

} // namespace

void ReturnToMenu(Game &game) {
  SwitchToMenuMusic(game, num::kLevelMusic);
  RestoreMap(game.maps);
  MenuLayout(game);
  BackToTitleMonsters(game);
}

void AbandonLevel(Game &game) {
  game.loop.playActive = 0;
  SwitchToMenuMusic(game, num::kLevelMusic);
  RestoreMap(game.maps);
  MenuLayout(game);
  BackToTitleMonsters(game);
}

void StartFinale(Game &game) {
  game.loop.state = ScreenState::GameFinished;
  if (game.settings.music != 0)
    StartMusic(game, num::kFinaleMusic);
}

void LeaveFinale(Game &game) {
  SwitchToMenuMusic(game, num::kFinaleMusic);
  FinaleReset(game);
  RestoreMap(game.maps);
  MenuLayout(game);
  const int slot = game.loop.levelSelectItem;
  if (slot >= 1 && slot <= 5)
    game.progress.slots[slot - 1] = "01";
  BackToTitleMonsters(game);
}
