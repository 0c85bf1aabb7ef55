// harmony_test.cpp — bass lines made from chord lines.
#include "harmony.h"

#include <gtest/gtest.h>

using namespace audio;

TEST(Harmony, BassFollowsRootsSlashesAndApproaches) {
  const Key c_major{0, false};
  std::vector<int> bass;
  for (const Note &n : BassLine(ParseChords("C | Am/E | F | G |"),
                                "1:8 5:4 a:4", 0, 64, c_major, 36))
    bass.push_back(n.midi);
  // Root, fifth, a scale step into the next bass: the slash bass E2, A
  // minor's fifth just above it, ...; the last wraps round to C2.
  EXPECT_EQ(bass,
            (std::vector{36, 43, 38, 40, 40, 40, 41, 48, 41, 43, 50, 38}));
  std::vector<Note> rest =
      BassLine(ParseChords("C | F |"), "1:4 r:8 c:4", 0, 16, c_major, 36);
  ASSERT_EQ(rest.size(), 2u);
  EXPECT_TRUE(rest[1].step == 12 && rest[1].midi == 40); // a semitone under F2
}
