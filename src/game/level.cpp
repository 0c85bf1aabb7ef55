// level.cpp — level set-up, the countdown and the player.
#include "assets/numbers.h"
#include "game/actors.h"
#include "game/gameplay.h"
#include "maps/maze.h"
#include "platform/sprites.h"

namespace {

// The banner animations that may play next, decoded ahead of their first
// frame.
void PrefetchBanners(const Stage &stage, const std::vector<Family> &families) {
  std::vector<std::vector<int>> sequences;
  for (Family f : families)
    sequences.push_back(stage.assets.families[f].sprites);
  plat::PrefetchSequences(sequences);
}

int PlayerImage(int direction) {
  switch (direction) {
  case kLeft:
    return num::kPlayerLeft;
  case kRight:
    return num::kPlayerRight;
  case kUp:
    return num::kPlayerUp;
  default:
    return num::kPlayerDown;
  }
}

} // namespace

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

  CreateLevelMonsters(stage);

  DropStoredMap(stage.maps);
  StoreMap(stage.maps, play.currentMap);

  level.releasedCount = 0;
  play.remaining = level.pickupTotal;
  play.cherries = 0;
  play.collected = 0;
  play.panelStale = kPanelAll;
  play.effects.clear();
  RewindSequences(play);
  PrefetchBanners(stage, {kCountdown});

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
  // Won or caught next; after the last level, the finale.
  if (play.current + 1 == static_cast<int>(play.levels.size()))
    PrefetchBanners(stage, {kVictory, kGameOver, kCongrats, kGameFinished});
  else
    PrefetchBanners(stage, {kVictory, kGameOver});
  return Outcome::CountdownOver;
}

void DrawCountdown(const Stage &stage) {
  const Play &play = stage.play;
  const ScreenGeometry &g = stage.display.geometry;
  const Player &p = play.player;
  actors::DrawStripFrame(p.image, p.frameX,
                         g.playOriginX + p.tileX * g.tileSize,
                         g.playOriginY + p.tileY * g.tileSize, p.opacity);
  const BannerFamily &f = stage.assets.families[kCountdown];
  if (play.countdownIndex >= 0 &&
      play.countdownIndex < static_cast<int>(f.sprites.size()))
    plat::DisplaySpriteTransparent(f.sprites[play.countdownIndex], f.x, f.y);
}

void StartStep(Stage &stage, int direction) {
  Play &play = stage.play;
  Player &p = play.player;
  if (!play.playActive || play.caughtFreeze || p.direction != kStand)
    return;
  const int x = p.tileX + maze::Dx(direction);
  const int y = p.tileY + maze::Dy(direction);
  if (IsTileEmpty(stage.maps, play.currentMap, maze::kWallLayer, x, y) == 0)
    return;
  p.image = PlayerImage(direction);
  p.frameX = actors::kFrameWidth;
  p.direction = static_cast<int8_t>(direction);
}

void DrawPlayer(const Stage &stage) {
  const ScreenGeometry &g = stage.display.geometry;
  const Player &p = stage.play.player;
  const int t = g.tileSize;
  actors::DrawStripFrame(
      p.image, p.frameX,
      actors::ScreenX(g.playOriginX, p.tileX, t, p.direction, p.offset),
      actors::ScreenY(g.playOriginY, p.tileY, t, p.direction, p.offset), 255);
}

void AdvancePlayer(Stage &stage) {
  const ScreenGeometry &g = stage.display.geometry;
  Play &play = stage.play;
  Player &p = play.player;
  const int t = g.tileSize;
  // Where it was drawn this frame: the catch test looks there.
  p.screenX = actors::ScreenX(g.playOriginX, p.tileX, t, p.direction, p.offset);
  p.screenY = actors::ScreenY(g.playOriginY, p.tileY, t, p.direction, p.offset);
  if (p.direction == kStand || play.caughtFreeze)
    return;
  if (p.offset == static_cast<double>(t)) {
    p.tileX += maze::Dx(p.direction);
    p.tileY += maze::Dy(p.direction);
    p.offset = p.speed;
    p.direction = kStand;
    p.frameX = 0;
    TakePickup(stage);
  } else {
    p.offset += p.speed;
  }
}

void PlayerAnimation(Stage &stage) {
  Play &play = stage.play;
  Player &p = play.player;
  if (p.direction == kStand || !play.playActive || play.caughtFreeze)
    return;
  if (p.frameDelay == 0) {
    p.frameX = actors::NextFrame(p.frameX);
    p.frameDelay = 4;
  } else {
    --p.frameDelay;
  }
}
