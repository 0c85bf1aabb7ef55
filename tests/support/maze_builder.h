// maze_builder.h — small mazes drawn as text for gameplay tests: '#' is a
// wall, '.' a dot, 'c' a cherry, anything else an open floor.
#pragma once

#include <string>
#include <vector>

#include "maps/catalogue.h"

inline void AddMaze(MapCatalogue &cat, const std::string &id,
                    const std::vector<std::string> &rows) {
  MapRecord &m = cat.maps[id];
  m.name = m.id = id;
  m.heightTiles = static_cast<int32_t>(rows.size());
  m.widthTiles = rows.empty() ? 0 : static_cast<int32_t>(rows[0].size());
  m.layerCount = 4;
  for (int l = 0; l < 4; ++l)
    m.layers[l].cells.assign(kMapGrid * kMapGrid, 0);
  for (int y = 0; y < m.heightTiles; ++y)
    for (int x = 0; x < m.widthTiles && x < static_cast<int>(rows[y].size());
         ++x) {
      const char c = rows[y][x];
      int16_t &wall = m.layers[1].cells[x * kMapGrid + y];
      int16_t &item = m.layers[3].cells[x * kMapGrid + y];
      if (c == '#')
        wall = 1;
      else if (c == '.')
        item = 57;
      else if (c == 'c')
        item = 56;
    }
}

// A 43 x 25 level: walls around, open inside, dots where `dots` is true.
inline std::vector<std::string> OpenLevel(bool dots = false) {
  std::vector<std::string> rows;
  for (int y = 0; y < 25; ++y) {
    std::string row;
    for (int x = 0; x < 43; ++x)
      row += (x == 0 || y == 0 || x == 42 || y == 24) ? '#' : dots ? '.' : ' ';
    rows.push_back(row);
  }
  return rows;
}
