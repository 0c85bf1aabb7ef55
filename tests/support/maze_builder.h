// maze_builder.h — small mazes drawn as text for gameplay tests: '#' is a
// wall, '.' a dot, 'c' a cherry, anything else an open floor.
#pragma once

#include <string>
#include <vector>

#include "maps/catalogue.h"
#include "maps/maze.h"

inline void AddMaze(MapCatalogue &cat, const std::string &id,
                    const std::vector<std::string> &rows) {
  MapRecord &m = cat.maps[id];
  m.id = id;
  const int height = static_cast<int>(rows.size());
  const int width = rows.empty() ? 0 : static_cast<int>(rows[0].size());
  m.entry = mapfile::MakeMap(id, width, height, maze::kMazeLayers, 0, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width && x < static_cast<int>(rows[y].size()); ++x) {
      const char c = rows[y][x];
      if (c == '#')
        mapfile::SetCell(m.entry, maze::kWallLayer, x, y, 1);
      else if (c == '.')
        mapfile::SetCell(m.entry, maze::kItemLayer, x, y, maze::kDot);
      else if (c == 'c')
        mapfile::SetCell(m.entry, maze::kItemLayer, x, y, maze::kCherry);
    }
}

// A 43 x 25 level: walls around, open inside, dots where `dots` is true.
inline std::vector<std::string> OpenLevel(bool dots = false) {
  const int w = maze::kLevelWidth;
  std::vector<std::string> rows(
      maze::kLevelHeight, '#' + std::string(w - 2, dots ? '.' : ' ') + '#');
  rows.front() = rows.back() = std::string(w, '#');
  return rows;
}
