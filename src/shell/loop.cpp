// loop.cpp — the frame: window events, present, draw, logic, input, quit.
#include "shell/loop.h"

#include <algorithm>

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/sprites.h"
#include "shell/actions.h"
#include "shell/apply_settings.h"
#include "shell/game.h"
#include "shell/input.h"
#include "shell/replay.h"
#include "ui/dialogs.h"

namespace {

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

void DrawCard(int sprite, const CardPlace &place) {
  plat::DisplaySprite(sprite, place.x, place.y);
}

void DrawVeil(int intensity) {
  plat::DisplaySpriteTransparent(num::kVeil, 0, 0, intensity);
}

// Cards are rendered only when their content changed, just before they
// are next shown.
void RenderStaleCards(Game &game) {
  Loop &loop = game.loop;
  const unsigned stale = loop.staleCards;
  if (stale == 0)
    return;
  loop.staleCards = 0;
  const CardSources src = CardSourcesOf(game);
  if (stale & kCardSettings)
    RenderSettings(src, loop.settingsRow, loop.pending);
  if (stale & kCardMainMenu)
    RenderMainMenu(src, loop.mainMenuItem);
  if (stale & kCardCredits)
    RenderCredits(src);
  if (stale & kCardHelp)
    RenderHelp(src);
  if (stale & kCardLevelSelect)
    RenderLevelSelect(src, loop.levelSelectItem);
  if (stale & kCardQuit)
    RenderQuit(src, loop.quitItem,
               loop.state == ScreenState::QuitQuestionInGame);
  if (stale & kCardPause)
    RenderPause(src, loop.pauseItem);
  if (stale & kCardComplete)
    RenderComplete(src, loop.completeItem);
  if (stale & kCardCaught)
    RenderCaught(src, loop.caughtItem);
}

void DrawMenuScene(Game &game) {
  const DialogLayout &d = game.dialogs;
  DrawMap(game.maps, game.mapView, "M0");
  DrawMonsters(StageOf(game));
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
  Stage stage = StageOf(game);
  DrawMap(game.maps, game.mapView, game.play.currentMap);
  DrawPanel(stage);
  if (game.loop.state == ScreenState::Countdown) {
    DrawCountdown(stage);
    return;
  }
  DrawPlayer(stage);
  DrawMonsters(stage);
  const ScreenState s = game.loop.state;
  DrawOverlays(stage, s != ScreenState::Caught,
               s != ScreenState::LevelComplete &&
                   s != ScreenState::GameFinished);
  switch (s) {
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
    DrawFinale(stage);
    break;
  case ScreenState::Caught:
    DrawVeil(128);
    DrawCard(num::kCaughtCard, d.caught);
    break;
  default:
    break;
  }
}

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

} // namespace

void DrawState(Game &game) {
  RenderStaleCards(game);
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

void MoveActors(Game &game) {
  const ScreenState s = game.loop.state;
  Stage stage = StageOf(game);
  if (IsMenuState(s)) {
    AdvanceMonsters(stage, false);
  } else if (IsLevelState(s) && s != ScreenState::Countdown) {
    AdvancePlayer(stage);
    AdvanceMonsters(stage, s == ScreenState::Playing);
  }
}

void DrawLate(Game &game) {
  // The pickup effects go over everything, the one taken this frame too.
  if (game.loop.state == ScreenState::Playing)
    DrawEffects(StageOf(game));
}

void StateLogic(Game &game) {
  Loop &loop = game.loop;
  Stage stage = StageOf(game);
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
    ApplyOutcome(game, CountdownFrame(stage));
    break;
  case ScreenState::Playing:
    PlayerAnimation(stage);
    EffectsFrame(stage);
    MonsterDecisions(stage);
    MonsterAnimation(stage);
    MonsterRelease(stage);
    CatchTest(stage);
    ApplyOutcome(game, CaughtFrame(stage));
    ApplyOutcome(game, CompletionTest(stage));
    break;
  case ScreenState::LevelComplete:
    LevelCompleteFrame(stage);
    break;
  case ScreenState::GameFinished:
    FinaleFrame(stage);
    break;
  default:
    break;
  }
  if (state == ScreenState::MainMenu && loop.fade != 0)
    loop.fade = std::max(0, loop.fade - 8);
  if (IsMenuState(state)) {
    // Released last, as in a level: a new monster steps out before it
    // chooses a way.
    MonsterDecisions(stage);
    MonsterAnimation(stage);
    TitleMonsterRelease(stage);
  }
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
