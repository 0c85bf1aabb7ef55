// level.cpp — level set-up, the countdown and the player.
#include "assets/numbers.h"
#include "game/gameplay.h"
#include "platform/platform.h"
#include "shell/game.h"
#include "shell/music.h"

void LevelSetup(Game &game, int levelIndex) {
  Play &play = game.play;
  Loop &loop = game.loop;
  if (levelIndex < 0 || levelIndex >= static_cast<int>(play.levels.size()))
    levelIndex = 0;
  play.current = levelIndex;
  LevelRecord &level = play.levels[levelIndex];
  play.currentMap = level.mapName;

  loop.padCount = plat::FindGamepads();
  loop.pauseItem = 1;

  Player &p = play.player;
  p.tileX = level.startX;
  p.tileY = level.startY;
  p.image = num::kPlayerDown;
  p.direction = kStand;
  p.offset = 0.0;
  p.opacity = 0;
  p.frameDelay = 4;

  play.monsters.clear();

  DropStoredMap(game.maps);
  StoreMap(game.maps, play.currentMap);

  level.releasedCount = 0;
  play.remaining = level.pickupTotal;
  play.cherries = 0;
  play.collected = 0;
  RenderLevelLabel(game);
  RenderPickupCounter(game);
  RenderCherryCounter(game);
  play.effects.clear();

  if (game.settings.music != 0 && static_cast<int>(loop.state) < 9)
    StopMusic(game, num::kMenuMusic);

  loop.caughtFreeze = 0;
  plat::ClearScreen({0, 0, 0, 255});
  SetMapOffsetX(game.mapView, game.display.geometry.playOriginX);
  SetMapOffsetY(game.mapView, game.display.geometry.playOriginY);
  loop.state = ScreenState::Countdown;
}

void CountdownFrame(Game &game) {
  Play &play = game.play;
  if (play.player.opacity != 255)
    play.player.opacity += 3;
  if (play.countdownIndex < 46) {
    if (play.countdownDelay == 0) {
      ++play.countdownIndex;
      play.countdownDelay = 2;
      const int i = play.countdownIndex;
      if ((i == 8 || i == 14 || i == 21 || i == 27 || i == 34) &&
          game.settings.soundFx != 0)
        plat::PlaySound(num::kBeep, plat::kSoundMultiChannel, 50);
    } else {
      --play.countdownDelay;
    }
  } else {
    play.countdownDelay = 2;
    play.countdownIndex = 0;
    if (game.settings.music != 0)
      StartMusic(game, num::kLevelMusic);
    game.loop.state = ScreenState::Playing;
    game.loop.playActive = 1;
    play.releaseCounter = 0;
  }
}

void DrawCountdown(Game &game) {
  const Play &play = game.play;
  const ScreenGeometry &g = game.display.geometry;
  const Player &p = play.player;
  plat::DisplaySpriteTransparent(p.image, g.playOriginX + p.tileX * g.tileSize,
                                 g.playOriginY + p.tileY * g.tileSize,
                                 p.opacity);
  const BannerFamily &f = game.assets.families[kCountdown];
  if (play.countdownIndex >= 0 &&
      play.countdownIndex < static_cast<int>(f.sprites.size()))
    plat::DisplaySpriteTransparent(f.sprites[play.countdownIndex], f.x, f.y);
}

// The player's step and animation come with the gameplay; until then the
// player stands where the level put it.
void StartStep(Game &, int) {}

void PlayerStep(Game &game) {
  const ScreenGeometry &g = game.display.geometry;
  Player &p = game.play.player;
  p.screenX = g.playOriginX + p.tileX * g.tileSize;
  p.screenY = g.playOriginY + p.tileY * g.tileSize;
  plat::DisplaySpriteTransparent(p.image, p.screenX, p.screenY);
}

void PlayerAnimation(Game &) {}
