// scores.h — the five level slots and "Warrenfold.scores".
#pragma once

#include <array>
#include <string>
#include <vector>

struct Progress {
  std::array<std::string, 5> slots = {"01", "01", "01", "01", "01"};
};

inline const char *kScoresFile = "Warrenfold.scores";

// Reads five lines into the slots; false (slots untouched) when there is no
// file or it cannot be read (not a regular file, or larger than 1 MiB).
bool LoadScores(Progress &progress, const std::string &folder);
std::vector<uint8_t> ScoresBytes(const Progress &progress);
// Replaces the file atomically; false when it cannot be written or the
// player made it read-only (a link's target is replaced).
bool SaveScores(const Progress &progress, const std::string &folder);
// The index in the level list that a slot names: "07" is 6. A slot that
// names no level starts the first one.
int SlotLevelIndex(const std::string &slot, int levelCount);
