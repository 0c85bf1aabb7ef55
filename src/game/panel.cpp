// panel.cpp — the in-game band: star, level label, pickups left, cherries.
#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/platform.h"
#include "shell/game.h"

// The three text pictures are rendered with the front end's font rules.
void RenderLevelLabel(Game &) {}
void RenderPickupCounter(Game &) {}
void RenderCherryCounter(Game &) {}

void DrawPanel(Game &game) {
  const ScreenGeometry &g = game.display.geometry;
  const int y = g.panelRowTop;
  plat::DisplaySprite(num::kPanelBand, 0, 0);
  plat::DisplaySprite(num::kStar, 0, y);
  plat::DisplaySprite(num::kLevelLabel, g.levelPictureX, y);
  plat::DisplaySprite(num::kPickupCount, g.counterPictureX, y);
  plat::DisplaySprite(num::kCherryBar, g.cherryBarX, y);
  plat::DisplaySprite(num::kCherryCount, g.cherryCountX, y);
}
