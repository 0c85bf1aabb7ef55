// progress_scores_test.cpp — the five level slots and their file.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "progress/scores.h"
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

TEST(Scores, ReadsAnyLineEnd) {
  TempDir dir;
  Progress p;
  WriteText(dir.File("Warrenfold.scores"), std::string("03\n04\r05\r\n06\0"
                                                       "07",
                                                       15));
  ASSERT_TRUE(LoadScores(p, dir.Folder()));
  EXPECT_EQ(p.slots[0], "03");
  EXPECT_EQ(p.slots[1], "04");
  EXPECT_EQ(p.slots[2], "05");
  EXPECT_EQ(p.slots[3], "06");
  EXPECT_EQ(p.slots[4], "07");
}

TEST(Scores, ShortFileAndMissingFile) {
  TempDir dir;
  Progress p;
  EXPECT_FALSE(LoadScores(p, dir.Folder()));
  EXPECT_EQ(p.slots[4], "01");
  WriteText(dir.File("Warrenfold.scores"), "\xEF\xBB\xBF"
                                           "09\r\n");
  ASSERT_TRUE(LoadScores(p, dir.Folder()));
  EXPECT_EQ(p.slots[0], "09");
  EXPECT_EQ(p.slots[1], "");
}

TEST(Scores, AFileThatCannotBeReadKeepsTheSlots) {
  Watchdog watchdog;
  for (const char *kind : {"folder", "fifo", "zero", "huge"}) {
    TempDir dir;
    const std::string path = dir.File("Warrenfold.scores");
    const std::string k = kind;
    if (k == "folder")
      std::filesystem::create_directory(path);
    else if (k == "fifo")
      ASSERT_EQ(mkfifo(path.c_str(), 0644), 0);
    else if (k == "zero")
      std::filesystem::create_symlink("/dev/zero", path);
    else
      WriteText(path, "05\r\n" + std::string(1 << 20, '\n'));
    Progress p;
    p.slots[0] = "03";
    EXPECT_FALSE(LoadScores(p, dir.Folder())) << kind;
    EXPECT_EQ(p.slots[0], "03") << kind;
    EXPECT_EQ(p.slots[4], "01") << kind;
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
  EXPECT_EQ(ReadText(dir.File("backup/scores")),
            "01\r\n01\r\n04\r\n01\r\n01\r\n");
  Progress back;
  ASSERT_TRUE(LoadScores(back, dir.Folder()));
  EXPECT_EQ(back.slots, p.slots);
}

TEST(Scores, SlotsThatNameNoLevelStartTheFirst) {
  EXPECT_EQ(SlotLevelIndex("07", 20), 6);
  EXPECT_EQ(SlotLevelIndex("20", 20), 19);
  EXPECT_EQ(SlotLevelIndex("21", 20), 0);
  EXPECT_EQ(SlotLevelIndex("00", 20), 0);
  EXPECT_EQ(SlotLevelIndex("", 20), 0);
  EXPECT_EQ(SlotLevelIndex("x1", 20), 0);
  EXPECT_EQ(SlotLevelIndex("99999999999", 20), 0);
}

} // namespace
