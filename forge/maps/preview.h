// preview.h — review pictures: every maze as the game shows it at 48-pixel
// tiles, and a sheet of every tile with its frames.
#pragma once

#include "maps/mapfile.h"
#include "tileset.h"

#include <map>
#include <string>
#include <vector>

namespace forge {

// Writes <id>.png per map and tiles-<sheet>.png per sheet into folder.
bool WritePreviews(const std::string &folder,
                   const std::map<std::string, mapfile::MapEntry> &maps,
                   const std::vector<ForgedTile> &tiles);

} // namespace forge
