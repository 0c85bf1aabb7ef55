// screens_level.cpp — the states over a level: the countdown, play, the
// pause and its quit question, level complete, the finale and caught.
// Gameplay reports how a pass ended; here that becomes the next state.
#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/sprites.h"
#include "shell/actions.h"
#include "shell/game.h"
#include "shell/screen_parts.h"
#include "shell/screens.h"

namespace {

// A sequence of the level has ended: its dialog opens.
void ApplyOutcome(Game &game, Outcome outcome) {
  Loop &loop = game.loop;
  switch (outcome) {
  case Outcome::CountdownOver:
    loop.state = ScreenState::Playing;
    break;
  case Outcome::Caught:
    loop.caughtItem = kFirstRow;
    loop.staleCards |= kCardCaught;
    loop.state = ScreenState::Caught;
    break;
  case Outcome::LevelCleared: {
    // The won level counts from its last pickup: whatever happens during
    // the fanfare (a quit, a closed window), the slot offers the next one.
    const Play &play = game.play;
    const int slot = loop.levelSelectItem;
    if (play.current + 1 < static_cast<int>(play.levels.size()) && slot >= 1 &&
        slot <= kSlotCount)
      game.progress.slots[slot - 1] = play.levels[play.current + 1].id;
    SaveScores(game.progress, game.paths.saveTo);
    break;
  }
  case Outcome::LevelWon:
    loop.completeItem = kFirstRow;
    loop.staleCards |= kCardComplete;
    loop.state = ScreenState::LevelComplete;
    break;
  case Outcome::None:
    break;
  }
}

bool OnLastLevel(const Game &game) {
  return game.play.current == static_cast<int>(game.play.levels.size()) - 1;
}

// Drawing: the level and its panel, then the actors and the banners of
// the sequences, then the state's dialog over the dimmed level.

void DrawLevel(Game &game) {
  Stage stage = StageOf(game);
  DrawMap(game.maps, game.mapView, game.play.currentMap);
  DrawPanel(stage);
}

void DrawActors(Game &game, bool caughtShown, bool victoryShown) {
  DrawLevel(game);
  Stage stage = StageOf(game);
  DrawPlayer(stage);
  DrawMonsters(stage);
  DrawOverlays(stage, caughtShown, victoryShown);
}

void DrawCountdownFrame(Game &game) {
  DrawLevel(game);
  DrawCountdown(StageOf(game));
}

void DrawPlaying(Game &game) { DrawActors(game, true, true); }

// The level behind a dialog, kept for the veil: while it stays the same,
// the dimmed picture is composed once and copied.
void DrawBehindVeil(Game &game, bool caughtShown, bool victoryShown) {
  plat::BeginBackdrop();
  DrawActors(game, caughtShown, victoryShown);
}

void DrawPaused(Game &game) {
  DrawBehindVeil(game, true, true);
  DrawVeil(128);
  DrawCard(num::kPauseCard, game.dialogs.pause);
}

void DrawQuitInLevel(Game &game) {
  DrawBehindVeil(game, true, true);
  DrawVeil(128);
  DrawCard(num::kQuitCard, game.dialogs.quitCentred);
}

void DrawLevelComplete(Game &game) {
  DrawBehindVeil(game, true, false);
  DrawVeil(128);
  DrawCard(num::kCompleteCard, game.dialogs.complete);
}

void DrawGameFinished(Game &game) {
  DrawBehindVeil(game, true, false);
  DrawVeil(game.play.finaleDimming);
  DrawFinale(StageOf(game));
}

void DrawCaught(Game &game) {
  DrawBehindVeil(game, false, true);
  DrawVeil(128);
  DrawCard(num::kCaughtCard, game.dialogs.caught);
}

// The pickup effects go over everything, the one taken this pass too.
void DrawPickupEffects(Game &game) { DrawEffects(StageOf(game)); }

// The player and the monsters go on with what they drew; the monsters
// walk only while the level plays.
void AdvancePlaying(Game &game) {
  Stage stage = StageOf(game);
  AdvancePlayer(stage);
  AdvanceMonsters(stage, true);
}

void AdvanceHeld(Game &game) {
  Stage stage = StageOf(game);
  AdvancePlayer(stage);
  AdvanceMonsters(stage, false);
}

void CountdownLogic(Game &game) {
  Stage stage = StageOf(game);
  ApplyOutcome(game, CountdownFrame(stage));
}

void PlayingLogic(Game &game) {
  Stage stage = StageOf(game);
  PlayerAnimation(stage);
  EffectsFrame(stage);
  MonsterDecisions(stage);
  MonsterAnimation(stage);
  MonsterRelease(stage);
  CatchTest(stage);
  ApplyOutcome(game, CaughtFrame(stage));
  ApplyOutcome(game, CompletionTest(stage));
}

void LevelCompleteLogic(Game &game) {
  Stage stage = StageOf(game);
  LevelCompleteFrame(stage);
}

void FinaleLogic(Game &game) {
  Stage stage = StageOf(game);
  FinaleFrame(stage);
}

void PauseIfAllowed(Game &game) {
  if (CanPause(game))
    PauseGame(game);
}

void MovePaused(Game &game, int delta) {
  MoveIn(game, game.loop.pauseItem, delta, kSecondRow, kCardPause);
}

void ConfirmPaused(Game &game) {
  Loop &loop = game.loop;
  ConfirmSound(game);
  if (loop.pauseItem == kFirstRow) {
    loop.padCount = game.input.gamepads;
    loop.pauseItem = kFirstRow;
    loop.state = ScreenState::Playing;
  } else {
    OpenQuitQuestion(game, ScreenState::QuitQuestionInGame);
  }
}

void Resume(Game &game) { game.loop.state = ScreenState::Playing; }

void MoveQuitInLevel(Game &game, int delta) {
  MoveIn(game, game.loop.quitItem, delta, kSecondRow, kCardQuit);
}

// Over a level the question is about the level: yes abandons it, no goes
// back to the pause.
void ConfirmQuitInLevel(Game &game) {
  ConfirmSound(game);
  if (game.loop.quitItem == kFirstRow)
    AbandonLevel(game);
  else
    game.loop.state = ScreenState::Paused;
}

void BackToPause(Game &game) { game.loop.state = ScreenState::Paused; }

void MoveLevelComplete(Game &game, int delta) {
  MoveIn(game, game.loop.completeItem, delta, kSecondRow, kCardComplete);
}

void ConfirmLevelComplete(Game &game) {
  if (game.loop.completeItem == kFirstRow) {
    ConfirmSound(game);
    if (OnLastLevel(game)) {
      StartFinale(game);
    } else {
      RestoreMap(game.maps);
      StartLevel(game, game.play.current + 1, false);
    }
  } else if (OnLastLevel(game)) {
    StartFinale(game); // the finale plays without a click
  } else {
    ConfirmSound(game);
    ReturnToMenu(game);
  }
}

void MoveCaught(Game &game, int delta) {
  MoveIn(game, game.loop.caughtItem, delta, kSecondRow, kCardCaught);
}

void ConfirmCaught(Game &game) {
  ConfirmSound(game);
  if (game.loop.caughtItem == kFirstRow) {
    RestoreMap(game.maps);
    game.loop.padCount = game.input.gamepads;
    StartLevel(game, game.play.current, false);
  } else {
    ReturnToMenu(game);
  }
}

} // namespace

