// assemble.h — the index and the entry list of the map archive, from the
// built maps and the forged tiles.
#pragma once

#include "assets/packwriter.h"
#include "maps/mapfile.h"
#include "tileset.h"

#include <map>
#include <string>
#include <vector>

namespace forge {

// Maps in ID order; each tile owned by the first map that shows it.
mapfile::Index BuildIndex(const std::map<std::string, mapfile::MapEntry> &maps,
                          const std::vector<ForgedTile> &tiles);

// PNG bytes per tile ID.
std::map<std::string, std::vector<uint8_t>>
EncodeTiles(const std::vector<ForgedTile> &tiles);

// "index", "MAPS/<id>" in index order, "TILES/<id>" in index order.
std::vector<pack::WriteEntry>
ArchiveEntries(const mapfile::Index &index,
               const std::map<std::string, mapfile::MapEntry> &maps,
               const std::map<std::string, std::vector<uint8_t>> &pictures);

} // namespace forge
