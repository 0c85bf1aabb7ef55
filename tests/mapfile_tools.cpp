// mapfile_tools.cpp — forge_maps refuses a maze that breaks any content
// rule and names the rule; wfmaps shows and lists an archive and fails
// clearly on a bad one.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "maps/mapfile_levels.h"
#include "maps/maze.h"
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

// A level maze that keeps every rule: an open field inside a border wall,
// the house of the level's type in the middle, the pickup total in dots
// from the bottom row up, and an animated decoration in the border.
Grid OpenLevel(const LevelTableRow &rule) {
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

// The first dot placed, in the bottom right corner, becomes plain floor.
void DropDot(Grid &g) { g[kPlayBottom][kPlayRight] = ','; }

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
    for (const LevelTableRow &rule : LevelTable())
      WriteMaze(dir, rule.id, OpenLevel(rule));
    WriteMaze(dir, "M0", OpenMenu());
  }
  ToolRun Forge() {
    return RunTool(dir, "forge_maps", {dir.File("mazes"), out});
  }
};

struct BrokenMaze {
  const char *id;
  const char *problem; // what forge_maps names
  void (*breakIt)(Grid &);
};

// Every rule a maze source can break, each broken on its own. (Floors,
// layers, door values and item values are the forge's own doing and
// cannot be broken from a source; the rules test covers them.)
const BrokenMaze kBroken[] = {
    {"01", "wrong size", [](Grid &g) { g.pop_back(); }},
    {"01", "start tile is not free", [](Grid &g) { g[10][10] = '#'; }},
    {"01", "item on the start tile",
     [](Grid &g) {
       g[10][10] = '.';
       DropDot(g);
     }},
    {"01", "door does not hold its closed value",
     [](Grid &g) { g[10][21] = '#'; }},
    {"01", "monster waiting tile is not free",
     [](Grid &g) { g[11][21] = '#'; }},
    {"01", "item inside the monster house",
     [](Grid &g) {
       g[11][21] = '.';
       DropDot(g);
     }},
    {"01", "the player can walk into the monster house",
     [](Grid &g) { g[11][19] = ','; }},
    {"01", "item out of the player's reach",
     [](Grid &g) {
       g[1][0] = '.'; // walled in beside the border
       DropDot(g);
     }},
    {"01", "item count differs from the level's pickup total", DropDot},
    {"01", "walkable cell outside the visible area",
     [](Grid &g) { g[5][1] = ','; }},
    {"01", "dead end", [](Grid &g) { g[2][3] = '#'; }},
    {"01", "decoration on a walkable cell", [](Grid &g) { g[5][5] = 'c'; }},
    {"01", "monsters meet a dead end (they never turn back)",
     [](Grid &g) { g[3][2] = g[3][3] = '#'; }},
    {"01", "monsters reach a cell the player cannot",
     [](Grid &g) {
       // A wall from top to bottom: the start on one side, the house on
       // the other.
       for (int y = kPlayTop; y <= kPlayBottom; ++y)
         g[y][15] = '#';
     }},
    {"01", "monsters can never come to a cell the player reaches",
     [](Grid &g) {
       for (int y = kPlayTop; y <= kPlayBottom; ++y)
         g[y][15] = '#';
     }},
    {"01", "a monster leaving the house never reaches the corridors",
     [](Grid &g) { g[9][21] = '#'; }},
    {"02", "a monster leaving the house never reaches the corridors",
     [](Grid &g) { g[12][24] = '#'; }},
    {"12", "unknown cell '?'", [](Grid &g) { g[3][3] = '?'; }},
    {"M0", "wrong size", [](Grid &g) { g.pop_back(); }},
    {"M0", "the title monsters' first step up is blocked",
     [](Grid &g) { g[0][1] = '#'; }},
    {"M0", "the title monsters' first step right is blocked",
     [](Grid &g) { g[1][2] = '#'; }},
    {"M0", "monsters meet a dead end (they never turn back)",
     [](Grid &g) {
       // Up, then left into the corner, then nowhere.
       for (int x = 0; x < kMenuWidth; ++x)
         if (x > 2)
           g[1][x] = '#';
       g[1][0] = g[0][2] = '#';
     }},
    {"M0", "item on the menu maze", [](Grid &g) { g[5][5] = '.'; }},
};

TEST_F(MapForge, RefusesEachBrokenRuleByName) {
  for (const BrokenMaze &c : kBroken) {
    const LevelTableRow *rule = FindLevel(c.id);
    Grid g = rule ? OpenLevel(*rule) : OpenMenu();
    c.breakIt(g);
    WriteMaze(dir, c.id, g);
    fs::remove(out);
    const ToolRun run = Forge();
    EXPECT_EQ(run.status, 1) << c.problem;
    EXPECT_NE(
        run.err.find(std::string("forge_maps: map ") + c.id + ": " + c.problem),
        std::string::npos)
        << c.problem << "\n"
        << run.err;
    EXPECT_NE(run.err.find("not written"), std::string::npos) << c.problem;
    EXPECT_FALSE(fs::exists(out)) << c.problem;
    WriteMaze(dir, c.id, rule ? OpenLevel(*rule) : OpenMenu());
  }
}

TEST_F(MapForge, TooLargeForTheFormatIsRefused) {
  // A map no rule knows, a column wider than the format holds: written, it
  // would have come out cut down with its cells moved.
  Grid wide(3, std::string(130, ','));
  wide[0][0] = 'A';
  WriteMaze(dir, "X1", wide);
  const ToolRun run = Forge();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("forge_maps: map X1: 130 x 3 cells, more than a map "
                         "can hold (129 x 129)"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(out));
}

TEST_F(MapForge, AMazeWithoutAnimationIsTheOnlyProblem) {
  // The tile rules run once every maze is sound; this also shows that the
  // mazes made here keep every other rule.
  Grid g = OpenLevel(*FindLevel("01"));
  g[0][0] = '#';
  WriteMaze(dir, "01", g);
  const ToolRun run = Forge();
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("forge_maps: map 01: no animated decoration\n"
                         "forge_maps: 1 problem(s)"),
            std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(out));
}

TEST(MapfileTools, WfmapsShowsAndLists) {
  const std::string archive =
      std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.maps";
  if (!HaveTool("wfmaps") || !fs::exists(archive))
    GTEST_SKIP() << "wfmaps or the map archive is not built";
  TempDir dir;
  ToolRun run = RunTool(dir, "wfmaps", {"show", archive, "07"});
  EXPECT_EQ(run.status, 0);
  // The start tile above the house, the house with its doors and waiting
  // monsters.
  EXPECT_NE(run.out.find("#####@#####"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("##=##"), std::string::npos);
  EXPECT_NE(run.out.find("# m #"), std::string::npos);

  run = RunTool(dir, "wfmaps", {"list", archive});
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.out.find("maps: 21"), std::string::npos);
  EXPECT_NE(run.out.find("frames 6"), std::string::npos);

  run = RunTool(dir, "wfmaps", {"show", archive, "99"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("no readable map \"99\""), std::string::npos);
  EXPECT_EQ(
      RunTool(dir, "wfmaps", {"list", "/nonexistent/Warrenfold.maps"}).status,
      1);
  EXPECT_EQ(RunTool(dir, "wfmaps", {"frobnicate"}).status, 2);
  // A name with a space and a quote is one argument, not shell words.
  const std::string odd = dir.File("it's a \"file\".maps");
  WriteText(odd, "not an archive");
  run = RunTool(dir, "wfmaps", {"list", odd});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("cannot open " + odd), std::string::npos) << run.err;
}

} // namespace
