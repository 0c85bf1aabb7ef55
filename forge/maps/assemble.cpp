// assemble.cpp — lays out the map archive: index, maps, tile pictures.
#include "assemble.h"

#include <set>

namespace forge {

mapfile::Index BuildIndex(const std::map<std::string, mapfile::MapEntry> &maps,
                          const std::vector<ForgedTile> &tiles) {
  mapfile::Index index;
  index.header.game = "Warrenfold";
  index.header.title = "Mazes of Warrenfold";
  for (const auto &[id, map] : maps)
    index.mapIds.push_back(id);

  // Who shows each value first, for the owning map.
  std::map<int, std::string> owner;
  for (const auto &[id, map] : maps)
    for (const mapfile::Layer &layer : map.layers)
      for (int16_t v : layer.cells)
        if (v > 0)
          owner.emplace(v, id);

  std::set<std::string> sheets;
  for (const ForgedTile &t : tiles) {
    if (sheets.insert(t.sheet).second)
      index.sheets.push_back(t.sheet);
    mapfile::TileEntry e;
    e.id = std::to_string(t.value);
    e.sheet = t.sheet;
    const auto o = owner.find(t.value);
    e.owningMap = o != owner.end()
                      ? o->second
                      : (index.mapIds.empty() ? "" : index.mapIds[0]);
    e.solid = false;
    e.transparent = t.transparent;
    e.frameCount = static_cast<int8_t>(t.frames);
    e.frameDelay = t.delay;
    index.tiles.push_back(std::move(e));
  }
  return index;
}

std::map<std::string, std::vector<uint8_t>>
EncodeTiles(const std::vector<ForgedTile> &tiles) {
  std::map<std::string, std::vector<uint8_t>> out;
  for (const ForgedTile &t : tiles)
    out[std::to_string(t.value)] = EncodePng(t.pixels);
  return out;
}

std::vector<pack::WriteEntry>
ArchiveEntries(const mapfile::Index &index,
               const std::map<std::string, mapfile::MapEntry> &maps,
               const std::map<std::string, std::vector<uint8_t>> &pictures) {
  std::vector<pack::WriteEntry> entries;
  entries.push_back({mapfile::kIndexEntry, mapfile::WriteIndex(index)});
  for (const std::string &id : index.mapIds)
    entries.push_back(
        {mapfile::MapEntryName(id), mapfile::WriteMap(maps.at(id))});
  for (const mapfile::TileEntry &t : index.tiles)
    entries.push_back({mapfile::TileEntryName(t.id), pictures.at(t.id)});
  return entries;
}

} // namespace forge
