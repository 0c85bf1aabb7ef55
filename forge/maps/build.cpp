// build.cpp — places every cell of a maze source on the four layers.
#include "build.h"

#include "maps/mapfile_levels.h"
#include "maps/maze.h"
#include "themes.h"
#include "walls.h"

#include <cctype>

namespace forge {

namespace {

bool WallLike(const MazeSource &src, int x, int y) {
  const int h = static_cast<int>(src.rows.size());
  const int w = static_cast<int>(src.rows[0].size());
  // Beyond the grid the walls go on, so border walls show no cap there.
  if (x < 0 || y < 0 || x >= w || y >= h)
    return true;
  const char c = src.rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
  return c == '#' || c == '=' || std::isupper(static_cast<unsigned char>(c));
}

uint8_t Neighbours(const MazeSource &src, int x, int y) {
  const struct {
    int dx, dy;
    uint8_t bit;
  } around[] = {{0, -1, kN}, {1, -1, kNE}, {1, 0, kE},  {1, 1, kSE},
                {0, 1, kS},  {-1, 1, kSW}, {-1, 0, kW}, {-1, -1, kNW}};
  uint8_t mask = 0;
  for (const auto &a : around)
    if (WallLike(src, x + a.dx, y + a.dy))
      mask |= a.bit;
  return mask;
}

// Mostly plain ground, now and then a variant with details.
int FloorVariant(const std::string &id, int x, int y) {
  uint32_t seed = 0;
  for (char c : id)
    seed = seed * 131 + static_cast<uint8_t>(c);
  const float r =
      Hash01(seed, static_cast<uint32_t>(x), static_cast<uint32_t>(y), 3);
  if (r < 0.76f)
    return 0;
  return 1 + static_cast<int>((r - 0.76f) / 0.08f) % 3;
}

std::string Cell(int x, int y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

} // namespace

mapfile::MapEntry BuildMap(const MazeSource &src,
                           std::vector<std::string> &errors) {
  using namespace mapfile;
  using namespace maze;
  const std::string where = "map " + src.id + ": ";
  const int h = static_cast<int>(src.rows.size());
  const int w = static_cast<int>(src.rows[0].size());
  MapEntry map = MakeMap(src.name, w, h, kMazeLayers, kTilePixels, kTilePixels);
  map.theme = src.theme;
  const char *layerNames[kMazeLayers] = {"floor", "walls", "decoration",
                                         "items"};
  for (int i = 0; i < kMazeLayers; ++i)
    map.layers[static_cast<size_t>(i)].name = layerNames[i];

  const Theme *theme = FindTheme(src.theme);
  if (!theme) {
    errors.push_back(where + "unknown theme \"" + src.theme + "\"");
    return map;
  }
  const LevelTableRow *rule = FindLevel(src.id);
  const auto put = [&map](int layer, int x, int y, int value) {
    SetCell(map, layer, x, y, static_cast<int16_t>(value));
  };

  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const char c = src.rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      put(kFloorLayer, x, y, theme->base + FloorVariant(src.id, x, y));
      if (WallLike(src, x, y) && c != '=')
        put(kWallLayer, x, y,
            theme->base + kWallOffset + WallPiece(Neighbours(src, x, y)));
      if (std::isalpha(static_cast<unsigned char>(c)) && c != 'o' && c != 'h') {
        const Decoration *d = FindDecoration(*theme, c);
        if (!d)
          errors.push_back(where + "no decoration '" + std::string(1, c) +
                           "' in theme " + theme->name + " at " + Cell(x, y));
        else
          put(kDecorLayer, x, y,
              theme->base + kDecorOffset + (d->letter - 'a'));
        continue;
      }
      switch (c) {
      case '#':
      case ',':
        break;
      case '.':
        put(kItemLayer, x, y, kDot);
        break;
      case 'o':
        put(kItemLayer, x, y, kCherry);
        break;
      case 'h':
        put(kFloorLayer, x, y, theme->base + kHouseFloorOffset);
        break;
      case '@': {
        const bool menuStart = !rule && x == kMenuStartX && y == kMenuStartY;
        if (!menuStart && !(rule && rule->startX == x && rule->startY == y))
          errors.push_back(where + "'@' at " + Cell(x, y) +
                           " is not the level's start tile");
        break;
      }
      case '=': {
        bool placed = false;
        if (rule) {
          for (const HouseDoor &door : HouseOf(rule->houseType).doors)
            if (door.x == x && door.y == y) {
              put(kWallLayer, x, y, door.closed);
              placed = true;
            }
        }
        if (!placed)
          errors.push_back(where + "'=' at " + Cell(x, y) +
                           " is not a door of this level's house");
        break;
      }
      default:
        errors.push_back(where + "unknown cell '" + std::string(1, c) +
                         "' at " + Cell(x, y));
      }
    }
  return map;
}

} // namespace forge
