// level.cpp — level set-up, the countdown and the player.
#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/platform.h"

void LevelSetup(Stage &stage, int levelIndex, bool fromMenu) {
  Play &play = stage.play;
  if (levelIndex < 0 || levelIndex >= static_cast<int>(play.levels.size()))
    levelIndex = 0;
  play.current = levelIndex;
  LevelRecord &level = play.levels[levelIndex];
  play.currentMap = level.mapName;

  Player &p = play.player;
  p.tileX = level.startX;
  p.tileY = level.startY;
  p.image = num::kPlayerDown;
  p.direction = kStand;
  p.offset = 0.0;
  p.opacity = 0;
  p.frameDelay = 4;

  play.monsters.clear();

  DropStoredMap(stage.maps);
  StoreMap(stage.maps, play.currentMap);

  level.releasedCount = 0;
  play.remaining = level.pickupTotal;
  play.cherries = 0;
  play.collected = 0;
  play.panelStale = kPanelAll;
  play.effects.clear();

  if (MusicOn(stage.settings) && fromMenu)
    StopMusic(stage.sound, num::kMenuMusic);

  play.caughtFreeze = false;
  SetMapOffsetX(stage.mapView, stage.display.geometry.playOriginX);
  SetMapOffsetY(stage.mapView, stage.display.geometry.playOriginY);
}

Outcome CountdownFrame(Stage &stage) {
  Play &play = stage.play;
  if (play.player.opacity != 255)
    play.player.opacity += 3;
  if (play.countdownIndex < 46) {
    if (play.countdownDelay == 0) {
      ++play.countdownIndex;
      play.countdownDelay = 2;
      const int i = play.countdownIndex;
      if ((i == 8 || i == 14 || i == 21 || i == 27 || i == 34) &&
          EffectsOn(stage.settings))
        PlayEffect(stage.sound, num::kBeep, 50);
    } else {
      --play.countdownDelay;
    }
    return Outcome::None;
  }
  play.countdownDelay = 2;
  play.countdownIndex = 0;
  if (MusicOn(stage.settings))
    StartMusic(stage.sound, num::kLevelMusic);
  play.playActive = true;
  play.releaseCounter = 0;
  return Outcome::CountdownOver;
}

void DrawCountdown(const Stage &stage) {
  const Play &play = stage.play;
  const ScreenGeometry &g = stage.display.geometry;
  const Player &p = play.player;
  plat::DisplaySpriteTransparent(p.image, g.playOriginX + p.tileX * g.tileSize,
                                 g.playOriginY + p.tileY * g.tileSize,
                                 p.opacity);
  const BannerFamily &f = stage.assets.families[kCountdown];
  if (play.countdownIndex >= 0 &&
      play.countdownIndex < static_cast<int>(f.sprites.size()))
    plat::DisplaySpriteTransparent(f.sprites[play.countdownIndex], f.x, f.y);
}

// The player's step and animation come with the gameplay; until then the
// player stands where the level put it.
void StartStep(Stage &, int) {}

void DrawPlayer(const Stage &stage) {
  const ScreenGeometry &g = stage.display.geometry;
  const Player &p = stage.play.player;
  plat::DisplaySpriteTransparent(p.image, g.playOriginX + p.tileX * g.tileSize,
                                 g.playOriginY + p.tileY * g.tileSize);
}

void AdvancePlayer(Stage &stage) {
  const ScreenGeometry &g = stage.display.geometry;
  Player &p = stage.play.player;
  p.screenX = g.playOriginX + p.tileX * g.tileSize;
  p.screenY = g.playOriginY + p.tileY * g.tileSize;
}

void PlayerAnimation(Stage &) {}
