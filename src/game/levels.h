// levels.h — the 20 built-in level records.
#pragma once

#include <vector>

#include "game/state.h"

// The level list in table order: "01" to "20".
std::vector<LevelRecord> BuiltInLevels();
