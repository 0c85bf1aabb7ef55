// loop.cpp — the frame: window events, present, draw, logic, input, quit.
#include "shell/loop.h"

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "shell/actions.h"
#include "shell/apply_settings.h"
#include "shell/game.h"
#include "shell/input.h"
#include "shell/replay.h"
#include "shell/screens.h"
#include "ui/dialogs.h"

void HandleWindowEvents(Game &game) {
  const ScreenMode mode = game.settings.gameScreen;
  for (;;) {
    const plat::WindowEvent e = plat::PollWindowEvent();
    if (e == plat::WindowEvent::None)
      break;
    if (e == plat::WindowEvent::Close) {
      // Closing the window (or a quit signal) ends the game in every mode,
      // through the orderly exit that saves.
      game.loop.quit = true;
      RecordQuit(game);
      continue;
    }
    if (!HasWindow(mode))
      continue;
    switch (e) {
    case plat::WindowEvent::Repaint:
      plat::Flip();
      break;
    case plat::WindowEvent::Minimised:
      if (mode == ScreenMode::Window)
        PauseMusic(game.sound);
      break;
    case plat::WindowEvent::Restored:
    case plat::WindowEvent::Activated:
      ResumeMusic(game.sound);
      break;
    case plat::WindowEvent::Deactivated:
      if (mode == ScreenMode::Borderless) {
        PauseMusic(game.sound);
        if (!game.loop.ignoreNextDeactivation)
          plat::MinimiseWindow();
        else
          game.loop.ignoreNextDeactivation = false;
      }
      break;
    default:
      break;
    }
  }
}

namespace {

// Cards are rendered only when their content changed, just before they
// are next shown. The opening screens (the studio logo, the title) show
// none: there a pass renders one, so that the first frames do not wait for
// all of them.
void RenderStaleCards(Game &game) {
  Loop &loop = game.loop;
  if (loop.staleCards == 0)
    return;
  const bool oneAPass = ScreenOf(loop.state).group == ScreenGroup::Opening;
  const CardSources src = CardSourcesOf(game);
  bool rendered = false;
  // Whether to render the card now; it is no longer stale then.
  auto now = [&](unsigned card) {
    if (!(loop.staleCards & card) || (oneAPass && rendered))
      return false;
    loop.staleCards &= ~card;
    rendered = true;
    return true;
  };
  if (now(kCardSettings))
    RenderSettings(src, loop.settingsRow, loop.pending);
  if (now(kCardMainMenu))
    RenderMainMenu(src, loop.mainMenuItem);
  if (now(kCardCredits))
    RenderCredits(src);
  if (now(kCardHelp))
    RenderHelp(src);
  if (now(kCardLevelSelect))
    RenderLevelSelect(src, loop.levelSelectItem);
  if (now(kCardQuit))
    RenderQuit(src, loop.quitItem,
               loop.state == ScreenState::QuitQuestionInGame);
  if (now(kCardPause))
    RenderPause(src, loop.pauseItem);
  if (now(kCardComplete))
    RenderComplete(src, loop.completeItem);
  if (now(kCardCaught))
    RenderCaught(src, loop.caughtItem);
}

} // namespace

void DrawState(Game &game) {
  RenderStaleCards(game);
  ScreenOf(game.loop.state).draw(game);
}

void MoveActors(Game &game) {
  if (const ScreenAction advance = ScreenOf(game.loop.state).advance)
    advance(game);
}

void DrawLate(Game &game) {
  if (const ScreenAction drawOver = ScreenOf(game.loop.state).drawOver)
    drawOver(game);
}

void StateLogic(Game &game) {
  if (const ScreenAction logic = ScreenOf(game.loop.state).logic)
    logic(game);
}

void PrepareFirstFrame(Game &game) {
  game.play.player.speed = game.display.geometry.playerStep;
  game.play.player.offset = game.display.geometry.playerStep;
  Stage stage = StageOf(game);
  CreateTitleMonsters(stage);
  SetUpScreen(game);
  if (MusicOn(game.settings))
    StartMusic(game.sound, num::kMenuMusic);
}

bool RunFrame(Game &game) {
  Loop &loop = game.loop;
  ApplyReplayPass(game);
  HandleWindowEvents(game);
  plat::Flip();
  if (!plat::ScreenActive()) {
    PauseMusic(game.sound);
    plat::Sleep(100);
    plat::Flip();
  } else {
    if (loop.drawing)
      DrawState(game);
    MoveActors(game);
    if (loop.drawing)
      DrawLate(game);
    StateLogic(game);
    game.input = TakeInputFrame(game.settings.gamepad, game.settings.pad,
                                game.settings.button);
    RecordKeyboard(game);
    HandleKeyboard(game);
    HandleGamepad(game);
    RecordGamepad(game);
  }
  ++loop.pass;
  if (loop.quit) {
    SavePreferences(game.settings, game.settingsSynced, game.paths.saveTo);
    SaveScores(game.progress, game.paths.saveTo);
    return false;
  }
  return true;
}

void RunLoop(Game &game) {
  while (RunFrame(game)) {
  }
}
