// mapfile_levels.h — the table of the 20 built-in level records: the one
// source for the game's level list and for the rules its mazes obey.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace mapfile {

struct LevelTableRow {
  const char *id; // "01" .. "20", also the map's name
  int houseType;  // 1: doors up and down, 2: doors left and right
  int startX, startY;
  int monsterCount;
  int pickupTotal;
  int releaseInterval; // frames between two monster releases
  // Background, entry text, title bar and title text of the level's
  // dialogs, as red, green, blue.
  uint8_t rgb[12];
};

constexpr int kLevelCount = 20;

const std::array<LevelTableRow, kLevelCount> &LevelTable();
// The row of a level ID; nullptr when the ID names no level.
const LevelTableRow *FindLevel(const std::string &id);

} // namespace mapfile
