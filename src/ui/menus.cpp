// menus.cpp — the main menu and the dialogs over a level: pause, the quit
// question, caught and level complete.
#include "assets/numbers.h"
#include "ui/card_draw.h"

namespace {

// A two-entry dialog over a level: centred title, entries at T + f and
// T + 3 f, in the level's colours.
void RenderTwoEntries(const CardSources &src, int sprite,
                      const CardPlace &place, const char *title,
                      const char *first, const char *second, int selected) {
  const DialogLayout &d = src.layout;
  CardPen pen;
  if (!BeginCard(pen, sprite, place, src, LevelColours(src.play),
                 TitleStyle::Centred, Text(src.lang, title)))
    return;
  const double t = d.titleBar, f = d.baseFont;
  DrawEntry(pen, Text(src.lang, first), t + f, selected == kFirstRow);
  DrawEntry(pen, Text(src.lang, second), t + 3 * f, selected == kSecondRow);
  EndCard(pen);
}

} // namespace

void RenderMainMenu(const CardSources &src, int selected) {
  const DialogLayout &d = src.layout;
  CardPen pen;
  if (!BeginCard(pen, num::kMainMenuCard, d.mainMenu, src, MenuColours(),
                 TitleStyle::None, ""))
    return;
  const char *keys[] = {"tMenuSTART", "tMenuSETTINGS", "tMenuCREDITS",
                        "tMenuHELP", "tMenuQUIT"};
  const double f = d.baseFont;
  for (int i = 0; i < 5; ++i)
    DrawEntry(pen, Text(src.lang, keys[i]), (1 + 2 * i) * f, selected == i + 1);
  EndCard(pen);
}

void RenderPause(const CardSources &src, int selected) {
  RenderTwoEntries(src, num::kPauseCard, src.layout.pause, "tInGamePAUSED",
                   "tInGameRESUME", "tInGameQUIT", selected);
}

void RenderCaught(const CardSources &src, int selected) {
  RenderTwoEntries(src, num::kCaughtCard, src.layout.caught, "tCaughtTITLE",
                   "tCaughtRETRY", "tCaughtMENU", selected);
}

void RenderComplete(const CardSources &src, int selected) {
  RenderTwoEntries(src, num::kCompleteCard, src.layout.complete,
                   "tCompleteTITLE", "tCompleteNEXT", "tCompleteMENU",
                   selected);
}

void RenderQuit(const CardSources &src, int selected, bool overLevel) {
  const DialogLayout &d = src.layout;
  // Both places have the same size.
  const CardColours colours =
      overLevel ? LevelColours(src.play) : MenuColours();
  const CardPlace &place = overLevel ? d.quitCentred : d.quitSide;
  CardPen pen;
  if (!BeginCard(pen, num::kQuitCard, place, src, colours, TitleStyle::Left,
                 Text(src.lang, "tQuitTITLE")))
    return;
  const double t = d.titleBar, f = d.baseFont, h = place.h;
  DrawParagraph(pen, Text(src.lang, "tQuitQUESTION"), f, 0, t + f / 2, place.w,
                2 * f);
  DrawEntry(pen, Text(src.lang, "tQuitYES"), h - 3 * f, selected == kFirstRow);
  DrawEntry(pen, Text(src.lang, "tQuitNO"), h - 1.5 * f,
            selected == kSecondRow);
  EndCard(pen);
}