extern const Screen kCountdownScreen = {
    .group = ScreenGroup::Level,
    .draw = DrawCountdownFrame,
    .logic = CountdownLogic,
};

extern const Screen kPlayingScreen = {
    .group = ScreenGroup::Level,
    .music = num::kLevelMusic,
    .draw = DrawPlaying,
    .advance = AdvancePlaying,
    .drawOver = DrawPickupEffects,
    .logic = PlayingLogic,
    .back = PauseIfAllowed,
    .walks = true,
};

extern const Screen kPausedScreen = {
    .group = ScreenGroup::Level,
    .music = num::kLevelMusic,
    .draw = DrawPaused,
    .advance = AdvanceHeld,
    .confirm = ConfirmPaused,
    .back = Resume,
    .move = MovePaused,
    .stick = StickMoves::Repeating,
};

extern const Screen kQuitInLevelScreen = {
    .group = ScreenGroup::Level,
    .music = num::kLevelMusic,
    .draw = DrawQuitInLevel,
    .advance = AdvanceHeld,
    .confirm = ConfirmQuitInLevel,
    .back = BackToPause,
    .move = MoveQuitInLevel,
    .stick = StickMoves::EveryFrame,
};

extern const Screen kLevelCompleteScreen = {
    .group = ScreenGroup::Level,
    .draw = DrawLevelComplete,
    .advance = AdvanceHeld,
    .logic = LevelCompleteLogic,
    .confirm = ConfirmLevelComplete,
    .back = ReturnToMenu,
    .move = MoveLevelComplete,
    .stick = StickMoves::EveryFrame,
};

extern const Screen kGameFinishedScreen = {
    .group = ScreenGroup::Level,
    .music = num::kFinaleMusic,
    .draw = DrawGameFinished,
    .advance = AdvanceHeld,
    .logic = FinaleLogic,
    .confirm = LeaveFinale,
    .back = LeaveFinale,
    .spaceConfirms = true,
};

extern const Screen kCaughtScreen = {
    .group = ScreenGroup::Level,
    .draw = DrawCaught,
    .advance = AdvanceHeld,
    .confirm = ConfirmCaught,
    .back = ReturnToMenu,
    .move = MoveCaught,
    .stick = StickMoves::EveryFrame,
};
