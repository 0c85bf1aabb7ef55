// win_course.h — a test map archive whose levels 01 and 20 are rebuilt as
// one corridor from the start, folded so that every straight walk ends at
// a wall and dotted with exactly the level's pickups, the monsters shut in
// their house; and the replay lines that walk those corridors. Shared by
// the win replay tests and the whole-game benchmark, so that both play the
// same course.
#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "assets/pack.h"
#include "assets/packwriter.h"
#include "maps/mapfile.h"
#include "maps/mapfile_levels.h"
#include "maps/maze.h"

namespace win_course {

using Cell = std::pair<int, int>;

// One straight walk: a direction key ('L', 'R', 'U', 'D') held until a
// wall stops the player after `steps` tiles.
struct Walk {
  char key;
  int steps;
};

inline int Dx(char k) { return k == 'L' ? -1 : k == 'R' ? 1 : 0; }
inline int Dy(char k) { return k == 'U' ? -1 : k == 'D' ? 1 : 0; }
inline std::string KeyName(char k) {
  return k == 'L' ? "Left" : k == 'R' ? "Right" : k == 'U' ? "Up" : "Down";
}

// Rows walked to and fro with one `step` between them, each row one tile
// shorter than the last: the tile beyond every walk stays a wall.
inline void Zigzag(std::vector<Walk> &walks, char step, char first, int longest,
                   int rows) {
  for (int i = 0; i < rows; ++i) {
    walks.push_back({step, 1});
    walks.push_back(
        {i % 2 == 0 ? first : (first == 'L' ? 'R' : 'L'), longest - i});
  }
}

// Level 01 starts at (10, 10), left of its house: up, the rows above the
// house, the rows left of it, down and along the bottom. Level 20 starts at
// (21, 21), below its house: the rows below it upwards, up the left, the
// rows above.
inline std::vector<Walk> CourseOf(const std::string &level) {
  std::vector<Walk> w;
  if (level == "01") {
    w = {{'U', 8}, {'R', 30}};
    Zigzag(w, 'D', 'L', 38, 5);
    Zigzag(w, 'D', 'R', 15, 8);
    w.insert(w.end(), {{'D', 7}, {'R', 32}, {'U', 1}, {'L', 38}});
  } else {
    w = {{'R', 19}};
    Zigzag(w, 'U', 'L', 38, 7);
    w.insert(w.end(), {{'U', 12}, {'R', 35}});
    Zigzag(w, 'D', 'L', 38, 2);
  }
  return w;
}

inline const mapfile::LevelTableRow &Row(const std::string &level) {
  return mapfile::LevelTable()[std::stoi(level) - 1];
}

// The level's map with walls everywhere but the course and a house of one
// corridor: between the waiting tiles, through each closed door, one tile
// out, where a monster can only turn back; the course keeps a wall between
// itself and all of these. The first pickupTotal tiles the course reaches
// carry dots. Returns what went wrong, or "".
inline std::string RebuildLevel(mapfile::MapEntry &map,
                                const std::string &level) {
  using namespace mapfile;
  using namespace maze;
  const LevelTableRow &row = Row(level);
  const House house = HouseOf(row.houseType);
  std::set<Cell> monsters;
  for (int x = house.waitX[0]; x <= house.waitX[1]; ++x)
    for (int y = house.waitY[0]; y <= house.waitY[1]; ++y)
      monsters.insert({x, y});
  for (const HouseDoor &d : house.doors) {
    monsters.insert({d.x, d.y});
    const char out = "?LRUD"[d.exit];
    monsters.insert({d.x + Dx(out), d.y + Dy(out)});
  }
  const int16_t wall = CellAt(map, kWallLayer, 1, 1);
  if (wall == 0)
    return level + ": no wall at (1, 1)";
  for (int x = 0; x < map.widthTiles; ++x)
    for (int y = 0; y < map.heightTiles; ++y) {
      SetCell(map, kWallLayer, x, y, monsters.count({x, y}) ? 0 : wall);
      SetCell(map, kItemLayer, x, y, 0);
    }
  for (const HouseDoor &d : house.doors)
    SetCell(map, kWallLayer, d.x, d.y, d.closed);
  std::set<Cell> dots;
  int x = row.startX, y = row.startY;
  for (const Walk &w : CourseOf(level))
    for (int i = 0; i < w.steps; ++i) {
      x += Dx(w.key), y += Dy(w.key);
      SetCell(map, kWallLayer, x, y, 0);
      if (static_cast<int>(dots.size()) < row.pickupTotal &&
          Cell{x, y} != Cell{row.startX, row.startY} &&
          dots.insert({x, y}).second)
        SetCell(map, kItemLayer, x, y, kDot);
    }
  if (static_cast<int>(dots.size()) != row.pickupTotal)
    return level + ": " + std::to_string(dots.size()) + " dots for " +
           std::to_string(row.pickupTotal) + " pickups";
  return "";
}

// The map archive `shipped` with levels 01 and 20 rebuilt, written to
// `path`. Returns what went wrong, or "".
inline std::string WriteTestMaps(const std::string &shipped,
                                 const std::string &path) {
  pack::Archive in;
  if (!pack::Open(in, shipped))
    return shipped + " does not open";
  std::vector<pack::WriteEntry> entries;
  for (const pack::EntryInfo &e : pack::Entries(in)) {
    pack::WriteEntry out{e.name, {}};
    if (pack::ExtractEntry(in, e.name, e.fullSize, out.data) < 0)
      return e.name + " does not unpack";
    for (const char *level : {"01", "20"})
      if (e.name == mapfile::MapEntryName(level)) {
        mapfile::MapEntry map;
        if (!mapfile::ParseMap(out.data.data(), out.data.size(), map))
          return e.name + " does not parse";
        if (std::string why = RebuildLevel(map, level); !why.empty())
          return why;
        out.data = mapfile::WriteMap(map);
      }
    entries.push_back(std::move(out));
  }
  pack::WriteOptions store;
  store.store = true;
  return pack::WriteArchive(path, entries, store) ? "" : path + " not written";
}

// Walks the course of the level whose countdown began at pass `start`,
// each key held 16 passes a tile and some to spare; returns a pass by
// which the level complete dialog is open, and sets lastPickup to about
// the pass of the level's last pickup.
inline int WalkCourse(std::string &replay, const std::string &level,
                      int *lastPickup = nullptr, int start = 61) {
  const mapfile::LevelTableRow &row = Row(level);
  std::set<Cell> dots;
  int pass = start + 300, x = row.startX, y = row.startY; // after the count
  for (const Walk &w : CourseOf(level)) {
    for (int i = 1; i <= w.steps; ++i) {
      x += Dx(w.key), y += Dy(w.key);
      if (Cell{x, y} != Cell{row.startX, row.startY} &&
          dots.insert({x, y}).second &&
          static_cast<int>(dots.size()) == row.pickupTotal && lastPickup)
        *lastPickup = pass + 16 * i;
    }
    const int release = pass + 16 * w.steps + 24;
    replay += std::to_string(pass) + " down " + KeyName(w.key) + "\n" +
              std::to_string(release) + " up " + KeyName(w.key) + "\n";
    pass = release + 1;
  }
  return pass + 300; // the victory banner
}

} // namespace win_course
