// apply_settings.cpp — applying the settings screen and the screen-bound
// set-up shared by the start and every reopening of the screen.
#include "shell/apply_settings.h"

#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/display.h"
#include "platform/input.h"
#include "platform/sprites.h"
#include "shell/game.h"
#include "ui/dialogs.h"

namespace {

void LogOnOff(Game &game, const char *key, bool on) {
  WriteLogValue(game.log, key, on ? "ON" : "OFF");
}

// After a language change without a new screen: every card with words,
// and the panel's level label.
void RenderLanguageCards(Game &game) {
  game.loop.staleCards |= kCardMainMenu | kCardSettings | kCardHelp |
                          kCardCredits | kCardLevelSelect | kCardQuit;
  game.play.panelStale |= kPanelLevelLabel;
}

void ReopenScreen(Game &game) {
  Loop &loop = game.loop;
  Settings &s = game.settings;
  const ScreenMode oldMode = s.gameScreen;
  ResetMapView(game.mapView);
  plat::CloseScreen();
  if (HasWindow(oldMode))
    plat::CloseWindow();
  s.gameScreen = loop.pending.gameScreen;
  s.resolution = loop.pending.resolution;
  ChooseScreenSize(game.display, s.gameScreen, s.resolution);
  const bool open = OpenGameScreen(game.display, s.gameScreen, game.log);
  if (open && s.gameScreen == ScreenMode::Window)
    plat::ShowCursor(true);
  if (!open)
    ShowFatalError(game, Text(game.lang, "tErrorSCREEN"));
  loop.padCount = plat::FindGamepads();
  WriteLogValue(game.log, "Joystick: ", std::to_string(loop.padCount));
  Display &d = game.display;
  d.aspectRatio = ClassifyAspectRatio(d.screenWidth, d.screenHeight);
  WriteLogValue(game.log,
                "AspectRatio:", std::to_string(AspectNumber(d.aspectRatio)));
  d.geometry =
      ComputeScreenGeometry(d.screenWidth, d.screenHeight, d.aspectRatio);
  ReloadScreenAssets(game);
  SetUpScreen(game);
  // Reopening a borderless window takes the focus away once; that must not
  // minimise the new window.
  loop.ignoreNextDeactivation = true;
}

} // namespace

void ReloadScreenAssets(Game &game) {
  LoadMaps(game.maps, game.paths.gameDir + kMapArchive);
  LoadScreenAssets(game.assets, game.display, game.paths.gameDir, game.log);
}

void SetUpScreen(Game &game) {
  const ScreenGeometry &g = game.display.geometry;
  game.dialogs = LayoutDialogs(game.display);
  CreateCardSprites(game.dialogs);
  game.play.player.speed = g.playerStep;
  game.play.player.offset = g.playerStep;
  Stage stage = StageOf(game);
  SetMonsterSpeeds(stage);
  game.loop.staleCards |= kCardSettings | kCardMainMenu | kCardCredits |
                          kCardHelp | kCardLevelSelect | kCardQuit;
  ScaleToTileSize(game.assets, game.display);
  SetMapTileSize(game.maps, game.mapView, g.tileSize);
  SetMapOffsetX(game.mapView, g.menuOriginX);
  SetMapOffsetY(game.mapView, g.menuOriginY);
  WriteLogValue(game.log, "TileSize: ", std::to_string(g.tileSize));
  WriteLogValue(game.log, "OffsetX: ", std::to_string(g.playOriginX));
  WriteLogValue(game.log, "OffsetY: ", std::to_string(g.playOriginY));
  plat::SetFrameRate(60);
  plat::SetSpriteQuality(1);
  plat::PrepareScreenMemory();
  if (HasWindow(game.settings.gameScreen)) {
    plat::ShowWindow();
    plat::ActivateWindow();
  }
}

void ApplySettings(Game &game) {
  Loop &loop = game.loop;
  Settings &s = game.settings;
  const PendingSettings &p = loop.pending;

  Effect(game, num::kConfirm);
  if (MusicOn(s) && p.music == 0) {
    StopMusic(game.sound, num::kMenuMusic);
    s.music = 0;
    LogOnOff(game, "Music:", false);
  } else if (!MusicOn(s) && p.music == 1) {
    StartMusic(game.sound, num::kMenuMusic);
    s.music = 1;
    LogOnOff(game, "Music:", true);
  }
  s.soundFx = p.soundFx;
  LogOnOff(game, "Sounds:", EffectsOn(s));

  const bool reopen =
      p.gameScreen != s.gameScreen ||
      (p.gameScreen == ScreenMode::Window &&
       s.gameScreen == ScreenMode::Window && p.resolution != s.resolution);
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
