// state.h — the gameplay state: level records, the player, the monsters,
// pickup effects, counters and the timed sequences.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "maps/maze.h"
#include "platform/core.h"

struct LevelRecord {
  std::string id;      // "01" .. "20"
  std::string mapName; // equal to the id
  int8_t startX = 0, startY = 0;
  int8_t monsterCount = 0;
  int32_t pickupTotal = 0;
  int8_t releasedCount = 0;
  int32_t releaseInterval = 0;
  int8_t houseType = 1;    // 1 opens up and down, 2 left and right
  plat::Colour colours[4]; // background, entry text, title bar, title text
};

// Directions are the mazes' own (maps/maze.h).
using maze::Direction;
using maze::kDown;
using maze::kLeft;
using maze::kRight;
using maze::kStand;
using maze::kUp;

struct Player {
  int32_t tileX = 0, tileY = 0;
  int32_t image = 0;
  int32_t frameX = 0;
  int8_t direction = kStand;
  double speed = 0.0;
  double offset = 0.0;
  int32_t screenX = 0, screenY = 0;
  int32_t opacity = 0;
  int8_t frameDelay = 0;
};

struct Monster {
  int32_t tileX = 0, tileY = 0;
  int8_t direction = kUp;
  double offset = 0.0;
  double speed = 0.0;
  int32_t kind = 1; // 1..6
  int32_t active = 0;
  int32_t image = 0;
  int32_t frameX = 0;
  int32_t stepsSinceRelease = 0;
  int32_t opacity = 255;
  int32_t screenX = 0, screenY = 0;
  int8_t frameDelay = 0;
};

struct PickupEffect {
  int32_t x = 0, y = 0;
  int32_t opacity = 255;
  int32_t image = 0;
};

// The panel's text pictures that must be rendered again before they are
// next shown.
enum PanelPicture : unsigned {
  kPanelLevelLabel = 1u << 0,
  kPanelPickups = 1u << 1,
  kPanelCherries = 1u << 2,
  kPanelAll = kPanelLevelLabel | kPanelPickups | kPanelCherries,
};

struct Play {
  std::vector<LevelRecord> levels; // the level list, in table order
  int current = -1;                // index of the current level
  std::string currentMap;

  bool playActive = false;   // a level is in play (from the countdown's end)
  bool caughtFreeze = false; // the player was caught: no steps, no music
  unsigned panelStale = kPanelAll;

  Player player;
  std::vector<Monster> monsters;
  bool titleMonsters = false; // the list holds the menu's monsters
  int32_t releaseCounter = 0;
  int8_t titleReleased = 0;

  int32_t remaining = 0, collected = 0, cherries = 0;
  std::vector<PickupEffect> effects;

  // Countdown.
  int8_t countdownIndex = 0;
  int8_t countdownDelay = 2;
  // Victory, caught and finale sequences.
  int8_t victoryIndex = 0, victoryDelay = 2, victoryHold = 60;
  int8_t caughtIndex = 0, caughtDelay = 2, caughtHold = 100;
  int32_t impactFrame = 0;
  int32_t impactClip = 0; // left edge of the impact frame being shown
  int32_t impactX = 0, impactY = 0;
  int8_t congratsIndex = 0, congratsDelay = 2;
  int8_t finaleIndex = 0, finaleDelay = 2;
  int32_t finaleDimming = 3;
};

constexpr int kTitleMonsterCount = 50;
