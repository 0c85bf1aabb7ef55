// progress_scores_test.cpp — the five level slots and their file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "progress/scores.h"
#include "support/obstacles.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"

namespace {

TEST(Scores, WritesFiveLinesWithCrLf) {
  TempDir dir;
  Progress p;
  p.slots[1] = "02";
  ASSERT_TRUE(SaveScores(p, dir.Folder()));
  EXPECT_EQ(ReadText(dir.File("Warrenfold.scores")),
            "01\r\n02\r\n01\r\n01\r\n01\r\n");
}

TEST(Scores, ReadsAnyLineEndAndShortFiles) {
  TempDir dir;
  Progress p;
  EXPECT_FALSE(LoadScores(p, dir.Folder())); // missing: slots untouched
  EXPECT_EQ(p.slots, Progress().slots);
  WriteText(dir.File("Warrenfold.scores"), std::string("03\n04\r05\r\n06\0"
                                                       "07",
                                                       15));
  ASSERT_TRUE(LoadScores(p, dir.Folder()));
  EXPECT_EQ(p.slots, (Slots{"03", "04", "05", "06", "07"}));
  WriteText(dir.File("Warrenfold.scores"), "\xEF\xBB\xBF"
                                           "09\r\n");
  ASSERT_TRUE(LoadScores(p, dir.Folder()));
  EXPECT_EQ(p.slots, (Slots{"09", "", "", "", ""}));
}

TEST(Scores, AFileThatCannotBeReadKeepsTheSlots) {
  Watchdog watchdog;
  for (const char *kind : {"folder", "fifo", "zero", "huge"}) {
    TempDir dir;
    const std::string path = dir.File("Warrenfold.scores");
    if (std::string(kind) == "huge")
      WriteText(path, "05\r\n" + std::string(1 << 20, '\n'));
    else
      ASSERT_TRUE(MakeObstacle(kind, path)) << kind;
    Progress p;
    p.slots[0] = "03";
    EXPECT_FALSE(LoadScores(p, dir.Folder())) << kind;
    EXPECT_EQ(p.slots, (Slots{"03", "01", "01", "01", "01"})) << kind;
  }
}

TEST(Scores, SavingKeepsAReadOnlyFileAndAPlayersLink) {
  TempDir dir;
  const std::string path = dir.File("Warrenfold.scores");
  WriteText(path, "07\r\n");
  chmod(path.c_str(), 0444); // counts for root too
  Progress p;
  EXPECT_FALSE(SaveScores(p, dir.Folder()));
  EXPECT_EQ(ReadText(path), "07\r\n");
  chmod(path.c_str(), 0644);
  std::filesystem::remove(path);

  std::filesystem::create_directory(dir.File("backup"));
  WriteText(dir.File("backup/scores"), "07\r\n");
  std::filesystem::create_symlink("backup/scores", path);
  p.slots[2] = "04";
  ASSERT_TRUE(SaveScores(p, dir.Folder()));
  EXPECT_TRUE(std::filesystem::is_symlink(path));
  // Only the slot this copy changed; the file's own for the rest.
  EXPECT_EQ(ReadText(dir.File("backup/scores")), "07\r\n\r\n04\r\n\r\n\r\n");
}

// Two copies of the game on one folder: a save applies only the slots
// that copy changed since it read or last wrote the file.
TEST(Scores, ASaveKeepsAnotherCopysChanges) {
  TempDir dir;
  const std::string path = dir.File("Warrenfold.scores");
  WriteText(path, "03\r\n05\r\n07\r\n01\r\n01\r\n");
  Progress a, b;
  ASSERT_TRUE(LoadScores(a, dir.Folder()));
  ASSERT_TRUE(LoadScores(b, dir.Folder()));
  a.slots[1] = "01";
  ASSERT_TRUE(SaveScores(a, dir.Folder()));
  b.slots[3] = "04";
  ASSERT_TRUE(SaveScores(b, dir.Folder()));
  const std::string both = "03\r\n01\r\n07\r\n04\r\n01\r\n";
  EXPECT_EQ(ReadText(path), both);
  ASSERT_TRUE(SaveScores(a, dir.Folder())); // unchanged since: no undoing
  EXPECT_EQ(ReadText(path), both);
  a.slots[3] = "09"; // the same slot changed again: the later save wins
  ASSERT_TRUE(SaveScores(a, dir.Folder()));
  EXPECT_EQ(ReadText(path), "03\r\n01\r\n07\r\n09\r\n01\r\n");
}

} // namespace
