// fatal.cpp — the one way out for errors the game cannot run without.
#include "platform/display.h"
#include "platform/system.h"
#include "shell/game.h"

void ShowFatalError(Game &game, const std::string &message) {
  plat::MessageBox("Warrenfold::" + Text(game.lang, "tErrorERROR"), message);
  throw FatalExit{message};
}

void FailOnAsset(Game &game) {
  ResetMapView(game.mapView);
  plat::CloseScreen();
  if (game.settings.gameScreen != ScreenMode::FullScreen)
    plat::CloseWindow();
  ShowFatalError(game, Text(game.lang, "tErrorASSET"));
}
