// source.cpp — parses the maze source files: "key: value" header lines, then
// "grid:" and the rows of the grid.
#include "source.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace forge {

namespace {

std::string Trim(const std::string &s) {
  const size_t a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos)
    return "";
  const size_t b = s.find_last_not_of(" \t\r");
  return s.substr(a, b - a + 1);
}

} // namespace

bool ReadMazeSource(const std::string &path, MazeSource &out,
                    std::string &error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = path + ": cannot be read";
    return false;
  }
  MazeSource src;
  src.path = path;
  std::string line;
  int number = 0;
  bool inGrid = false;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    const std::string where = path + ":" + std::to_string(number) + ": ";
    if (inGrid) {
      // The grid runs to the end of the file; a blank line ends it early.
      if (Trim(line).empty())
        break;
      src.rows.push_back(line);
      continue;
    }
    const std::string text = Trim(line);
    if (text.empty() || text[0] == ';')
      continue;
    if (text == "grid:") {
      inGrid = true;
      continue;
    }
    const size_t colon = text.find(':');
    if (colon == std::string::npos) {
      error = where + "expected \"key: value\" or \"grid:\"";
      return false;
    }
    const std::string key = Trim(text.substr(0, colon));
    const std::string value = Trim(text.substr(colon + 1));
    if (key == "id")
      src.id = value;
    else if (key == "name")
      src.name = value;
    else if (key == "theme")
      src.theme = value;
    else {
      error = where + "unknown key \"" + key + "\"";
      return false;
    }
  }
  if (src.id.empty() || src.theme.empty() || src.rows.empty()) {
    error = path + ": needs id, theme and a grid";
    return false;
  }
  for (size_t r = 0; r < src.rows.size(); ++r)
    if (src.rows[r].size() != src.rows[0].size()) {
      error = path + ": grid row " + std::to_string(r) + " is " +
              std::to_string(src.rows[r].size()) + " cells long, not " +
              std::to_string(src.rows[0].size());
      return false;
    }
  out = std::move(src);
  return true;
}

std::vector<std::string> ListMazeFiles(const std::string &folder) {
  std::vector<std::string> files;
  std::error_code ec;
  for (const auto &entry : std::filesystem::directory_iterator(folder, ec))
    if (entry.is_regular_file() && entry.path().extension() == ".maze")
      files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

} // namespace forge
