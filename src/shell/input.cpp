// input.cpp — what the keys and the gamepad do in each screen state.
#include "shell/input.h"

#include "game/gameplay.h"
#include "platform/input.h"
#include "shell/actions.h"
#include "shell/game.h"

using plat::Key;

namespace {

// A held movement key starts a step only while play runs and the player
// stands; the first key that starts one wins the frame.
void TryStep(Game &game, int direction) {
  const Play &play = game.play;
  if (game.loop.state == ScreenState::Playing && play.playActive &&
      !play.caughtFreeze && play.player.direction == kStand) {
    Stage stage = StageOf(game);
    StartStep(stage, direction);
  }
}

bool IsDialogState(ScreenState s) {
  switch (s) {
  case ScreenState::MainMenu:
  case ScreenState::Paused:
  case ScreenState::SettingsDialog:
  case ScreenState::LevelSelect:
  case ScreenState::QuitQuestion:
  case ScreenState::QuitQuestionInGame:
  case ScreenState::LevelComplete:
  case ScreenState::Caught:
    return true;
  default:
    return false;
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

bool IsTwoItemDialog(ScreenState s) {
  return s == ScreenState::QuitQuestion ||
         s == ScreenState::QuitQuestionInGame ||
         s == ScreenState::LevelComplete || s == ScreenState::Caught;
}

bool IsRepeatDialog(ScreenState s) {
  return s == ScreenState::MainMenu || s == ScreenState::Paused ||
         s == ScreenState::SettingsDialog || s == ScreenState::LevelSelect;
}

} // namespace

void HandleKeyboard(Game &game) {
  const InputFrame &in = game.input;
  const Loop &loop = game.loop;
  auto held = [&in](Key a, Key b) { return in.Held(a) || in.Held(b); };
  if (held(Key::Left, Key::A))
    TryStep(game, kLeft);
  if (held(Key::Right, Key::D))
    TryStep(game, kRight);
  if (held(Key::Up, Key::W))
    TryStep(game, kUp);
  if (held(Key::Down, Key::S))
    TryStep(game, kDown);
  if (in.Released(Key::Down) && IsDialogState(loop.state))
    MoveSelection(game, +1);
  if (in.Released(Key::Up) && IsDialogState(loop.state))
    MoveSelection(game, -1);
  if (in.Released(Key::Left) && loop.state == ScreenState::SettingsDialog)
    ChangeSetting(game, -1);
  if (in.Released(Key::Right) && loop.state == ScreenState::SettingsDialog)
    ChangeSetting(game, +1);
  if (in.Released(Key::Return) || in.Released(Key::KeypadEnter))
    Confirm(game);
  if (in.Released(Key::F1))
    TakeScreenshot(game);
  if (in.Released(Key::M))
    ToggleMusic(game);
  if (in.Released(Key::N) && loop.state != ScreenState::SettingsDialog)
    game.settings.soundFx = EffectsOn(game.settings) ? 0 : 1;
  if (in.Released(Key::Esc))
    Back(game);
  if (in.Released(Key::Space) && loop.state == ScreenState::GameFinished)
    Confirm(game);
  if (in.Released(Key::Delete) && loop.state == ScreenState::LevelSelect)
    ResetSlot(game);
}

void HandleGamepad(Game &game) {
  const InputFrame &in = game.input;
  Loop &loop = game.loop;
  if (loop.padCount <= 0 || !in.padRead)
    return;
  for (int dir : {-1, 1}) {
    if (in.padX != dir)
      continue;
    if (loop.state == ScreenState::Playing)
      TryStep(game, dir < 0 ? kLeft : kRight);
    else if (loop.state == ScreenState::SettingsDialog && PadRepeatReady(loop))
      ChangeSetting(game, dir);
  }
  for (int dir : {-1, 1}) {
    if (in.padY != dir)
      continue;
    const ScreenState s = loop.state;
    if (s == ScreenState::Playing)
      TryStep(game, dir < 0 ? kUp : kDown);
    else if (IsRepeatDialog(s) && PadRepeatReady(loop))
      MoveSelection(game, dir);
    else if (IsTwoItemDialog(s))
      MoveSelection(game, dir);
  }

  if (in.padButton) {
    if (loop.padLatch) {
      loop.padLatch = false;
      if (loop.state != ScreenState::Playing)
        Confirm(game);
      else if (CanPause(game))
        PauseGame(game);
    }
  } else {
    loop.padLatch = true;
  }
}
