// faults_saving_test.cpp — saving where it cannot be done, and saving cut
// short by a kill: the player's files are the old or the new version,
// never damaged, and nothing half-written is left beside them.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "progress/scores.h"
#include "settings/preferences.h"
#include "support/copied_game.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

// Everything in a folder but the files named.
std::vector<std::string> Others(const std::string &folder,
                                const std::vector<std::string> &known) {
  std::vector<std::string> out;
  std::error_code ec;
  for (const auto &e : fs::directory_iterator(folder, ec)) {
    const std::string name = e.path().filename().string();
    if (std::find(known.begin(), known.end(), name) == known.end())
      out.push_back(name);
  }
  return out;
}

std::string Text(const std::vector<uint8_t> &bytes) {
  return std::string(bytes.begin(), bytes.end());
}

class Saving : public CopiedGame {
protected:
  ProgramResult Run() { return RunReplay("30 quit\n", 120, " /LOG"); }
};

// Read-only preferences and scores beside the game make the game folder
// the place to save: they stay as they were, and nothing goes to the
// per-user folder instead. (The refused write keeps the mode and leaves no
// temporary file: the atomic write's own tests.)
TEST_F(Saving, ReadOnlyFilesBesideTheGameStayAsTheyWere) {
  const std::string prefs = "[Settings]\r\nMusic = 0\r\nGameScreen = 1\r\n";
  WriteText(gameDir + "Warrenfold.prefs", prefs);
  WriteText(gameDir + "Warrenfold.scores", "05\r\n");
  for (const char *name : {"Warrenfold.prefs", "Warrenfold.scores"})
    chmod((gameDir + name).c_str(), 0444);
  const ProgramResult r = Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadText(gameDir + "Warrenfold.prefs"), prefs);
  EXPECT_EQ(ReadText(gameDir + "Warrenfold.scores"), "05\r\n");
  EXPECT_FALSE(fs::exists(xdg));
}

TEST_F(Saving, NowhereToSaveStillEndsInOrderAndLeavesNothing) {
  // A file where the per-user folder would go: it cannot be made, and
  // nothing may land anywhere else instead.
  fs::create_directories(xdg);
  WriteText(xdg + "/Duskmoth", "in the way");
  const ProgramResult r = Run();
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(ReadText(xdg + "/Duskmoth"), "in the way");
  EXPECT_TRUE(Others(xdg, {"Duskmoth"}).empty());
  EXPECT_TRUE(Others(gameDir, {"warrenfold", "Warrenfold.data",
                               "Warrenfold.maps", "Warrenfold.languages"})
                  .empty());
}

// Two copies of the game on one folder. B starts first and changes
// nothing; A, started once B runs, turns the music off and starts slot 2
// afresh, then quits; B is stopped last (Ctrl+C) and saves too. A's
// changes stay.
TEST_F(Saving, ASecondCopyNeverUndoesTheFirstsChanges) {
  fs::create_directories(userDir);
  WriteText(userDir + "Warrenfold.prefs", "[Settings]\r\nLanguage = en_GB\r\n");
  WriteText(userDir + "Warrenfold.scores", "01\r\n05\r\n01\r\n01\r\n01\r\n");
  const std::string b = root.File("b.replay"), a = root.File("a.replay");
  WriteText(b, "5 down F1\n6 up F1\n"); // the sign that B runs
  WriteText(a, Press(10, "Esc") + Press(12, "Esc") + Press(20, "M") +
                   Press(40, "Return") + Press(50, "Down") +
                   Press(60, "Delete") + Press(70, "Esc") + Press(80, "Esc"));
  const std::string script =
      "timeout -s KILL 120 \"$0\" & b=$!\n"
      "for i in $(seq 1200); do ls \"$2\"*.bmp >/dev/null 2>&1 && break; "
      "sleep 0.05; done\n"
      "WARRENFOLD_REPLAY=\"$1\" timeout -s KILL 120 \"$0\"; a=$?\n"
      "kill -INT $b; wait $b; echo $a $?\n";
  const ProgramResult r = RunProgram(
      "/bin/bash", {"-c", script, gameDir + "warrenfold", a, userDir}, Env(b),
      root.File("stderr"), root.File("stdout"));
  EXPECT_EQ(ReadText(root.File("stdout")), "0 0\n") << r.err;
  EXPECT_NE(ReadText(userDir + "Warrenfold.prefs").find("Music = 0\r\n"),
            std::string::npos);
  EXPECT_EQ(ReadText(userDir + "Warrenfold.scores"),
            "01\r\n01\r\n01\r\n01\r\n01\r\n");
}

