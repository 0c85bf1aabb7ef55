// apply_settings.cpp — applying the settings screen and the screen-bound
// set-up shared by the start and every reopening of the screen.
#include "shell/apply_settings.h"

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/platform.h"
#include "shell/game.h"
#include "shell/music.h"
#include "ui/dialogs.h"

namespace {

void LogOnOff(Game &game, const char *key, bool on) {
  WriteLogValue(game.log, key, on ? "ON" : "OFF");
}

// After a language change without a new screen: every card with words.
void RenderLanguageCards(Game &game) {
  Loop &loop = game.loop;
  RenderMainMenu(game, loop.mainMenuItem);
  RenderSettings(game, loop.settingsRow, loop.pending.gameScreen);
  RenderMainMenu(game, loop.mainMenuItem);
  RenderHelp(game);
  RenderCredits(game);
  RenderLevelSelect(game, loop.levelSelectItem);
  RenderQuit(game, loop.quitItem, loop.playActive);
  RenderLevelLabel(game);
}

void ReopenScreen(Game &game) {
  Loop &loop = game.loop;
  Settings &s = game.settings;
  const int oldMode = s.gameScreen;
  ResetMapView(game.mapView);
  plat::CloseScreen();
  if (oldMode == 1 || oldMode == 2)
    plat::CloseWindow();
  s.gameScreen = loop.pending.gameScreen;
  s.resolution = loop.pending.resolution;
  ChooseScreenSize(game.display, s.gameScreen, s.resolution);
  const bool open = OpenGameScreen(game.display, s.gameScreen, game.log);
  if (open && s.gameScreen == 1)
    plat::ShowCursor(true);
  if (!open)
    ShowFatalError(game, Text(game.lang, "tErrorSCREEN"));
  loop.padCount = plat::FindGamepads();
  WriteLogValue(game.log, "Joystick: ", std::to_string(loop.padCount));
  Display &d = game.display;
  d.aspectRatio = ClassifyAspectRatio(d.screenWidth, d.screenHeight);
  WriteLogValue(game.log, "AspectRatio:", std::to_string(d.aspectRatio));
  d.geometry =
      ComputeScreenGeometry(d.screenWidth, d.screenHeight, d.aspectRatio);
  ReloadScreenAssets(game);
  SetUpScreen(game);
  // Reopening a borderless window takes the focus away once; that must not
  // minimise the new window.
  loop.ignoreNextDeactivation = 1;
}

} // namespace

void RenderAllCards(Game &game) {
  Loop &loop = game.loop;
  RenderSettings(game, loop.settingsRow, game.settings.gameScreen);
  RenderMainMenu(game, loop.mainMenuItem);
  RenderCredits(game);
  RenderHelp(game);
  RenderLevelSelect(game, loop.levelSelectItem);
  RenderQuit(game, loop.quitItem, loop.playActive);
}

void SetUpScreen(Game &game) {
  const ScreenGeometry &g = game.display.geometry;
  game.dialogs = LayoutDialogs(game);
  game.play.player.speed = g.playerStep;
  game.play.player.offset = g.playerStep;
  SetMonsterSpeeds(game);
  RenderAllCards(game);
  ScaleToTileSize(game);
  SetMapTileSize(game.maps, game.mapView, g.tileSize);
  SetMapOffsetX(game.mapView, g.menuOriginX);
  SetMapOffsetY(game.mapView, g.menuOriginY);
  WriteLogValue(game.log, "TileSize: ", std::to_string(g.tileSize));
  WriteLogValue(game.log, "OffsetX: ", std::to_string(g.playOriginX));
  WriteLogValue(game.log, "OffsetY: ", std::to_string(g.playOriginY));
  plat::SetFrameRate(60);
  plat::SetSpriteQuality(1);
  if (game.settings.gameScreen == 1 || game.settings.gameScreen == 2) {
    plat::ShowWindow();
    plat::ActivateWindow();
  }
}

void ApplySettings(Game &game) {
  Loop &loop = game.loop;
  Settings &s = game.settings;
  const PendingSettings &p = loop.pending;

  PlayEffect(game, num::kConfirm);
  if (s.music == 1 && p.music == 0) {
    StopMusic(game, num::kMenuMusic);
    s.music = 0;
    LogOnOff(game, "Music:", false);
  } else if (s.music == 0 && p.music == 1) {
    StartMusic(game, num::kMenuMusic);
    s.music = 1;
    LogOnOff(game, "Music:", true);
  }
  s.soundFx = p.soundFx;
  LogOnOff(game, "Sounds:", s.soundFx != 0);

  const bool reopen =
      p.gameScreen != s.gameScreen ||
      (p.gameScreen == 1 && s.gameScreen == 1 && p.resolution != s.resolution);
  if (p.language != s.language) {
    s.language = p.language;
    const bool ok =
        LoadLanguage(game.lang, LanguageSource(game.paths.gameDir), s.language);
    WriteLogValue(game.log,
                  "Load language (" + s.language + "):", ok ? "OK" : "FAILED");
    if (!reopen)
      RenderLanguageCards(game);
  }
  if (reopen)
    ReopenScreen(game);
}
