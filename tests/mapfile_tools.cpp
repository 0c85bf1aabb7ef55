// mapfile_tools.cpp — forge_maps refuses broken mazes and names them;
// wfmaps shows and lists an archive and fails clearly on a bad one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct ToolRun {
  int status = -1;
  std::string output;
};

ToolRun RunTool(const std::string &tool, const std::string &args) {
  // A name of this process's own: test programs run side by side.
  static int runs = 0;
  const fs::path log = fs::temp_directory_path() /
                       ("wf_mapfile_tools_" + std::to_string(getpid()) + "_" +
                        std::to_string(++runs) + ".log");
  const std::string command = std::string(WARRENFOLD_TOOLS_DIR) + tool + " " +
                              args + " >" + log.string() + " 2>&1";
  const int raw = std::system(command.c_str());
  ToolRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  std::ifstream in(log);
  std::stringstream text;
  text << in.rdbuf();
  run.output = text.str();
  fs::remove(log);
  return run;
}

bool HaveTool(const std::string &tool) {
  return fs::exists(std::string(WARRENFOLD_TOOLS_DIR) + tool);
}

// A copy of the maze sources with one change in one file.
fs::path BrokenCopy(const std::string &file, char from, char to) {
  const fs::path dir = fs::temp_directory_path() /
                       ("wf_broken_mazes_" + std::to_string(getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const auto &entry : fs::directory_iterator(
           std::string(WARRENFOLD_SOURCE_DIR) + "content/maps"))
    fs::copy(entry.path(), dir / entry.path().filename());
  std::ifstream in(dir / file);
  std::stringstream text;
  text << in.rdbuf();
  std::string source = text.str();
  const size_t grid = source.find("grid:");
  const size_t at = source.find(from, grid);
  if (grid != std::string::npos && at != std::string::npos)
    source[at] = to;
  std::ofstream(dir / file, std::ios::trunc) << source;
  return dir;
}

TEST(MapfileTools, ForgeRefusesABrokenMaze) {
  if (!HaveTool("forge_maps"))
    GTEST_SKIP() << "forge_maps is not built";
  const fs::path out = fs::temp_directory_path() /
                       ("wf_broken_" + std::to_string(getpid()) + ".maps");
  fs::remove(out);

  const fs::path missingDot = BrokenCopy("05.maze", '.', ',');
  ToolRun run = RunTool("forge_maps", missingDot.string() + " " + out.string());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("map 05: item count differs"), std::string::npos)
      << run.output;
  EXPECT_FALSE(fs::exists(out));

  const fs::path strange = BrokenCopy("12.maze", '#', '?');
  run = RunTool("forge_maps", strange.string() + " " + out.string());
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.output.find("map 12: unknown cell '?'"), std::string::npos)
      << run.output;
  EXPECT_FALSE(fs::exists(out));
  fs::remove_all(strange);
}

TEST(MapfileTools, WfmapsShowsAndLists) {
  const std::string archive =
      std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.maps";
  if (!HaveTool("wfmaps") || !fs::exists(archive))
    GTEST_SKIP() << "wfmaps or the map archive is not built";
  ToolRun run = RunTool("wfmaps", "show " + archive + " 07");
  EXPECT_EQ(run.status, 0);
  // The start tile above the house, the house with its doors and waiting
  // monsters.
  EXPECT_NE(run.output.find("#####@#####"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("##=##"), std::string::npos);
  EXPECT_NE(run.output.find("# m #"), std::string::npos);

  run = RunTool("wfmaps", "list " + archive);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.output.find("maps: 21"), std::string::npos);
  EXPECT_NE(run.output.find("frames 6"), std::string::npos);

  EXPECT_EQ(RunTool("wfmaps", "show " + archive + " 99").status, 1);
  EXPECT_EQ(RunTool("wfmaps", "list /nonexistent/Warrenfold.maps").status, 1);
  EXPECT_EQ(RunTool("wfmaps", "frobnicate").status, 2);
}

} // namespace