// A child process saves two versions of both files by turns, as fast as
// it can, and is killed at a random moment: each file is then one of the
// versions whole. What a kill leaves beside them must not pile up.
TEST(KilledWhileSaving, EachFileIsOneVersionWhole) {
  TempDir dir;
  const std::string folder = dir.Folder();
  Settings a, b;
  a.language = "en_GB";
  b.language = "de_DE";
  b.music = 0;
  b.gameScreen = ScreenMode::Window;
  b.resolution = 4;
  Settings synced; // what the file last held, for the saves' merge
  Progress pa, pb;
  pb.slots = {"07", "12", "01", "33", "02"};
  ASSERT_NE(PreferencesBytes(a), PreferencesBytes(b));
  ASSERT_TRUE(SavePreferences(a, synced, folder));
  ASSERT_TRUE(SaveScores(pa, folder));
  const std::string prefsA = Text(PreferencesBytes(a));
  const std::string prefsB = Text(PreferencesBytes(b));
  const std::string scoresA = Text(ScoresBytes(pa));
  const std::string scoresB = Text(ScoresBytes(pb));

  std::mt19937 random(20261207);
  std::uniform_int_distribution<int> pause(1000, 50000); // microseconds
  size_t mostLeft = 0;
  for (int round = 0; round < 30; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (unsigned n = 0;; ++n) {
        SavePreferences(n % 2 ? b : a, synced, folder);
        SaveScores(n % 2 ? pb : pa, folder);
      }
    }
    usleep(useconds_t(pause(random)));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status));

    const std::string prefs = ReadText(folder + kPreferencesFile);
    const std::string scores = ReadText(folder + kScoresFile);
    EXPECT_TRUE(prefs == prefsA || prefs == prefsB)
        << "round " << round << ": " << prefs.size() << " bytes";
    EXPECT_TRUE(scores == scoresA || scores == scoresB)
        << "round " << round << ": " << scores.size() << " bytes";
    mostLeft = std::max(mostLeft,
                        Others(folder, {kPreferencesFile, kScoresFile}).size());
  }
  // At most one unfinished file per saved file, whatever the number of
  // kills (the next save takes it over: the test below).
  EXPECT_LE(mostLeft, 2u);
}

// What a kill leaves is taken over by the next save; one that another
// copy of the game is writing right now, or that is another file's second
// name, is not touched.
TEST(KilledWhileSaving, ALeftoverIsTakenOverUnlessItIsInUse) {
  TempDir dir;
  const std::string folder = dir.Folder();
  Settings a, b, synced;
  b.music = 0;
  ASSERT_TRUE(SavePreferences(a, synced, folder));
  WriteText(folder + kPreferencesFile + std::string(".new"), "[Sett");
  ASSERT_TRUE(SavePreferences(b, synced, folder));
  EXPECT_EQ(ReadText(folder + kPreferencesFile), Text(PreferencesBytes(b)));
  EXPECT_TRUE(Others(folder, {kPreferencesFile}).empty());

  const std::string busy = folder + kPreferencesFile + std::string(".new");
  const int fd = open(busy.c_str(), O_WRONLY | O_CREAT, 0600);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(write(fd, "half", 4), 4);
  ASSERT_EQ(flock(fd, LOCK_EX), 0);
  EXPECT_FALSE(SavePreferences(a, synced, folder));
  EXPECT_EQ(ReadText(folder + kPreferencesFile), Text(PreferencesBytes(b)));
  EXPECT_EQ(ReadText(busy), "half");
  close(fd);

  WriteText(folder + "keep", "another file");
  ASSERT_EQ(link((folder + "keep").c_str(),
                 (folder + kScoresFile + std::string(".new")).c_str()),
            0);
  Progress none;
  EXPECT_FALSE(SaveScores(none, folder));
  EXPECT_EQ(ReadText(folder + "keep"), "another file");
}

} // namespace
