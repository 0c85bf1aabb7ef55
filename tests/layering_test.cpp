// layering_test.cpp — every include between the folders of src/ follows the
// dependency table in the README, and library headers stay in the platform
// layer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The README's table: folder -> the folders it may include.
std::map<std::string, std::set<std::string>> AllowedIncludes() {
  const std::string readme =
      ReadAll(fs::path(WARRENFOLD_SOURCE_DIR) / "README.md");
  std::map<std::string, std::set<std::string>> allowed;
  const std::regex row(R"(^\| `(\w+)` \| (.*) \|\r?$)");
  const std::regex name("`(\\w+)`");
  std::istringstream lines(readme);
  for (std::string line; std::getline(lines, line);) {
    std::smatch m;
    if (!std::regex_match(line, m, row))
      continue;
    std::set<std::string> &set = allowed[m[1]];
    set.insert(m[1]);
    const std::string rest = m[2];
    for (std::sregex_iterator it(rest.begin(), rest.end(), name), end;
         it != end; ++it)
      set.insert((*it)[1]);
  }
  return allowed;
}

struct Include {
  std::string file, folder;
};

// The project's own includes ("folder/...") of every source file in src/.
std::vector<Include> ProjectIncludes(std::vector<Include> *libraries) {
  std::vector<Include> found;
  const std::regex own(R"(^\s*#\s*include\s+"(\w+)/)");
  const std::regex system(
      R"(^\s*#\s*include\s+<(SDL|cairo|pango|archive|png|vorbis|ogg|libdeflate|fontconfig|glib))");
  for (const auto &entry : fs::recursive_directory_iterator(
           fs::path(WARRENFOLD_SOURCE_DIR) / "src")) {
    if (!entry.is_regular_file())
      continue;
    const std::string ext = entry.path().extension().string();
    if (ext != ".h" && ext != ".cpp")
      continue;
    std::istringstream lines(ReadAll(entry.path()));
    const std::string rel =
        fs::relative(entry.path(), fs::path(WARRENFOLD_SOURCE_DIR) / "src")
            .generic_string();
    for (std::string line; std::getline(lines, line);) {
      std::smatch m;
      if (std::regex_search(line, m, own))
        found.push_back({rel, m[1]});
      else if (libraries && std::regex_search(line, m, system))
        libraries->push_back({rel, m[1]});
    }
  }
  return found;
}

std::string FolderOf(const std::string &rel) {
  return rel.substr(0, rel.find('/'));
}

// Includes that break the table, as "file includes folder/".
std::vector<std::string>
Violations(const std::map<std::string, std::set<std::string>> &allowed,
           const std::vector<Include> &includes) {
  std::vector<std::string> bad;
  for (const Include &inc : includes) {
    const auto row = allowed.find(FolderOf(inc.file));
    if (row == allowed.end() || row->second.count(inc.folder) == 0)
      bad.push_back(inc.file + " includes " + inc.folder + "/");
  }
  return bad;
}

TEST(Layering, TheReadmeNamesEveryFolder) {
  const auto allowed = AllowedIncludes();
  for (const char *folder : {"platform", "settings", "assets", "maps",
                             "progress", "game", "ui", "shell"})
    EXPECT_EQ(allowed.count(folder), 1u) << folder;
  // The table is a strict order: nothing includes the shell.
  for (const auto &[folder, set] : allowed) {
    if (folder != "shell") {
      EXPECT_EQ(set.count("shell"), 0u) << folder;
    }
  }
}

TEST(Layering, IncludesFollowTheTable) {
  const auto allowed = AllowedIncludes();
  std::vector<Include> libraries;
  const std::vector<Include> includes = ProjectIncludes(&libraries);
  ASSERT_GT(includes.size(), 100u); // the scan found the sources
  EXPECT_EQ(Violations(allowed, includes), std::vector<std::string>{});
  for (const Include &lib : libraries)
    EXPECT_EQ(FolderOf(lib.file), "platform")
        << lib.file << " includes a library header (" << lib.folder << ")";
}

TEST(Layering, ABrokenIncludeIsFound) {
  const auto allowed = AllowedIncludes();
  const std::vector<Include> includes = {
      {"game/level.cpp", "shell"},    // up into the shell
      {"settings/display.cpp", "ui"}, // up past its row
      {"tools/x.cpp", "platform"},    // a folder without a row
      {"ui/dialogs.cpp", "game"},     // fine
      {"maps/draw.cpp", "assets"}};   // fine
  EXPECT_EQ(Violations(allowed, includes),
            (std::vector<std::string>{"game/level.cpp includes shell/",
                                      "settings/display.cpp includes ui/",
                                      "tools/x.cpp includes platform/"}));
}

} // namespace
