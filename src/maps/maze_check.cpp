// maze_check.cpp — the checks of the level mazes, the menu maze and the
// tiles: the rules of maps/maze.h, and the player's and the monsters' ways
// through a maze walked the way the game walks them.
#include "maps/maze_check.h"

#include "maps/maze.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <set>

namespace mapfile {

namespace {

using namespace maze;

const char *DirectionName(int d) {
  switch (d) {
  case kLeft:
    return "left";
  case kRight:
    return "right";
  case kUp:
    return "up";
  case kDown:
    return "down";
  default:
    return "standing";
  }
}

std::string Cell(int x, int y) {
  return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

// Collects the messages of one rule, keeping the first few.
struct Report {
  std::vector<std::string> &out;
  std::string prefix;
  static constexpr int kKeep = 6;
  std::map<std::string, int> counts;

  void Add(const std::string &rule, const std::string &detail) {
    const int n = ++counts[rule];
    if (n <= kKeep)
      out.push_back(prefix + rule + (detail.empty() ? "" : ": " + detail));
  }
  void Finish() {
    for (const auto &[rule, n] : counts)
      if (n > kKeep)
        out.push_back(prefix + rule + ": " + std::to_string(n - kKeep) +
                      " more");
  }
};

struct Grid {
  int width, height;
  std::vector<uint8_t> bits;
  Grid(int w, int h)
      : width(w), height(h), bits(static_cast<size_t>(w * h), 0) {}
  bool Get(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height &&
           bits[static_cast<size_t>(y * width + x)];
  }
  void Set(int x, int y) { bits[static_cast<size_t>(y * width + x)] = 1; }
};

// Every cell the player reaches from (sx, sy), walls and doors blocking.
Grid PlayerReach(const MapEntry &map, int sx, int sy) {
  Grid seen(map.widthTiles, map.heightTiles);
  if (!IsFree(map, sx, sy))
    return seen;
  std::deque<std::pair<int, int>> queue{{sx, sy}};
  seen.Set(sx, sy);
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop_front();
    for (int d = 1; d <= 4; ++d) {
      const int nx = x + Dx(d), ny = y + Dy(d);
      if (IsFree(map, nx, ny) && !seen.Get(nx, ny)) {
        seen.Set(nx, ny);
        queue.push_back({nx, ny});
      }
    }
  }
  return seen;
}

struct MonsterState {
  int x, y, dir;
};

// Walks every way a monster can take from the given states (a cell it has
// just stepped onto and the direction of that step), reporting each state
// without a way on. Returns the cells visited.
Grid MonsterReach(const MapEntry &map, const std::vector<MonsterState> &starts,
                  Report &report) {
  Grid cells(map.widthTiles, map.heightTiles);
  std::vector<uint8_t> seen(static_cast<size_t>(map.widthTiles) *
                                static_cast<size_t>(map.heightTiles) * 5,
                            0);
  const auto key = [&](const MonsterState &s) {
    return (static_cast<size_t>(s.y) * static_cast<size_t>(map.widthTiles) +
            static_cast<size_t>(s.x)) *
               5 +
           static_cast<size_t>(s.dir);
  };
  std::deque<MonsterState> queue;
  for (const MonsterState &s : starts) {
    if (s.x < 0 || s.y < 0 || s.x >= map.widthTiles || s.y >= map.heightTiles)
      continue;
    if (!seen[key(s)]) {
      seen[key(s)] = 1;
      queue.push_back(s);
    }
  }
  while (!queue.empty()) {
    const MonsterState s = queue.front();
    queue.pop_front();
    cells.Set(s.x, s.y);
    int ways = 0;
    for (Direction d : Choices(s.dir)) {
      const MonsterState next{s.x + Dx(d), s.y + Dy(d), d};
      if (!IsFree(map, next.x, next.y))
        continue;
      ++ways;
      if (!seen[key(next)]) {
        seen[key(next)] = 1;
        queue.push_back(next);
      }
    }
    if (ways == 0)
      report.Add("monsters meet a dead end (they never turn back)",
                 "at " + Cell(s.x, s.y) + " after a step " +
                     DirectionName(s.dir));
  }
  return cells;
}

bool CheckSize(const MapEntry &map, int width, int height, Report &report) {
  bool ok = true;
  if (map.widthTiles != width || map.heightTiles != height) {
    report.Add("wrong size", std::to_string(map.widthTiles) + " x " +
                                 std::to_string(map.heightTiles) +
                                 " cells instead of " + std::to_string(width) +
                                 " x " + std::to_string(height));
    ok = false;
  }
  if (map.layerCount < kMazeLayers ||
      map.layers.size() < static_cast<size_t>(kMazeLayers)) {
    report.Add("too few layers", std::to_string(map.layerCount) +
                                     " instead of " +
                                     std::to_string(kMazeLayers));
    ok = false;
  }
  return ok;
}

void CheckFloor(const MapEntry &map, Report &report) {
  for (int x = 0; x < map.widthTiles; ++x)
    for (int y = 0; y < map.heightTiles; ++y)
      if (CellAt(map, kFloorLayer, x, y) <= 0)
        report.Add("cell without floor", "at " + Cell(x, y));
}

// A cell from which a step in some direction leads to a free cell.
int FreeNeighbours(const MapEntry &map, int x, int y) {
  int n = 0;
  for (int d = 1; d <= 4; ++d)
    n += IsFree(map, x + Dx(d), y + Dy(d)) ? 1 : 0;
  return n;
}

bool InPlayArea(int x, int y) {
  return x >= kPlayLeft && x <= kPlayRight && y >= kPlayTop && y <= kPlayBottom;
}

} // namespace

bool IsFree(const MapEntry &map, int x, int y) {
  return x >= 0 && y >= 0 && x < map.widthTiles && y < map.heightTiles &&
         CellAt(map, kWallLayer, x, y) == 0;
}

std::vector<std::string> CheckLevelMap(const MapEntry &map,
                                       const LevelTableRow &rule) {
  std::vector<std::string> out;
  Report report{out, std::string("map ") + rule.id + ": "};
  if (!CheckSize(map, kLevelWidth, kLevelHeight, report)) {
    report.Finish();
    return out;
  }
  CheckFloor(map, report);

  const int sx = rule.startX, sy = rule.startY;
  if (!IsFree(map, sx, sy))
    report.Add("start tile is not free", "at " + Cell(sx, sy));
  if (CellAt(map, kItemLayer, sx, sy) != 0)
    report.Add("item on the start tile", "at " + Cell(sx, sy));

  // The house: closed doors where the type puts them, no door values
  // anywhere else, free waiting tiles.
  const House house = HouseOf(rule.houseType);
  for (const HouseDoor &door : house.doors) {
    const int16_t v = CellAt(map, kWallLayer, door.x, door.y);
    if (v != door.closed)
      report.Add("door does not hold its closed value",
                 "at " + Cell(door.x, door.y) + " " + std::to_string(v) +
                     " instead of " + std::to_string(door.closed));
  }
  for (int x = 0; x < map.widthTiles; ++x)
    for (int y = 0; y < map.heightTiles; ++y) {
      const int16_t v = CellAt(map, kWallLayer, x, y);
      const bool isDoorCell =
          (x == house.doors[0].x && y == house.doors[0].y) ||
          (x == house.doors[1].x && y == house.doors[1].y);
      if (IsDoorValue(v) && !isDoorCell)
        report.Add("door value away from the house doors",
                   std::to_string(v) + " at " + Cell(x, y));
    }

  const Grid reach = PlayerReach(map, sx, sy);
  for (int k = 0; k < 2; ++k) {
    const int wx = house.waitX[k], wy = house.waitY[k];
    if (!IsFree(map, wx, wy))
      report.Add("monster waiting tile is not free", "at " + Cell(wx, wy));
    if (CellAt(map, kItemLayer, wx, wy) != 0)
      report.Add("item inside the monster house", "at " + Cell(wx, wy));
    if (reach.Get(wx, wy))
      report.Add("the player can walk into the monster house",
                 "waiting tile " + Cell(wx, wy));
  }

  // Items: the exact total, only dots and cherries, all on free cells the
  // player can reach.
  int items = 0;
  for (int x = 0; x < map.widthTiles; ++x)
    for (int y = 0; y < map.heightTiles; ++y) {
      const int16_t v = CellAt(map, kItemLayer, x, y);
      if (v == 0)
        continue;
      if (v != kDot && v != kCherry) {
        report.Add("item layer holds something else than dots and cherries",
                   std::to_string(v) + " at " + Cell(x, y));
        continue;
      }
      ++items;
      if (!IsFree(map, x, y))
        report.Add("item inside a wall", "at " + Cell(x, y));
      else if (!reach.Get(x, y))
        report.Add("item out of the player's reach", "at " + Cell(x, y));
    }
  if (items != rule.pickupTotal)
    report.Add("item count differs from the level's pickup total",
               std::to_string(items) + " instead of " +
                   std::to_string(rule.pickupTotal));

  // Where the player can go: inside the visible area, never a dead end, no
  // decoration on the way.
  for (int x = 0; x < map.widthTiles; ++x)
    for (int y = 0; y < map.heightTiles; ++y) {
      if (!reach.Get(x, y))
        continue;
      if (!InPlayArea(x, y))
        report.Add("walkable cell outside the visible area",
                   "at " + Cell(x, y));
      if (FreeNeighbours(map, x, y) < 2)
        report.Add("dead end", "at " + Cell(x, y));
      if (CellAt(map, kDecorLayer, x, y) != 0)
        report.Add("decoration on a walkable cell", "at " + Cell(x, y));
    }

  // Monsters: out through either door into the corridors, never stuck, and
  // able to roam everywhere the player goes.
  Grid roam(map.widthTiles, map.heightTiles);
  for (const HouseDoor &door : house.doors) {
    std::vector<std::string> dummy;
    Report doorReport{out, report.prefix};
    const Grid cells = MonsterReach(
        map, {{door.x, door.y, static_cast<int>(door.exit)}}, doorReport);
    doorReport.Finish();
    bool corridor = false;
    for (int x = 0; x < map.widthTiles; ++x)
      for (int y = 0; y < map.heightTiles; ++y)
        if (cells.Get(x, y)) {
          roam.Set(x, y);
          corridor = corridor || reach.Get(x, y);
          if (!reach.Get(x, y) && !(x == door.x && y == door.y))
            report.Add("monsters reach a cell the player cannot",
                       "at " + Cell(x, y));
        }
    if (!corridor)
      report.Add("a monster leaving the house never reaches the corridors",
                 "door " + Cell(door.x, door.y));
  }
  for (int x = 0; x < map.widthTiles; ++x)
    for (int y = 0; y < map.heightTiles; ++y)
      if (reach.Get(x, y) && !roam.Get(x, y))
        report.Add("monsters can never come to a cell the player reaches",
                   "at " + Cell(x, y));
  report.Finish();
  return out;
}

std::vector<std::string> CheckMenuMap(const MapEntry &map) {
  std::vector<std::string> out;
  Report report{out, "map M0: "};
  if (!CheckSize(map, kMenuWidth, kMenuHeight, report)) {
    report.Finish();
    return out;
  }
  CheckFloor(map, report);
  // The title monsters' first step is taken without a look.
  std::vector<MonsterState> starts;
  for (Direction d : kMenuFirstSteps) {
    const int x = kMenuStartX + Dx(d), y = kMenuStartY + Dy(d);
    if (!IsFree(map, x, y))
      report.Add(std::string("the title monsters' first step ") +
                     DirectionName(d) + " is blocked",
                 "at " + Cell(x, y));
    starts.push_back({x, y, d});
  }
  MonsterReach(map, starts, report);
  for (int x = 0; x < map.widthTiles; ++x)
    for (int y = 0; y < map.heightTiles; ++y)
      if (CellAt(map, kItemLayer, x, y) != 0)
        report.Add("item on the menu maze", "at " + Cell(x, y));
  report.Finish();
  return out;
}

std::vector<std::string>
CheckTiles(const Index &index, const std::map<std::string, MapEntry> &maps,
           const std::map<std::string, std::vector<uint8_t>> &pictures) {
  std::vector<std::string> out;
  Report report{out, ""};

  // One frame size for every map.
  for (const auto &[id, map] : maps) {
    if (map.tileWidth != kTilePixels || map.tileHeight != kTilePixels)
      report.Add("map " + id + ": tile size is not 96 x 96",
                 std::to_string(map.tileWidth) + " x " +
                     std::to_string(map.tileHeight));
    if (std::find(index.mapIds.begin(), index.mapIds.end(), id) ==
        index.mapIds.end())
      report.Add("map " + id + ": not listed in the index", "");
  }

  std::map<std::string, const TileEntry *> tiles;
  for (const TileEntry &tile : index.tiles) {
    const std::string name = "tile " + tile.id + ": ";
    if (!tiles.emplace(tile.id, &tile).second)
      report.Add(name + "listed twice", "");
    int value = 0;
    bool canonical =
        !tile.id.empty() && tile.id.size() <= 5 && tile.id[0] != '0';
    for (char c : tile.id)
      canonical = canonical && c >= '0' && c <= '9';
    if (canonical)
      value = std::stoi(tile.id);
    if (!canonical || value > 32767)
      report.Add(name + "ID is not the decimal text of a positive cell value",
                 "");
    if (std::find(index.sheets.begin(), index.sheets.end(), tile.sheet) ==
        index.sheets.end())
      report.Add(name + "its sheet is not listed", tile.sheet);
    const auto owner = maps.find(tile.owningMap);
    if (owner == maps.end())
      report.Add(name + "its owning map does not exist", tile.owningMap);
    if (tile.frameCount < 1)
      report.Add(name + "frame count below 1", std::to_string(tile.frameCount));
    if (tile.frameCount > 1 && tile.frameDelay < 1)
      report.Add(name + "animated without a frame delay", "");
    const auto picture = pictures.find(tile.id);
    int w = 0, h = 0;
    if (picture == pictures.end()) {
      report.Add(name + "picture missing", "");
    } else if (!PngSize(picture->second.data(), picture->second.size(), w, h)) {
      report.Add(name + "picture is not a PNG", "");
    } else {
      const int frames = std::max<int>(tile.frameCount, 1);
      if (w != frames * kTilePixels || h != kTilePixels)
        report.Add(name + "picture size does not match its frames",
                   std::to_string(w) + " x " + std::to_string(h) +
                       " instead of " + std::to_string(frames * kTilePixels) +
                       " x " + std::to_string(kTilePixels));
    }
  }
  for (int v : {kCherry, kDot, kDoorBottomClosed, kDoorBottomOpen,
                kDoorTopClosed, kDoorTopOpen, kDoorLeftClosed, kDoorLeftOpen,
                kDoorRightClosed, kDoorRightOpen})
    if (!tiles.count(std::to_string(v)))
      report.Add("tile " + std::to_string(v) + ": missing", "");

  // Every cell value with a tile; floors opaque, everything over them
  // blended; an animated decoration on every map.
  for (const auto &[id, map] : maps) {
    std::set<int> missing, wrongFlag;
    bool animated = false;
    for (size_t layer = 0; layer < map.layers.size(); ++layer)
      for (int16_t v : map.layers[layer].cells) {
        if (v <= 0)
          continue;
        const auto tile = tiles.find(std::to_string(v));
        if (tile == tiles.end()) {
          missing.insert(v);
          continue;
        }
        const bool wantTransparent = layer != kFloorLayer;
        if (tile->second->transparent != wantTransparent)
          wrongFlag.insert(v);
        if (layer == kDecorLayer && tile->second->frameCount > 1)
          animated = true;
      }
    for (int v : missing)
      report.Add("map " + id + ": cell value without a tile",
                 std::to_string(v));
    for (int v : wrongFlag)
      report.Add("map " + id +
                     ": floor tiles must be opaque and all others transparent",
                 "tile " + std::to_string(v));
    if (!animated)
      report.Add("map " + id + ": no animated decoration", "");
  }
  report.Finish();
  return out;
}

} // namespace mapfile
