// scores.h — the five level slots and "Warrenfold.scores".
#pragma once

#include <array>
#include <string>
#include <vector>

using Slots = std::array<std::string, 5>;

struct Progress {
  Slots slots = {"01", "01", "01", "01", "01"};
  // The slots as this copy last read or wrote the file: a save applies
  // only the slots changed since, so another copy's changes stay.
  Slots synced = slots;
};

inline const char *kScoresFile = "Warrenfold.scores";

// Reads five lines into the slots; false (slots untouched) when there is no
// file or it cannot be read (not a regular file, or larger than 1 MiB).
bool LoadScores(Progress &progress, const std::string &folder);
std::vector<uint8_t> ScoresBytes(const Slots &slots);
std::vector<uint8_t> ScoresBytes(const Progress &progress);
// Replaces the file atomically with the slots this copy changed since it
// last read or wrote it and the file's own for the rest; false when it
// cannot be written or the player made it read-only (a link of the
// player's is followed, its target replaced).
bool SaveScores(Progress &progress, const std::string &folder);
// The index in the level list that a slot names: "07" is 6. A slot that
// names no level starts the first one.
int SlotLevelIndex(const std::string &slot, int levelCount);
