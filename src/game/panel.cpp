// panel.cpp — the in-game band: star, level label, pickups left, cherries.
// The three text pictures are rendered only when their value changed.
#include <string>

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/core.h"
#include "platform/images.h"
#include "platform/sprites.h"
#include "platform/text.h"

namespace {

constexpr int kUiFont = 0;
constexpr plat::Colour kPanelText{240, 241, 122, 255};
constexpr plat::Colour kBlack{0, 0, 0, 255};

struct PanelText {
  int sprite;
  int width; // in tiles
  bool centred;
  plat::Colour colour;
};

// Renders one text picture: opaque black (or the cherry score picture),
// the text at the panel size, centred or 10 pixels from its start (the
// right edge in a right-to-left language).
void RenderText(const Stage &stage, const PanelText &item,
                const std::string &text, bool cherryBack) {
  const ScreenGeometry &g = stage.display.geometry;
  const int t = g.tileSize, w = item.width * t;
  if (!plat::BeginDraw(plat::Target::Sprite, item.sprite))
    return; // the sprite keeps what it showed
  plat::Box(0, 0, w, t, kBlack);
  if (cherryBack)
    plat::DrawImage(num::kCherryScoreImage, 0, 0);
  plat::SetVectorFont(kUiFont, g.panelTextSize);
  plat::SetVectorColour(item.colour);
  const double tw = plat::VectorTextWidth(text);
  const double th = plat::VectorTextHeight(text);
  double x = item.centred ? w / 2 - tw / 2 : 10.0;
  if (!item.centred && plat::RightToLeft(Text(stage.lang, "tLangFileNAME")))
    x = w - 10.0 - tw;
  plat::MovePathCursor(x, t / 2 - th / 2);
  plat::DrawVectorText(text);
  plat::EndDraw();
}

std::string LevelLabel(const Stage &stage) {
  return FillPlaceholders(Text(stage.lang, "tPanelLEVEL"),
                          stage.play.currentMap);
}

} // namespace

void DrawPanel(Stage &stage) {
  Play &play = stage.play;
  if (play.panelStale & kPanelLevelLabel)
    RenderText(stage, {num::kLevelLabel, 6, false, kPanelText},
               LevelLabel(stage), false);
  if (play.panelStale & kPanelPickups)
    RenderText(stage, {num::kPickupCount, 8, true, kPanelText},
               std::to_string(play.remaining), false);
  if (play.panelStale & kPanelCherries)
    RenderText(stage, {num::kCherryCount, 2, true, kBlack},
               std::to_string(play.cherries), true);
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
