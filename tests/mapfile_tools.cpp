// mapfile_tools.cpp — forge_maps refuses a broken maze and names the rule.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Grid = std::vector<std::string>; // rows of a maze source, [y][x]

void WriteMaze(const TempDir &dir, const std::string &id, const Grid &g) {
  std::string text = "; made by the map tool test\nid: " + id +
                     "\nname: Test " + id + "\ntheme: meadow\ngrid:\n";
  for (const std::string &row : g)
    text += row + "\n";
  WriteText(dir.File("mazes/" + id + ".maze"), text);
}

// Every problem is named and nothing is written: a cell the forge cannot
// read, a maze that breaks a rule (the rules themselves are the rules
// test's), a map wider than the format holds (written, it would have come
// out cut down with its cells moved), a maze missing.
TEST(MapForge, RefusesBrokenMazesByName) {
  const std::string forge = std::string(WARRENFOLD_TOOLS_DIR) + "forge_maps";
  if (!fs::exists(forge))
    GTEST_SKIP() << "forge_maps is not built";
  TempDir dir;
  fs::create_directories(dir.File("mazes"));
  WriteMaze(dir, "12", {"#?#"});
  WriteMaze(dir, "X1", Grid(3, std::string(130, ',')));
  const ProgramResult run =
      RunProgram(forge, {dir.File("mazes"), dir.File("test.maps")}, {},
                 dir.File("tool.err"));
  EXPECT_EQ(run.status, 1);
  for (const char *problem :
       {"map 12: unknown cell '?'", "map 12: wrong size",
        "map X1: 130 x 3 cells, more than a map can hold (129 x 129)",
        "map M0: no source"})
    EXPECT_NE(run.err.find(std::string("forge_maps: ") + problem),
              std::string::npos)
        << problem << "\n"
        << run.err;
  EXPECT_NE(run.err.find("not written"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir.File("test.maps")));
}

} // namespace
