// dialogs.cpp — card sizes and places; the card contents are drawn by the
// front end's renderers.
#include "ui/dialogs.h"

#include "shell/game.h"

DialogLayout LayoutDialogs(Game &game) {
  const int sw = game.display.screenWidth, sh = game.display.screenHeight;
  const int aspect = game.display.aspectRatio;
  const ScreenGeometry &g = game.display.geometry;
  DialogLayout d;
  d.baseFont = (aspect == 1 || aspect == 2) ? (sh / 2) / 13 : (sh / 2) / 11;
  d.titleBar = (sh / 100) * 5;
  const int f = d.baseFont, t = d.titleBar;
  auto side = [&](int w, int h) {
    return CardPlace{(sw / 100) * 35 + (sw - (sw / 100) * 40) / 2 - w / 2,
                     sh / 2 - h / 2, w, h};
  };
  auto centred = [&](int w, int h) {
    return CardPlace{sw / 2 - w / 2, sh / 2 - h / 2, w, h};
  };
  const int quarter = (sw / 100) * 25;
  d.mainMenu = {(sw / 100) * 5, sh - sh / 2, quarter, sh / 2};
  d.pause = centred(quarter, t + 5 * f);
  d.complete = centred(quarter, t + 5 * f);
  d.caught = centred(quarter, t + 5 * f);
  d.quitSide = side(g.quitWidth, 7 * f);
  d.quitCentred = centred(g.quitWidth, 7 * f);
  d.settings = side(g.settingsWidth, t + 11 * f);
  d.levelSelect = side(g.levelSelectWidth, t + 12 * f);
  d.credits = side(g.creditsWidth, g.creditsHeight);
  d.help = side(g.helpWidth, g.helpHeight);
  d.menuBox = {(sw / 100) * 5, 0, quarter, sh / 2};
  d.logo = {(sw / 100) * 5, (sh / 100) * 5, 0, 0};
  return d;
}

// The card contents come with the front end.
void RenderMainMenu(Game &, int) {}
void RenderPause(Game &, int) {}
void RenderQuit(Game &, int, int) {}
void RenderCaught(Game &, int) {}
void RenderComplete(Game &, int) {}
void RenderLevelSelect(Game &, int) {}
void RenderSettings(Game &, int, int) {}
void RenderCredits(Game &) {}
void RenderHelp(Game &) {}
