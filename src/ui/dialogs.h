// dialogs.h — the dialog cards of the menus and the level: their sizes and
// places on the screen, and the renderers that draw them.
#pragma once

struct Game;

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

// Sizes and places for the current screen; creates each card sprite.
DialogLayout LayoutDialogs(Game &game);

void RenderMainMenu(Game &game, int selected);
void RenderPause(Game &game, int selected);
void RenderQuit(Game &game, int selected, int playActive);
void RenderCaught(Game &game, int selected);
void RenderComplete(Game &game, int selected);
void RenderLevelSelect(Game &game, int selected);
void RenderSettings(Game &game, int row, int screenMode);
void RenderCredits(Game &game);
void RenderHelp(Game &game);
