// wfmaps.cpp — lists the maps and tiles of a map archive, or shows one map
// as text: walls, items, doors, the monster house and the start tile.
#include "assets/pack.h"
#include "maps/mapfile.h"
#include "maps/maze.h"
#include "maps/maze_check.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

// No entry of the game's map archive may unpack to more than this.
constexpr size_t kMaxEntry = 20971520;

int Usage() {
  std::fprintf(stderr, "usage: wfmaps list ARCHIVE\n"
                       "       wfmaps show ARCHIVE ID\n");
  return 2;
}

int Fail(const std::string &message) {
  std::fprintf(stderr, "wfmaps: %s\n", message.c_str());
  return 1;
}

bool LoadIndex(pack::Archive &archive, const std::string &path,
               mapfile::Index &index, std::string &error) {
  if (!pack::Open(archive, path)) {
    error = "cannot open " + path + " as a pack archive";
    return false;
  }
  std::vector<uint8_t> bytes;
  if (pack::ExtractEntry(archive, mapfile::kIndexEntry, kMaxEntry, bytes) < 0) {
    error = path + ": no readable \"index\" entry";
    return false;
  }
  switch (mapfile::ParseIndex(bytes.data(), bytes.size(), index)) {
  case mapfile::IndexStatus::BadMagic:
    error = path + ": the index does not begin with INX0";
    return false;
  case mapfile::IndexStatus::Truncated:
    error = path + ": the index is damaged or cut short";
    return false;
  case mapfile::IndexStatus::Ok:
    break;
  }
  return true;
}

bool LoadMap(pack::Archive &archive, const std::string &id,
             mapfile::MapEntry &map) {
  std::vector<uint8_t> bytes;
  return pack::ExtractEntry(archive, mapfile::MapEntryName(id), kMaxEntry,
                            bytes) >= 0 &&
         mapfile::ParseMap(bytes.data(), bytes.size(), map);
}

int List(const std::string &path) {
  pack::Archive archive;
  mapfile::Index index;
  std::string error;
  if (!LoadIndex(archive, path, index, error))
    return Fail(error);
  std::printf("maps: %zu\n", index.mapIds.size());
  for (const std::string &id : index.mapIds) {
    mapfile::MapEntry map;
    if (!LoadMap(archive, id, map)) {
      std::printf("  %-4s (missing or damaged)\n", id.c_str());
      continue;
    }
    std::printf("  %-4s %3d x %-3d cells  %2d layers  tiles %d x %d  \"%s\"\n",
                id.c_str(), map.widthTiles, map.heightTiles, map.layerCount,
                map.tileWidth, map.tileHeight, map.name.c_str());
  }
  std::printf("sheets: %zu\n", index.sheets.size());
  for (const std::string &sheet : index.sheets)
    std::printf("  %s\n", sheet.c_str());
  std::printf("tiles: %zu\n", index.tiles.size());
  for (const mapfile::TileEntry &t : index.tiles) {
    std::vector<uint8_t> png;
    int w = 0, h = 0;
    const bool picture =
        pack::ExtractEntry(archive, mapfile::TileEntryName(t.id), kMaxEntry,
                           png) >= 0 &&
        mapfile::PngSize(png.data(), png.size(), w, h);
    std::printf("  %-6s sheet %-8s owner %-3s %-11s %-5s frames %-2d delay "
                "%-4d picture %s\n",
                t.id.c_str(), t.sheet.c_str(), t.owningMap.c_str(),
                t.transparent ? "transparent" : "opaque",
                t.solid ? "solid" : "", t.frameCount, t.frameDelay,
                picture
                    ? (std::to_string(w) + " x " + std::to_string(h)).c_str()
                    : "missing");
  }
  std::printf("backgrounds: %zu\n", index.backgrounds.size());
  for (const mapfile::BackgroundEntry &b : index.backgrounds)
    std::printf("  %s (%zu images)\n", b.name.c_str(), b.images.size());
  return 0;
}

char DoorChar(int16_t v) {
  switch (v) {
  case maze::kDoorBottomClosed:
  case maze::kDoorTopClosed:
    return '=';
  case maze::kDoorBottomOpen:
  case maze::kDoorTopOpen:
    return '-';
  case maze::kDoorLeftClosed:
  case maze::kDoorRightClosed:
    return '|';
  default:
    return ':';
  }
}

int Show(const std::string &path, const std::string &id) {
  pack::Archive archive;
  mapfile::Index index;
  std::string error;
  if (!LoadIndex(archive, path, index, error))
    return Fail(error);
  mapfile::MapEntry map;
  if (!LoadMap(archive, id, map))
    return Fail(path + ": no readable map \"" + id + "\"");
  using namespace mapfile;
  using namespace maze;
  int startX = kMenuStartX, startY = kMenuStartY;
  const LevelTableRow *rule = FindLevel(id);
  if (rule)
    startX = rule->startX, startY = rule->startY;

  std::printf("map %s \"%s\": %d x %d cells, %d layers\n", id.c_str(),
              map.name.c_str(), map.widthTiles, map.heightTiles,
              map.layerCount);
  std::printf("# wall  . dot  o cherry  = - | : door closed/open  m monster "
              "waiting  @ %s\n",
              rule ? "player start" : "title monsters' start");
  for (int y = 0; y < map.heightTiles; ++y) {
    std::string row;
    for (int x = 0; x < map.widthTiles; ++x) {
      const int16_t wall = CellAt(map, kWallLayer, x, y);
      const int16_t item = CellAt(map, kItemLayer, x, y);
      char c = ' ';
      if (wall >= kDoorBottomClosed && wall <= kDoorRightOpen)
        c = DoorChar(wall);
      else if (wall != 0)
        c = '#';
      else if (item == kDot)
        c = '.';
      else if (item == kCherry)
        c = 'o';
      else if (item != 0)
        c = '?';
      if (rule) {
        const House house = HouseOf(rule->houseType);
        for (int k = 0; k < 2; ++k)
          if (x == house.waitX[k] && y == house.waitY[k])
            c = 'm';
      }
      if (x == startX && y == startY)
        c = '@';
      row += c;
    }
    std::printf("%s\n", row.c_str());
  }
  return 0;
}

} // namespace

int main(int argc, char **argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.size() == 2 && args[0] == "list")
    return List(args[1]);
  if (args.size() == 3 && args[0] == "show")
    return Show(args[1], args[2]);
  return Usage();
}
