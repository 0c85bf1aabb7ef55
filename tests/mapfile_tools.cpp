// mapfile_tools.cpp — forge_maps refuses a broken maze and names the rule;
// wfmaps shows and lists an archive and fails clearly on a bad one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "maps/mapfile_levels.h"
#include "maps/maze.h"
#include "maps/maze_check.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace mapfile;
using namespace maze;
using Grid = std::vector<std::string>; // rows of a maze source, [y][x]

struct ToolRun {
  int status = -1; // -1: no normal exit
  std::string out, err;
};

ToolRun RunTool(const TempDir &dir, const std::string &tool,
                const std::vector<std::string> &args) {
  const ProgramResult r =
      RunProgram(std::string(WARRENFOLD_TOOLS_DIR) + tool, args, {},
                 dir.File("tool.err"), dir.File("tool.out"));
  return {r.status, ReadText(dir.File("tool.out")), r.err};
}

bool HaveTool(const std::string &tool) {
  return fs::exists(std::string(WARRENFOLD_TOOLS_DIR) + tool);
}

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
  if (!HaveTool("forge_maps"))
    GTEST_SKIP() << "forge_maps is not built";
  TempDir dir;
  fs::create_directories(dir.File("mazes"));
  WriteMaze(dir, "12", {"#?#"});
  WriteMaze(dir, "X1", Grid(3, std::string(130, ',')));
  const ToolRun run =
      RunTool(dir, "forge_maps", {dir.File("mazes"), dir.File("test.maps")});
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

TEST(MapfileTools, WfmapsShowsAndLists) {
  const std::string archive =
      std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.maps";
  if (!HaveTool("wfmaps") || !fs::exists(archive))
    GTEST_SKIP() << "wfmaps or the map archive is not built";
  TempDir dir;
  // The start tile above the house, the house with its doors and waiting
  // monsters.
  ToolRun run = RunTool(dir, "wfmaps", {"show", archive, "07"});
  EXPECT_EQ(run.status, 0);
  for (const char *row : {"#####@#####", "##=##", "# m #"})
    EXPECT_NE(run.out.find(row), std::string::npos) << run.out;
  run = RunTool(dir, "wfmaps", {"list", archive});
  EXPECT_NE(run.out.find("maps: 21"), std::string::npos);
  EXPECT_NE(run.out.find("frames 6"), std::string::npos);
  run = RunTool(dir, "wfmaps", {"show", archive, "99"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no readable map \"99\""), std::string::npos);
  // A name with a space and a quote is one argument, not shell words.
  const std::string odd = dir.File("it's a \"file\".maps");
  WriteText(odd, "not an archive");
  run = RunTool(dir, "wfmaps", {"list", odd});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot open " + odd), std::string::npos) << run.err;
}

} // namespace
