// notation_test.cpp — the score notation: pitches, note lines, chords, grids.
#include "notation.h"

#include <gtest/gtest.h>

namespace audio {
namespace {

TEST(Notation, PitchNamesFollowScientificOctaves) {
  EXPECT_EQ(ParsePitch("C4"), 60);
  EXPECT_EQ(ParsePitch("A4"), 69);
  EXPECT_EQ(ParsePitch("Bb3"), 58);
  EXPECT_EQ(ParsePitch("F#5"), 78);
  EXPECT_EQ(ParsePitch("Cb4"), 59); // accidentals cross the octave
  EXPECT_EQ(ParsePitch("B#3"), 60);
  EXPECT_EQ(ParsePitch("C-1"), 0);
  for (const char *bad : {"H4", "c4", "C", "C#", "Cx4", ""})
    EXPECT_THROW(ParsePitch(bad), ParseError) << bad;
}

TEST(Notation, LengthsCarryOverAndRestsTiesAdvance) {
  std::vector<Note> n = ParseNotes("C5:4 D5 r:2 E5:2 ~:4 | G5:16 |", 32);
  ASSERT_EQ(n.size(), 4u);
  EXPECT_EQ(n[0].step, 32);
  EXPECT_EQ(n[0].length, 4);
  EXPECT_EQ(n[1].step, 36); // length 4 repeated
  EXPECT_EQ(n[1].length, 4);
  EXPECT_EQ(n[2].step, 42);  // after the rest
  EXPECT_EQ(n[2].length, 6); // tied on
  EXPECT_EQ(n[3].step, 48);
  EXPECT_EQ(LineLength(n), 64);
}

TEST(Notation, AccentsAndGhostsSetVelocity) {
  std::vector<Note> n = ParseNotes("C5:2! C5:2 C5:2?");
  ASSERT_EQ(n.size(), 3u);
  EXPECT_GT(n[0].velocity, n[1].velocity);
  EXPECT_GT(n[1].velocity, n[2].velocity);
}

TEST(Notation, MiscountedBarIsAnError) {
  EXPECT_THROW(ParseNotes("C5:4 D5:4 E5:4 |"), ParseError);
  EXPECT_THROW(ParseNotes("C5:4 D5:4 E5:4 F5:6 |"), ParseError);
  EXPECT_NO_THROW(ParseNotes("C5:4 D5:4 E5:4 F5:4 |"));
  EXPECT_THROW(ParseNotes("~:4"), ParseError);
  EXPECT_THROW(ParseNotes("C5:0"), ParseError);
  EXPECT_THROW(ParseNotes("C5:x"), ParseError);
}

TEST(Notation, ChordsNameRootQualityAndBass) {
  std::vector<Chord> c = ParseChords("Am:8 C/E:8 | Bbmaj7:16 | F#7sus4 |");
  ASSERT_EQ(c.size(), 4u);
  EXPECT_EQ(c[0].root, 9);
  EXPECT_EQ(c[0].intervals, (std::vector<int>{0, 3, 7}));
  EXPECT_EQ(c[1].root, 0);
  EXPECT_EQ(c[1].bass, 4);
  EXPECT_EQ(c[1].step, 8);
  EXPECT_EQ(c[2].root, 10);
  EXPECT_EQ(c[2].length, 16);
  EXPECT_EQ(c[2].intervals, (std::vector<int>{0, 4, 7, 11}));
  EXPECT_EQ(c[3].root, 6);
  EXPECT_EQ(c[3].intervals, (std::vector<int>{0, 5, 7, 10}));
  EXPECT_THROW(ParseChords("Cmaj9"), ParseError);
  EXPECT_THROW(ParseChords("C/Q"), ParseError);
  EXPECT_THROW(ParseChords("C:8 |"), ParseError);
}

TEST(Notation, DrumGridsMarkHitsAndStrength) {
  std::vector<DrumHit> h = ParseGrid("x.o- |x...", Drum::Snare, 16);
  ASSERT_EQ(h.size(), 4u);
  EXPECT_EQ(h[0].step, 16);
  EXPECT_EQ(h[1].step, 18);
  EXPECT_EQ(h[2].step, 19);
  EXPECT_EQ(h[3].step, 20); // blanks and bars take no time
  EXPECT_GT(h[0].velocity, h[1].velocity);
  EXPECT_GT(h[1].velocity, h[2].velocity);
  EXPECT_EQ(h[3].drum, Drum::Snare);
  EXPECT_THROW(ParseGrid("x.X.", Drum::Kick, 0), ParseError);
}

} // namespace
} // namespace audio
