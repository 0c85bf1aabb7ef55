// screens_menu.cpp — the main menu and the dialogs beside it: level select,
// credits, help and the quit question. All of them show the menu maze with
// its wandering monsters and play the menu music.
#include <algorithm>

#include "assets/numbers.h"
#include "platform/sprites.h"
#include "shell/actions.h"
#include "shell/game.h"
#include "shell/screen_parts.h"
#include "shell/screens.h"

namespace {

void BackToMainMenu(Game &game) { game.loop.state = ScreenState::MainMenu; }

// Main menu ----------------------------------------------------------------

void DrawMainMenu(Game &game) {
  DrawMenuScene(game);
  // The title fades out over the menu it came from.
  if (game.loop.fade > 0)
    plat::DisplaySpriteTransparent(num::kTitle, 0, 0,
                                   std::min(game.loop.fade, 255));
}

void MainMenuLogic(Game &game) {
  if (game.loop.fade != 0)
    game.loop.fade = std::max(0, game.loop.fade - 8);
  TitleMonstersLogic(game);
}

void MoveMainMenu(Game &game, int delta) {
  MoveIn(game, game.loop.mainMenuItem, delta, kMenuQuit, kCardMainMenu);
}

void ConfirmMainMenu(Game &game) {
  Loop &loop = game.loop;
  ConfirmSound(game);
  switch (loop.mainMenuItem) {
  case kMenuStart:
    loop.state = ScreenState::LevelSelect;
    loop.staleCards |= kCardLevelSelect;
    break;
  case kMenuSettings:
    OpenSettings(game);
    break;
  case kMenuCredits:
    loop.state = ScreenState::Credits;
    break;
  case kMenuHelp:
    loop.state = ScreenState::Help;
    break;
  case kMenuQuit:
    OpenQuitQuestion(game, ScreenState::QuitQuestion);
    break;
  }
}

void QuitGame(Game &game) { game.loop.quit = true; }

// Level select -------------------------------------------------------------

void DrawLevelSelect(Game &game) {
  DrawMenuScene(game);
  DrawCard(num::kLevelSelectCard, game.dialogs.levelSelect);
}

void MoveLevelSelect(Game &game, int delta) {
  MoveIn(game, game.loop.levelSelectItem, delta, kLevelSelectBack,
         kCardLevelSelect);
}

void LeaveLevelSelect(Game &game) {
  game.loop.levelSelectItem = 1;
  BackToMainMenu(game);
}

void ConfirmLevelSelect(Game &game) {
  ConfirmSound(game);
  const int item = game.loop.levelSelectItem;
  if (item == kLevelSelectBack) {
    LeaveLevelSelect(game);
    return;
  }
  // Chosen here, the level starts with the menu track still playing.
  const int levels = static_cast<int>(game.play.levels.size());
  StartLevel(game, SlotLevelIndex(game.progress.slots[item - 1], levels), true);
}

// Delete: the highlighted slot starts afresh.
void ResetSlot(Game &game) {
  const int item = game.loop.levelSelectItem;
  if (item < 1 || item > kSlotCount)
    return;
  std::string &slot = game.progress.slots[item - 1];
  if (slot != "01") {
    slot = "01";
    game.loop.staleCards |= kCardLevelSelect;
  }
}

// Credits, help, the quit question -----------------------------------------

void DrawCredits(Game &game) {
  DrawMenuScene(game);
  DrawCard(num::kCreditsCard, game.dialogs.credits);
}

void DrawHelp(Game &game) {
  DrawMenuScene(game);
  DrawCard(num::kHelpCard, game.dialogs.help);
}

void ConfirmInfo(Game &game) {
  ConfirmSound(game);
  BackToMainMenu(game);
}

void DrawQuitQuestion(Game &game) {
  DrawMenuScene(game);
  DrawCard(num::kQuitCard, game.dialogs.quitSide);
}

void MoveQuitQuestion(Game &game, int delta) {
  MoveIn(game, game.loop.quitItem, delta, kSecondRow, kCardQuit);
}

// Beside the menu the question is about the game: yes ends it.
void ConfirmQuitQuestion(Game &game) {
  ConfirmSound(game);
  if (game.loop.quitItem == kFirstRow)
    QuitGame(game);
  else
    BackToMainMenu(game);
}

} // namespace

extern const Screen kMainMenuScreen = {
    .group = ScreenGroup::Menu,
    .music = num::kMenuMusic,
    .draw = DrawMainMenu,
    .advance = AdvanceTitleMonsters,
    .logic = MainMenuLogic,
    .confirm = ConfirmMainMenu,
    .back = QuitGame,
    .move = MoveMainMenu,
    .stick = StickMoves::Repeating,
};

extern const Screen kLevelSelectScreen = {
    .group = ScreenGroup::Menu,
    .music = num::kMenuMusic,
    .draw = DrawLevelSelect,
    .advance = AdvanceTitleMonsters,
    .logic = TitleMonstersLogic,
    .confirm = ConfirmLevelSelect,
    .back = LeaveLevelSelect,
    .move = MoveLevelSelect,
    .stick = StickMoves::Repeating,
    .erase = ResetSlot,
};

extern const Screen kCreditsScreen = {
    .group = ScreenGroup::Menu,
    .music = num::kMenuMusic,
    .draw = DrawCredits,
    .advance = AdvanceTitleMonsters,
    .logic = TitleMonstersLogic,
    .confirm = ConfirmInfo,
    .back = BackToMainMenu,
};

extern const Screen kHelpScreen = {
    .group = ScreenGroup::Menu,
    .music = num::kMenuMusic,
    .draw = DrawHelp,
    .advance = AdvanceTitleMonsters,
    .logic = TitleMonstersLogic,
    .confirm = ConfirmInfo,
    .back = BackToMainMenu,
};

extern const Screen kQuitQuestionScreen = {
    .group = ScreenGroup::Menu,
    .music = num::kMenuMusic,
    .draw = DrawQuitQuestion,
    .advance = AdvanceTitleMonsters,
    .logic = TitleMonstersLogic,
    .confirm = ConfirmQuitQuestion,
    .back = BackToMainMenu,
    .move = MoveQuitQuestion,
    .stick = StickMoves::EveryFrame,
};
