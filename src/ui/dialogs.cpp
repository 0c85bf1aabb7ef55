// dialogs.cpp — card sizes and places; the card contents are drawn by the
// front end's renderers.
#include "ui/dialogs.h"

#include <utility>

#include "assets/numbers.h"
#include "platform/sprites.h"

DialogLayout LayoutDialogs(const Display &display) {
  const int sw = display.screenWidth, sh = display.screenHeight;
  const Aspect aspect = display.aspectRatio;
  const ScreenGeometry &g = display.geometry;
  DialogLayout d;
  d.baseFont = (aspect == Aspect::R4x3 || aspect == Aspect::R5x4)
                   ? (sh / 2) / 13
                   : (sh / 2) / 11;
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

void CreateCardSprites(const DialogLayout &d) {
  const std::pair<int, const CardPlace *> cards[] = {
      {num::kMainMenuCard, &d.mainMenu},
      {num::kPauseCard, &d.pause},
      {num::kCompleteCard, &d.complete},
      {num::kCaughtCard, &d.caught},
      {num::kQuitCard, &d.quitSide},
      {num::kSettingsCard, &d.settings},
      {num::kLevelSelectCard, &d.levelSelect},
      {num::kCreditsCard, &d.credits},
      {num::kHelpCard, &d.help}};
  for (const auto &[sprite, place] : cards)
    if (place->w > 0 && place->h > 0)
      plat::CreateSprite(sprite, place->w, place->h);
}
