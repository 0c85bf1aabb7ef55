// dialogs.h — the dialog cards of the menus and the level: their sizes and
// places on the screen, the rows they offer, and the renderers that draw
// them into their sprites.
#pragma once

#include <string>
#include <vector>

#include "game/state.h"
#include "progress/scores.h"
#include "settings/display.h"
#include "settings/languages.h"
#include "settings/preferences.h"

struct CardPlace {
  int x = 0, y = 0, w = 0, h = 0;
};

struct DialogLayout {
  int baseFont = 0; // f
  int titleBar = 0; // T
  CardPlace mainMenu, pause, complete, caught, quitSide, quitCentred, settings,
      levelSelect, credits, help;
  CardPlace menuBox, logo;
};

// The rows of each dialog, numbered from 1 as the selections count them.
enum MainMenuRow : int {
  kMenuStart = 1,
  kMenuSettings = 2,
  kMenuCredits = 3,
  kMenuHelp = 4,
  kMenuQuit = 5,
};
enum SettingsRow : int {
  kRowLanguage = 1,
  kRowMusic = 2,
  kRowEffects = 3,
  kRowScreenMode = 4,
  kRowResolution = 5,
  kRowOk = 6,
  kRowCancel = 7,
};
constexpr int kSlotCount = 5;
constexpr int kLevelSelectBack = kSlotCount + 1; // the row below the slots
// The two-entry dialogs: pause (continue, quit), the quit question,
// level complete and caught (yes / next, no / menu).
enum TwoRow : int { kFirstRow = 1, kSecondRow = 2 };

// Cards whose content changed and must be rendered before they are shown.
enum Card : unsigned {
  kCardMainMenu = 1u << 0,
  kCardPause = 1u << 1,
  kCardQuit = 1u << 2,
  kCardCaught = 1u << 3,
  kCardComplete = 1u << 4,
  kCardLevelSelect = 1u << 5,
  kCardSettings = 1u << 6,
  kCardCredits = 1u << 7,
  kCardHelp = 1u << 8,
  kCardsAll = (1u << 9) - 1,
};

// What the renderers read: texts, sizes, the slots and the level's colours.
struct CardSources {
  const Languages &lang;
  const Display &display;
  const DialogLayout &layout;
  const Progress &progress;
  const Play &play;
  // When set, the renderers draw nothing and only measure: every title,
  // entry, value row or paragraph that does not fit its card or rectangle
  // is described here.
  std::vector<std::string> *overflows = nullptr;
};

// Sizes and places for the current screen.
DialogLayout LayoutDialogs(const Display &display);
// Creates each card's sprite at its size.
void CreateCardSprites(const DialogLayout &layout);

void RenderMainMenu(const CardSources &src, int selected);
void RenderPause(const CardSources &src, int selected);
// overLevel: asked from the pause, in the level's colours in the middle of
// the screen; else beside the menu in the menu's colours.
void RenderQuit(const CardSources &src, int selected, bool overLevel);
void RenderCaught(const CardSources &src, int selected);
void RenderComplete(const CardSources &src, int selected);
void RenderLevelSelect(const CardSources &src, int selected);
void RenderSettings(const CardSources &src, int row,
                    const PendingSettings &pending);
void RenderCredits(const CardSources &src);
void RenderHelp(const CardSources &src);

// The texts the cards show, as they are put together.
std::string SlotText(const Languages &lang, const std::string &slot);
std::string LanguageRowValue(const Languages &lang); // upper case
std::string HelpText(const Languages &lang);
std::string CreditsText(const Languages &lang);
