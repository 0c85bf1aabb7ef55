// notation_test.cpp — the score notation: note lines and drum grids.
#include "notation.h"

#include <gtest/gtest.h>

using namespace audio;

TEST(Notation, NoteLinesAndGridsKeepTime) {
  // Lengths carry over, rests and ties take time; "!" accents, "?" ghosts;
  // accidentals may cross the octave.
  std::vector<Note> n =
      ParseNotes("C4:4! Bb3 r:2 F#5:2? ~:4 | Cb4:8 B#3 | C-1:16 |", 32);
  ASSERT_EQ(n.size(), 6u);
  const int step[] = {32, 36, 42, 48, 56, 64}, length[] = {4, 4, 6, 8, 8, 16},
            midi[] = {60, 58, 78, 59, 60, 0};
  for (size_t i = 0; i < n.size(); ++i)
    EXPECT_TRUE(n[i].step == step[i] && n[i].length == length[i] &&
                n[i].midi == midi[i])
        << i;
  EXPECT_GT(n[0].velocity, n[1].velocity);
  EXPECT_GT(n[1].velocity, n[2].velocity);
  // Blanks and bars in a drum grid take no time.
  std::vector<DrumHit> h = ParseGrid("x.o- |x...", Drum::Snare, 16);
  ASSERT_EQ(h.size(), 4u);
  EXPECT_TRUE(h[1].step == 18 && h[3].step == 20 && h[3].drum == Drum::Snare);
  EXPECT_GT(h[0].velocity, h[1].velocity);
  EXPECT_GT(h[1].velocity, h[2].velocity);
  // A miscounted bar is an error rather than a shifted tune.
  EXPECT_THROW(ParseNotes("C5:4 D5:4 E5:4 |"), ParseError);
  EXPECT_THROW(ParseNotes("C5:4 D5:4 E5:4 F5:6 |"), ParseError);
}
