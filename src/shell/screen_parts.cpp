// screen_parts.cpp — the pieces the screens share.
#include "shell/screen_parts.h"

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/sprites.h"
#include "shell/game.h"

void Click(Game &game) { Effect(game, num::kClick); }

void ConfirmSound(Game &game) { Effect(game, num::kConfirm); }

void MoveIn(Game &game, int &index, int delta, int last, Card card) {
  const int next = index + delta;
  if (next < 1 || next > last)
    return;
  index = next;
  Click(game);
  game.loop.staleCards |= card;
}

void OpenQuitQuestion(Game &game, ScreenState state) {
  game.loop.quitItem = kFirstRow;
  game.loop.staleCards |= kCardQuit;
  game.loop.state = state;
}

void DrawCard(int sprite, const CardPlace &place) {
  plat::DisplaySprite(sprite, place.x, place.y);
}

void DrawVeil(int intensity) { plat::EndBackdrop(num::kVeil, intensity); }

namespace {
constexpr const char *kMenuMaze = "M0";
// Cells of the menu maze drawn into its cache a pass ahead of the menu: a
// few milliseconds at 3840 x 2160, the whole maze in some ten passes.
constexpr int kMazeCellsAPass = 100;
} // namespace

void DrawMenuScene(Game &game) {
  const DialogLayout &d = game.dialogs;
  DrawMap(game.maps, game.mapView, kMenuMaze);
  DrawMonsters(StageOf(game));
  plat::DisplaySprite(num::kMenuBox, d.menuBox.x, d.menuBox.y);
  plat::DisplaySpriteTransparent(num::kLogo, d.logo.x, d.logo.y);
  DrawCard(num::kMainMenuCard, d.mainMenu);
}

void PrepareMenuScene(Game &game) {
  PrepareMapCache(game.maps, game.mapView, kMenuMaze, kMazeCellsAPass);
}

void AdvanceTitleMonsters(Game &game) {
  Stage stage = StageOf(game);
  AdvanceMonsters(stage, false);
}

void TitleMonstersLogic(Game &game) {
  Stage stage = StageOf(game);
  // Released last, as in a level: a new monster steps out before it
  // chooses a way.
  MonsterDecisions(stage);
  MonsterAnimation(stage);
  TitleMonsterRelease(stage);
}
