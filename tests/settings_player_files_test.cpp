// settings_player_files_test.cpp — the game binary with something other
// than a file where the preferences, the scores or a language file should
// be, beside the game and in the per-user folder. (Each reader's refusal is
// its own unit test's; links through a save are the atomic write's.)
#include <gtest/gtest.h>

#include <filesystem>

#include "support/copied_game.h"
#include "support/obstacles.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

class PlayerFiles : public CopiedGame {
protected:
  void SetUp() override {
    CopiedGame::SetUp();
    fs::create_directories(userDir);
  }

  // Starts the game and quits at once. A hang is cut short and a runaway
  // read runs out of memory early, both as a failed run; the address
  // sanitizer's reserved memory does not fit a memory limit.
  ProgramResult Run() {
    // The sanitizers' build starts up many times slower.
    return RunReplay("0 quit\n", kAddressSanitizer ? 240 : 60, "",
                     kAddressSanitizer ? "" : "ulimit -v 4000000; ");
  }

  // Puts each obstacle (path, kind) in place and runs the game: it ends in
  // order and leaves every obstacle as it was.
  void
  RunAmong(const std::vector<std::pair<std::string, const char *>> &obstacles) {
    for (const auto &[path, kind] : obstacles)
      ASSERT_TRUE(MakeObstacle(kind, path)) << path;
    const ProgramResult r = Run();
    EXPECT_EQ(r.status, 0) << r.err;
    for (const auto &[path, kind] : obstacles)
      EXPECT_TRUE(StillObstacle(kind, path)) << path;
  }
};

TEST_F(PlayerFiles, AFolderCountsAsNoFileAndTheOtherFileIsSaved) {
  RunAmong({{gameDir + "Warrenfold.prefs", "folder"},
            {userDir + "Warrenfold.scores", "folder"}});
  // The per-user folder is used instead; no temporary file is left.
  EXPECT_TRUE(fs::is_regular_file(userDir + "Warrenfold.prefs"));
  for (const auto &e : fs::directory_iterator(userDir))
    EXPECT_TRUE(e.path().filename() == "Warrenfold.prefs" ||
                e.path().filename() == "Warrenfold.scores")
        << e.path();
}

// The language files come from a folder here, some of them obstacles.
TEST_F(PlayerFiles, AFifoOrAnEndlessDeviceIsNeverWaitedOnOrRead) {
  const std::string langs = gameDir + "Warrenfold.languages";
  fs::remove(langs);
  fs::create_directory(langs);
  for (const auto &e : fs::directory_iterator(
           std::string(WARRENFOLD_SOURCE_DIR) + "content/languages"))
    if (e.path().extension() == ".language")
      fs::copy_file(e.path(), langs / e.path().filename());
  std::vector<std::pair<std::string, const char *>> obstacles = {
      {gameDir + "Warrenfold.prefs", "fifo"},
      {userDir + "Warrenfold.prefs", "zero"},
      {userDir + "Warrenfold.scores", "fifo"}};
  for (auto [name, kind] :
       {std::pair{"en_GB", "folder"}, {"de_DE", "fifo"}, {"fr_FR", "zero"}}) {
    fs::remove(langs + "/" + name + ".language");
    obstacles.emplace_back(langs + "/" + name + ".language", kind);
  }
  RunAmong(obstacles);
}

} // namespace
