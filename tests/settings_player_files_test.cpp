// settings_player_files_test.cpp — the game binary with something other
// than a file where the preferences, the scores or a language file should
// be, beside the game and in the per-user folder; and a player's links,
// kept through an orderly exit.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/copied_game.h"
#include "support/run_program.h"
#include "support/obstacles.h"

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

TEST_F(PlayerFiles, NothingUsableInEitherFolder) {
  RunAmong({{gameDir + "Warrenfold.prefs", "zero"},
            {userDir + "Warrenfold.prefs", "folder"},
            {userDir + "Warrenfold.scores", "zero"}});
}

TEST_F(PlayerFiles, LinksAreKeptAndTheirTargetsWritten) {
  fs::create_directory(root.File("synced"));
  WriteText(root.File("synced/prefs"),
            "[Settings]\r\nMusic = 0\r\nResolution = 42\r\n");
  WriteText(root.File("synced/scores"), "05\r\n");
  fs::create_symlink("../synced/prefs", gameDir + "Warrenfold.prefs");
  fs::create_symlink("../synced/scores", gameDir + "Warrenfold.scores");
  const ProgramResult r = Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_symlink(gameDir + "Warrenfold.prefs"));
  EXPECT_TRUE(fs::is_symlink(gameDir + "Warrenfold.scores"));
  const std::string prefs = ReadText(root.File("synced/prefs"));
  EXPECT_NE(prefs.find("Music = 0\r\n"), std::string::npos) << prefs;
  // A window size outside the list comes back as written.
  EXPECT_NE(prefs.find("Resolution = 42\r\n"), std::string::npos) << prefs;
  EXPECT_EQ(ReadText(root.File("synced/scores")), "05\r\n\r\n\r\n\r\n\r\n");
  // The temporary files went beside the targets, and are gone.
  EXPECT_EQ(std::distance(fs::directory_iterator(root.File("synced")),
                          fs::directory_iterator()),
            2);
  EXPECT_FALSE(fs::exists(userDir + "Warrenfold.prefs"));
}

} // namespace
