// progress_scores_test.cpp — the five level slots and their file.
#include <gtest/gtest.h>

#include "progress/scores.h"
#include "support/obstacles.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"

namespace {

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

TEST(Scores, ASlotNamesItsLevelElseTheFirst) {
  const std::pair<const char *, int> cases[] = {
      {"01", 0}, {"07", 6}, {"20", 19}, {"0020", 19}, {"00", 0}, {"21", 0},
      {"", 0},   {"7x", 0}, {"-3", 0},  {"00007", 0}, {"1 ", 0}};
  for (const auto &[slot, index] : cases)
    EXPECT_EQ(SlotLevelIndex(slot, 20), index) << slot;
}

// Five lines with CR LF. Two copies of the game on one folder: a save
// applies only the slots that copy changed since it read or last wrote the
// file.
TEST(Scores, FiveLinesAndASaveKeepsAnotherCopysChanges) {
  TempDir dir;
  const std::string path = dir.File("Warrenfold.scores");
  Progress fresh;
  fresh.slots[1] = "02";
  ASSERT_TRUE(SaveScores(fresh, dir.Folder()));
  EXPECT_EQ(ReadText(path), "01\r\n02\r\n01\r\n01\r\n01\r\n");
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
