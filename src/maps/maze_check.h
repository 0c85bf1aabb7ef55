// maze_check.h — the content checker: every rule of maps/maze.h that a
// shipped maze and its tiles must keep, checked the way the game will use
// them. Only the maps forge and the tests include it; the game never does.
#pragma once

#include "maps/mapfile.h"
#include "maps/mapfile_levels.h"
#include "platform/png_header.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace mapfile {

// Whether a cell is free for movement: inside the grid and 0 on the wall
// layer.
bool IsFree(const MapEntry &map, int x, int y);

// Violations of the level rules, each naming the map and the rule; empty
// when the map is fine.
std::vector<std::string> CheckLevelMap(const MapEntry &map,
                                       const LevelTableRow &level);
// The same for the menu maze "M0".
std::vector<std::string> CheckMenuMap(const MapEntry &map);
// The tiles: every map the same tile size, every cell value with a tile,
// every tile with a picture of the right size and sensible flags.
// `pictures` maps tile IDs to their PNG bytes.
std::vector<std::string>
CheckTiles(const Index &index, const std::map<std::string, MapEntry> &maps,
           const std::map<std::string, std::vector<uint8_t>> &pictures);

// A tile picture's size, read from its header alone.
using plat::PngSize;

} // namespace mapfile
