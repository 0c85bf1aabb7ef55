// actions.cpp — the current screen's handlers, music on or off, and the
// pause.
#include "shell/actions.h"

#include "assets/numbers.h"
#include "shell/game.h"
#include "shell/screens.h"

void MoveSelection(Game &game, int delta) {
  if (const ScreenStep move = ScreenOf(game.loop.state).move)
    move(game, delta);
}

void Confirm(Game &game) {
  if (const ScreenAction confirm = ScreenOf(game.loop.state).confirm)
    confirm(game);
}

void Back(Game &game) {
  if (const ScreenAction back = ScreenOf(game.loop.state).back)
    back(game);
}

bool CanPause(const Game &game) {
  // Not while the victory or the caught sequence plays: the level is
  // already decided, and the sequence must run to its dialog.
  return game.play.playActive && !game.play.caughtFreeze;
}

void PauseGame(Game &game) {
  Loop &loop = game.loop;
  loop.state = ScreenState::Paused;
  loop.pauseItem = kFirstRow;
  loop.staleCards |= kCardPause;
}

void ToggleMusic(Game &game) {
  const int track = ScreenOf(game.loop.state).music;
  if (MusicOn(game.settings)) {
    if (track != kNoMusic)
      StopMusic(game.sound, track);
    game.settings.music = 0;
  } else {
    // Not while the caught sequence holds the level's music back.
    const bool levelGroup = track == num::kLevelMusic;
    if (track != kNoMusic && (!levelGroup || !game.play.caughtFreeze))
      StartMusic(game.sound, track);
    game.settings.music = 1;
  }
}
