// loop.cpp — the frame: window events, present, draw, logic, input, quit.
#include "shell/loop.h"

#include <algorithm>

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/platform.h"
#include "shell/apply_settings.h"
#include "shell/game.h"
#include "shell/music.h"
#include "shell/replay.h"
#include "ui/dialogs.h"

namespace {

bool WindowMode(const Game &game) {
  return game.settings.gameScreen == 1 || game.settings.gameScreen == 2;
}

void HandleWindowEvents(Game &game) {
  for (;;) {
    const plat::WindowEvent e = plat::PollWindowEvent();
    if (e == plat::WindowEvent::None)
      break;
    if (e == plat::WindowEvent::Close) {
      // Closing the window (or a quit signal) ends the game in every mode,
      // through the orderly exit that saves.
      game.loop.quit = 1;
      RecordQuit(game);
      continue;
    }
    if (!WindowMode(game))
      continue;
    switch (e) {
    case plat::WindowEvent::Repaint:
      plat::Flip();
      break;
    case plat::WindowEvent::Minimised:
      if (game.settings.gameScreen == 1)
        PauseMusic(game);
      break;
    case plat::WindowEvent::Restored:
    case plat::WindowEvent::Activated:
      ResumeMusic(game);
      break;
    case plat::WindowEvent::Deactivated:
      if (game.settings.gameScreen == 2) {
        PauseMusic(game);
        if (game.loop.ignoreNextDeactivation == 0)
          plat::MinimiseWindow();
        else
          game.loop.ignoreNextDeactivation = 0;
      }
      break;
    default:
      break;
    }
  }
}

void DrawCard(int sprite, const CardPlace &place) {
  plat::DisplaySprite(sprite, place.x, place.y);
}

void DrawVeil(int intensity) {
  plat::DisplaySpriteTransparent(num::kVeil, 0, 0, intensity);
}

void DrawMenuScene(Game &game) {
  const DialogLayout &d = game.dialogs;
  DrawMap(game.maps, game.mapView, "M0");
  MonsterStep(game);
  plat::DisplaySprite(num::kMenuBox, d.menuBox.x, d.menuBox.y);
  plat::DisplaySpriteTransparent(num::kLogo, d.logo.x, d.logo.y);
  DrawCard(num::kMainMenuCard, d.mainMenu);
  switch (game.loop.state) {
  case ScreenState::LevelSelect:
    DrawCard(num::kLevelSelectCard, d.levelSelect);
    break;
  case ScreenState::Credits:
    DrawCard(num::kCreditsCard, d.credits);
    break;
  case ScreenState::SettingsDialog:
    DrawCard(num::kSettingsCard, d.settings);
    break;
  case ScreenState::Help:
    DrawCard(num::kHelpCard, d.help);
    break;
  case ScreenState::QuitQuestion:
    DrawCard(num::kQuitCard, d.quitSide);
    break;
  default:
    break;
  }
  // The title fades out over the menu it came from.
  if (game.loop.state == ScreenState::MainMenu && game.loop.fade > 0)
    plat::DisplaySpriteTransparent(num::kTitle, 0, 0,
                                   std::min(game.loop.fade, 255));
}

void DrawLevelScene(Game &game) {
  const DialogLayout &d = game.dialogs;
  DrawMap(game.maps, game.mapView, game.play.currentMap);
  DrawPanel(game);
  if (game.loop.state == ScreenState::Countdown) {
    DrawCountdown(game);
    return;
  }
  PlayerStep(game);
  MonsterStep(game);
  DrawOverlays(game);
  switch (game.loop.state) {
  case ScreenState::Paused:
    DrawVeil(128);
    DrawCard(num::kPauseCard, d.pause);
    break;
  case ScreenState::QuitQuestionInGame:
    DrawVeil(128);
    DrawCard(num::kQuitCard, d.quitCentred);
    break;
  case ScreenState::LevelComplete:
    DrawVeil(128);
    DrawCard(num::kCompleteCard, d.complete);
    break;
  case ScreenState::GameFinished:
    DrawVeil(game.play.finaleDimming);
    DrawFinale(game);
    break;
  case ScreenState::Caught:
    DrawVeil(128);
    DrawCard(num::kCaughtCard, d.caught);
    break;
  default:
    break;
  }
}

} // namespace

