// progress_scores_test.cpp — the five level slots and their file.
#include <gtest/gtest.h>

#include "progress/scores.h"
#include "support/temp_dir.h"

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
