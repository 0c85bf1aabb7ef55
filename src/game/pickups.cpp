// pickups.cpp — pickups and their effects, the victory and caught
// sequences, the monsters' fade on completion and the finale.
#include <algorithm>

#include "assets/numbers.h"
#include "game/actors.h"
#include "game/gameplay.h"
#include "maps/maze.h"
#include "platform/sprites.h"

namespace {

constexpr int kLastBannerFrame = 33; // victory and caught: frames 0..33
constexpr int kFirstRunDelay = 2;    // a banner's delay before its first run
constexpr int kImpactFrame = 192;    // fx.png is a strip of 192 x 192 frames
constexpr int kImpactStrip = 1536;

void AddEffect(Stage &stage, int x, int y, int image) {
  const ScreenGeometry &g = stage.display.geometry;
  stage.play.effects.push_back({g.playOriginX + x * g.tileSize,
                                g.playOriginY + y * g.tileSize, 255, image});
}

// One pickup taken from (x, y): the coin sound, the cell emptied, the
// effect and the counts.
void Take(Stage &stage, int x, int y, int image) {
  Play &play = stage.play;
  if (EffectsOn(stage.settings))
    PlayEffect(stage.sound, num::kCoin, 25);
  SetTile(stage.maps, play.currentMap, maze::kItemLayer, x, y, 0);
  AddEffect(stage, x, y, image);
  --play.remaining;
  ++play.collected;
  play.panelStale |= kPanelPickups;
}

// Steps a banner's frame index every other frame (after the first).
void StepBanner(int8_t &index, int8_t &delay) {
  if (delay == 0) {
    ++index;
    delay = 1;
  } else {
    --delay;
  }
}

void ShowBanner(const BannerFamily &f, int index) {
  if (index >= 0 && index < static_cast<int>(f.sprites.size()))
    plat::DisplaySpriteTransparent(f.sprites[index], f.x, f.y);
}

const LevelRecord *CurrentLevel(const Play &play) {
  if (play.current < 0 || play.current >= static_cast<int>(play.levels.size()))
    return nullptr;
  return &play.levels[play.current];
}

} // namespace

void TakePickup(Stage &stage) {
  Play &play = stage.play;
  const int x = play.player.tileX, y = play.player.tileY;
  if (GetTile(stage.maps, play.currentMap, maze::kItemLayer, x, y) ==
      maze::kDot)
    Take(stage, x, y, num::kItemDot);
  if (GetTile(stage.maps, play.currentMap, maze::kItemLayer, x, y) ==
      maze::kCherry) {
    Take(stage, x, y, num::kItemCherry);
    ++play.cherries;
    play.panelStale |= kPanelCherries;
  }
}

void DrawEffects(const Stage &stage) {
  for (const PickupEffect &e : stage.play.effects)
    plat::DisplaySpriteTransparent(e.image, e.x, e.y, e.opacity);
}

void EffectsFrame(Stage &stage) {
  std::vector<PickupEffect> &effects = stage.play.effects;
  for (PickupEffect &e : effects) {
    e.x += 2;
    e.y -= 2;
    e.opacity -= 16;
  }
  effects.erase(
      std::remove_if(effects.begin(), effects.end(),
                     [](const PickupEffect &e) { return e.opacity <= 0; }),
      effects.end());
}

Outcome CaughtFrame(Stage &stage) {
  Play &play = stage.play;
  if (!play.caughtFreeze)
    return Outcome::None;
  play.impactFrame += kImpactFrame;
  if (play.impactFrame < kImpactStrip)
    play.impactClip = play.impactFrame;
  if (play.caughtIndex < kLastBannerFrame) {
    StepBanner(play.caughtIndex, play.caughtDelay);
  } else if (play.caughtHold > 0) {
    --play.caughtHold;
  } else {
    play.caughtDelay = 1;
    play.caughtIndex = 0;
    play.caughtHold = 100;
    play.impactFrame = 0;
    play.playActive = false;
    return Outcome::Caught;
  }
  return Outcome::None;
}

Outcome CompletionTest(Stage &stage) {
  Play &play = stage.play;
  const LevelRecord *level = CurrentLevel(play);
  if (level == nullptr || play.collected != level->pickupTotal)
    return Outcome::None;
  Outcome outcome = Outcome::None;
  if (play.playActive) {
    if (MusicOn(stage.settings))
      StopMusic(stage.sound, num::kLevelMusic);
    if (EffectsOn(stage.settings))
      PlayEffect(stage.sound, num::kSting);
    outcome = Outcome::LevelCleared;
  }
  // The victory sequence.
  play.playActive = false;
  if (play.victoryIndex < kLastBannerFrame) {
    StepBanner(play.victoryIndex, play.victoryDelay);
  } else if (play.victoryHold > 0) {
    --play.victoryHold;
  } else {
    play.victoryDelay = 1;
    play.victoryIndex = 0;
    play.victoryHold = 60;
    return Outcome::LevelWon;
  }
  return outcome;
}

void LevelCompleteFrame(Stage &stage) {
  for (Monster &m : stage.play.monsters)
    if (m.opacity > 0)
      m.opacity -= 3;
}

void FinaleFrame(Stage &stage) {
  Play &play = stage.play;
  play.playActive = false;
  if (play.congratsIndex < 28) {
    if (play.congratsDelay == 0) {
      ++play.congratsIndex;
      play.finaleDimming += 9;
      play.congratsDelay = 1;
    } else {
      --play.congratsDelay;
    }
  } else if (play.finaleIndex < 40) {
    StepBanner(play.finaleIndex, play.finaleDelay);
  }
}

void FinaleReset(Stage &stage) {
  Play &play = stage.play;
  play.congratsDelay = 1;
  play.congratsIndex = 0;
  play.finaleDimming = 3;
  play.finaleDelay = 1;
  play.finaleIndex = 0;
}

void RewindSequences(Play &play) {
  // A sequence that never ran keeps its first-run delay; one that ran,
  // whole or cut short, starts again as a finished one does.
  auto rewind = [](int8_t &index, int8_t &delay, int8_t &hold, int8_t full) {
    if (delay != kFirstRunDelay) {
      index = 0;
      delay = 1;
      hold = full;
    }
  };
  rewind(play.victoryIndex, play.victoryDelay, play.victoryHold, 60);
  rewind(play.caughtIndex, play.caughtDelay, play.caughtHold, 100);
  play.impactFrame = 0;
  play.impactClip = 0;
  play.countdownIndex = 0;
  play.countdownDelay = 2;
}

void DrawOverlays(const Stage &stage, bool caughtShown, bool victoryShown) {
  const Play &play = stage.play;
  const Assets &a = stage.assets;
  if (caughtShown && play.caughtFreeze) {
    plat::ClipSprite(num::kImpact, play.impactClip, 0, kImpactFrame,
                     kImpactFrame);
    plat::DisplaySpriteTransparent(num::kImpact, play.impactX, play.impactY);
    ShowBanner(a.families[kGameOver], play.caughtIndex);
  }
  const LevelRecord *level = CurrentLevel(play);
  if (victoryShown && level != nullptr && play.collected == level->pickupTotal)
    ShowBanner(a.families[kVictory], play.victoryIndex);
}

void DrawFinale(const Stage &stage) {
  const Play &play = stage.play;
  ShowBanner(stage.assets.families[kCongrats], play.congratsIndex);
  if (play.congratsIndex == 28)
    ShowBanner(stage.assets.families[kGameFinished], play.finaleIndex);
}
