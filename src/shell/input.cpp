// input.cpp — the frame's keys and gamepad, handed to the current screen's
// handlers (screens.h) in a fixed order. A handler may change the state,
// so each step looks the screen up again.
#include "shell/input.h"

#include "game/gameplay.h"
#include "platform/input.h"
#include "shell/actions.h"
#include "shell/game.h"
#include "shell/screens.h"

using plat::Key;

namespace {

const Screen &Current(const Game &game) { return ScreenOf(game.loop.state); }

// A held movement key starts a step only while play runs and the player
// stands; the first key that starts one wins the frame.
void TryStep(Game &game, int direction) {
  const Play &play = game.play;
  if (Current(game).walks && play.playActive && !play.caughtFreeze &&
      play.player.direction == kStand) {
    Stage stage = StageOf(game);
    StartStep(stage, direction);
  }
}

// The shared stick repeat: act when the counter is 0, then wait 10 frames.
bool PadRepeatReady(Loop &loop) {
  if (loop.padRepeat == 0) {
    loop.padRepeat = Loop::kPadRepeatDelay;
    return true;
  }
  --loop.padRepeat;
  return false;
}

void StickAcross(Game &game, int dir) {
  const Screen &screen = Current(game);
  if (screen.walks)
    TryStep(game, dir < 0 ? kLeft : kRight);
  else if (screen.change && PadRepeatReady(game.loop))
    screen.change(game, dir);
}

void StickAlong(Game &game, int dir) {
  const Screen &screen = Current(game);
  if (screen.walks)
    TryStep(game, dir < 0 ? kUp : kDown);
  else if (screen.stick == StickMoves::Repeating && PadRepeatReady(game.loop))
    screen.move(game, dir);
  else if (screen.stick == StickMoves::EveryFrame)
    screen.move(game, dir);
}

} // namespace

void HandleKeyboard(Game &game) {
  const InputFrame &in = game.input;
  auto held = [&in](Key a, Key b) { return in.Held(a) || in.Held(b); };
  if (held(Key::Left, Key::A))
    TryStep(game, kLeft);
  if (held(Key::Right, Key::D))
    TryStep(game, kRight);
  if (held(Key::Up, Key::W))
    TryStep(game, kUp);
  if (held(Key::Down, Key::S))
    TryStep(game, kDown);
  if (in.Released(Key::Down))
    MoveSelection(game, +1);
  if (in.Released(Key::Up))
    MoveSelection(game, -1);
  if (in.Released(Key::Left) && Current(game).change)
    Current(game).change(game, -1);
  if (in.Released(Key::Right) && Current(game).change)
    Current(game).change(game, +1);
  if (in.Released(Key::Return) || in.Released(Key::KeypadEnter))
    Confirm(game);
  if (in.Released(Key::F1))
    TakeScreenshot(game);
  if (in.Released(Key::M))
    ToggleMusic(game);
  if (in.Released(Key::N) && Current(game).effectsKey)
    game.settings.soundFx = EffectsOn(game.settings) ? 0 : 1;
  if (in.Released(Key::Esc))
    Back(game);
  if (in.Released(Key::Space) && Current(game).spaceConfirms)
    Confirm(game);
  if (in.Released(Key::Delete) && Current(game).erase)
    Current(game).erase(game);
}

void HandleGamepad(Game &game) {
  const InputFrame &in = game.input;
  Loop &loop = game.loop;
  if (loop.padCount <= 0 || !in.padRead)
    return;
  for (int dir : {-1, 1})
    if (in.padX == dir)
      StickAcross(game, dir);
  for (int dir : {-1, 1})
    if (in.padY == dir)
      StickAlong(game, dir);

  if (in.padButton) {
    if (loop.padLatch) {
      loop.padLatch = false;
      // In play the button pauses; everywhere else it confirms.
      if (!Current(game).walks)
        Confirm(game);
      else if (CanPause(game))
        PauseGame(game);
    }
  } else {
    loop.padLatch = true;
  }
}
