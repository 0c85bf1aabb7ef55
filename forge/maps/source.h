// source.h — reading the maze sources of content/maps: a small header and
// one character per cell.
#pragma once

#include <string>
#include <vector>

namespace forge {

struct MazeSource {
  std::string path;
  std::string id, name, theme;
  std::vector<std::string> rows; // one string per row, one char per cell
};

// False with a message naming the file and line on any fault.
bool ReadMazeSource(const std::string &path, MazeSource &out,
                    std::string &error);
// The "*.maze" files of a folder, sorted by name.
std::vector<std::string> ListMazeFiles(const std::string &folder);

} // namespace forge
