// build.h — turns a maze source into the map entry the game reads: floor,
// joined walls and doors, decorations and items on their layers.
#pragma once

#include "maps/mapfile.h"
#include "source.h"

#include <string>
#include <vector>

namespace forge {

// Adds a message to errors for every cell it cannot place.
mapfile::MapEntry BuildMap(const MazeSource &source,
                           std::vector<std::string> &errors);

} // namespace forge
