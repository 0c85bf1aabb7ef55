// mapfile_tools.cpp — forge_maps refuses a broken maze and names the rule;
// wfmaps shows and lists an archive and fails clearly on a bad one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "maps/mapfile_rules.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace mapfile;
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

// A level maze that keeps every rule: an open field inside a border wall,
// the house of the level's type in the middle, the pickup total in dots
// from the bottom row up, and an animated decoration in the border.
Grid OpenLevel(const LevelRule &rule) {
  Grid g(kLevelHeight, std::string(kLevelWidth, '#'));
  for (int y = kPlayTop; y <= kPlayBottom; ++y)
    for (int x = kPlayLeft; x <= kPlayRight; ++x)
      g[y][x] = ',';
  for (int y = 10; y <= 14; ++y)
    for (int x = 19; x <= 23; ++x)
      g[y][x] = x == 19 || x == 23 || y == 10 || y == 14 ? '#' : 'h';
  for (const HouseDoor &door : HouseOf(rule.houseType).doors)
    g[door.y][door.x] = '=';
  g[rule.startY][rule.startX] = '@';
  g[0][0] = 'A';
  int dots = 0;
  for (int y = kPlayBottom; y >= kPlayTop; --y)
    for (int x = kPlayRight; x >= kPlayLeft; --x)
      if (g[y][x] == ',' && dots < rule.pickupTotal) {
        g[y][x] = '.';
        ++dots;
      }
  return g;
}

// The menu maze: open, with an animated decoration in a corner.
Grid OpenMenu() {
  Grid g(kMenuHeight, std::string(kMenuWidth, ','));
  g[kMenuStartY][kMenuStartX] = '@';
  g[kMenuHeight - 1][kMenuWidth - 1] = 'A';
  return g;
}

void WriteMaze(const TempDir &dir, const std::string &id, const Grid &g) {
  std::string text = "; made by the map tool test\nid: " + id +
                     "\nname: Test " + id + "\ntheme: meadow\ngrid:\n";
  for (const std::string &row : g)
    text += row + "\n";
  WriteText(dir.File("mazes/" + id + ".maze"), text);
}

class MapForge : public ::testing::Test {
protected:
  TempDir dir;
  std::string out;

  void SetUp() override {
    if (!HaveTool("forge_maps"))
      GTEST_SKIP() << "forge_maps is not built";
    fs::create_directories(dir.File("mazes"));
    out = dir.File("test.maps");
    for (const LevelRule &rule : LevelRules())
      WriteMaze(dir, rule.id, OpenLevel(rule));
    WriteMaze(dir, "M0", OpenMenu());
  }
  ToolRun Forge() {
    return RunTool(dir, "forge_maps", {dir.File("mazes"), out});
  }
};

// Mazes broken in each way the forge checks before writing, every problem
// named (the rules themselves are the rules test's).
TEST_F(MapForge, RefusesBrokenMazesByName) {
  Grid level = OpenLevel(*FindLevelRule("01")), menu = OpenMenu();
  level[2][3] = '#';
  menu[0][1] = '#';
  WriteMaze(dir, "01", level);
  WriteMaze(dir, "M0", menu);
  Grid unknown = OpenLevel(*FindLevelRule("12"));
  unknown[3][3] = '?';
  WriteMaze(dir, "12", unknown);
  // A map no rule knows, wider than the format holds: written, it would
  // have come out cut down with its cells moved.
  Grid wide(3, std::string(130, ','));
  wide[0][0] = 'A';
  WriteMaze(dir, "X1", wide);
  const ToolRun run = Forge();
  EXPECT_EQ(run.status, 1);
  for (const char *problem :
       {"map 01: dead end", "map 12: unknown cell '?'",
        "map M0: the title monsters' first step up is blocked",
        "map X1: 130 x 3 cells, more than a map can hold (129 x 129)"})
    EXPECT_NE(run.err.find(std::string("forge_maps: ") + problem),
              std::string::npos)
        << problem << "\n"
        << run.err;
  EXPECT_NE(run.err.find("not written"), std::string::npos);
  EXPECT_FALSE(fs::exists(out));
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