void DrawState(Game &game) {
  const Loop &loop = game.loop;
  switch (loop.state) {
  case ScreenState::StudioLogo:
    plat::DisplaySprite(num::kStudioLogo, 0, 0);
    break;
  case ScreenState::TitleFadeIn:
    plat::DisplaySprite(num::kStudioLogo, 0, 0);
    if (loop.fade < 256)
      plat::DisplaySpriteTransparent(num::kTitle, 0, 0, loop.fade);
    else
      plat::DisplaySprite(num::kTitle, 0, 0);
    break;
  default:
    if (IsMenuState(loop.state))
      DrawMenuScene(game);
    else
      DrawLevelScene(game);
    break;
  }
}

void StateLogic(Game &game) {
  Loop &loop = game.loop;
  // Each pass runs the logic of the state it began in.
  const ScreenState state = loop.state;
  switch (state) {
  case ScreenState::StudioLogo:
    if (++loop.frameCounter > 100) {
      loop.fade = 0;
      loop.frameCounter = 0;
      loop.state = ScreenState::TitleFadeIn;
    }
    break;
  case ScreenState::TitleFadeIn:
    if (loop.fade != 256) {
      loop.fade += 8;
    } else if (++loop.frameCounter > 100) {
      loop.state = ScreenState::MainMenu;
      loop.frameCounter = 0;
    }
    break;
  case ScreenState::Countdown:
    CountdownFrame(game);
    break;
  case ScreenState::Playing:
    PlayerAnimation(game);
    EffectsFrame(game);
    MonsterDecisions(game);
    MonsterAnimation(game);
    MonsterRelease(game);
    CatchTest(game);
    CaughtFrame(game);
    CompletionTest(game);
    break;
  case ScreenState::LevelComplete:
    LevelCompleteFrame(game);
    break;
  case ScreenState::GameFinished:
    FinaleFrame(game);
    break;
  default:
    break;
  }
  if (state == ScreenState::MainMenu && loop.fade != 0)
    loop.fade = std::max(0, loop.fade - 8);
  if (IsMenuState(state)) {
    TitleMonsterRelease(game);
    MonsterDecisions(game);
    MonsterAnimation(game);
  }
}

void PrepareFirstFrame(Game &game) {
  game.play.player.speed = game.display.geometry.playerStep;
  game.play.player.offset = game.display.geometry.playerStep;
  CreateTitleMonsters(game);
  SetUpScreen(game);
  if (game.settings.music != 0)
    StartMusic(game, num::kMenuMusic);
}

bool RunFrame(Game &game) {
  Loop &loop = game.loop;
  ApplyReplayPass(game);
  HandleWindowEvents(game);
  plat::Flip();
  if (!plat::ScreenActive()) {
    PauseMusic(game);
    plat::Sleep(100);
    plat::Flip();
  } else {
    DrawState(game);
    StateLogic(game);
    plat::KeyboardSnapshot();
    RecordKeyboard(game);
    HandleKeyboard(game);
    HandleGamepad(game);
    RecordGamepad(game);
  }
  ++loop.pass;
  if (loop.quit == 1) {
    SavePreferences(game.settings, game.paths.saveTo);
    SaveScores(game.progress, game.paths.saveTo);
    return false;
  }
  return true;
}

void RunLoop(Game &game) {
  while (RunFrame(game)) {
  }
}

void TakeScreenshot(Game &game) {
  const std::string name =
      "Warrenfold " +
      plat::FormatDate(plat::Now(), "%dd-%mm-%yyyy %hh-%ii-%ss") + ".bmp";
  // One sprite number serves every shot; it is overwritten each time.
  constexpr int kShotSprite = 99;
  if (!plat::GrabSprite(kShotSprite, 0, 0, game.display.screenWidth,
                        game.display.screenHeight)) {
    WriteLogValue(game.log, "Saving screenshot:", "FAILED");
    return;
  }
  const bool ok = plat::SaveSpriteBmp(kShotSprite, game.paths.saveTo + name);
  WriteLogValue(game.log, "Saving screenshot:", ok ? "OK" : "FAILED");
}
