// levels.cpp — the game's level list, made from the level table.
#include "game/levels.h"

#include "maps/mapfile_levels.h"

std::vector<LevelRecord> BuiltInLevels() {
  std::vector<LevelRecord> levels;
  for (const mapfile::LevelTableRow &r : mapfile::LevelTable()) {
    LevelRecord rec;
    rec.id = r.id;
    rec.mapName = r.id;
    rec.houseType = static_cast<int8_t>(r.houseType);
    rec.startX = static_cast<int8_t>(r.startX);
    rec.startY = static_cast<int8_t>(r.startY);
    rec.monsterCount = static_cast<int8_t>(r.monsterCount);
    rec.pickupTotal = r.pickupTotal;
    rec.releaseInterval = r.releaseInterval;
    for (int i = 0; i < 4; ++i)
      rec.colours[i] = {r.rgb[3 * i], r.rgb[3 * i + 1], r.rgb[3 * i + 2], 255};
    levels.push_back(rec);
  }
  return levels;
}
