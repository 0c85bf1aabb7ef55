// harmony_test.cpp — accompaniment made from chord lines: voice-leading,
// bass lines, arpeggios and the harmony voice.
#include "harmony.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>

namespace audio {
namespace {

std::set<int> PitchClassesOf(const Chord &c) {
  std::set<int> pcs;
  for (int i : c.intervals)
    pcs.insert((c.root + i) % 12);
  return pcs;
}

TEST(Harmony, PadVoicingsHoldTheChordAndMoveSmoothly) {
  std::vector<Chord> chords =
      ParseChords("C | Am | F | G7 | Em | Dm7 | G | C |");
  std::vector<Note> pad = PadVoicing(chords, 53, 74, 0.8);
  std::map<double, std::vector<int>> by_step;
  for (const Note &n : pad) {
    EXPECT_GE(n.midi, 53);
    EXPECT_LE(n.midi, 74);
    by_step[n.step].push_back(n.midi);
  }
  ASSERT_EQ(by_step.size(), chords.size());
  std::vector<int> prev;
  size_t k = 0;
  for (auto &[step, voicing] : by_step) {
    std::sort(voicing.begin(), voicing.end());
    std::set<int> pcs;
    for (int m : voicing)
      pcs.insert(m % 12);
    EXPECT_EQ(pcs, PitchClassesOf(chords[k])) << "chord " << k;
    if (prev.size() == voicing.size()) {
      // Good voice-leading: no voice leaps, the whole chord moves a little.
      int total = 0;
      for (size_t v = 0; v < voicing.size(); ++v) {
        EXPECT_LE(std::abs(voicing[v] - prev[v]), 5) << "chord " << k;
        total += std::abs(voicing[v] - prev[v]);
      }
      EXPECT_LE(total, 7) << "chord " << k;
    }
    prev = voicing;
    ++k;
  }
}

TEST(Harmony, BassFollowsRootsSlashesAndApproaches) {
  const Key c_major{0, false};
  std::vector<Chord> chords = ParseChords("C | Am/E | F | G |");
  std::vector<Note> bass = BassLine(chords, "1:8 5:4 a:4", 0, 64, c_major, 36);
  ASSERT_EQ(bass.size(), 12u);
  EXPECT_EQ(bass[0].midi, 36); // C2
  EXPECT_EQ(bass[1].midi, 43); // G2, the fifth
  EXPECT_EQ(bass[2].midi, 38); // D2: a scale step below E2, the next bass
  EXPECT_EQ(bass[3].midi, 40); // the slash bass E2
  EXPECT_EQ(bass[4].midi, 40); // A minor's fifth, E, just above the bass
  EXPECT_EQ(bass[5].midi, 40); // a scale step below F2
  EXPECT_EQ(bass[6].midi, 41);
  EXPECT_EQ(bass[9].midi, 43);
  // The last approach wraps round the loop to the first chord's C2.
  EXPECT_EQ(bass[11].midi, 38);
  for (const Note &n : bass)
    EXPECT_TRUE(InKey(c_major, n.midi));
}

TEST(Harmony, ChromaticApproachAndRests) {
  const Key c_major{0, false};
  std::vector<Chord> chords = ParseChords("C | F |");
  std::vector<Note> bass = BassLine(chords, "1:4 r:8 c:4", 0, 16, c_major, 36);
  ASSERT_EQ(bass.size(), 2u);
  EXPECT_EQ(bass[1].step, 12);
  EXPECT_EQ(bass[1].midi, 40); // E2, a semitone under F2
}

TEST(Harmony, ArpeggioPlaysChordTonesAndRestartsEachBar) {
  std::vector<Chord> chords = ParseChords("C | Am |");
  std::vector<Note> arp =
      Arpeggio(chords, 0, 32, "0 1 2 -1 3", 2, 60, 0.5, 1.0);
  // Eight slots a bar, every fifth is a rest: 7 notes a bar.
  ASSERT_EQ(arp.size(), 14u);
  EXPECT_EQ(arp[0].midi, 60);
  EXPECT_EQ(arp[1].midi, 64);
  EXPECT_EQ(arp[2].midi, 67);
  EXPECT_EQ(arp[3].midi, 72);
  EXPECT_EQ(arp[3].step, 8);
  EXPECT_EQ(arp[7].step, 16); // the pattern starts again with the bar
  EXPECT_EQ(arp[7].midi, 60);
  EXPECT_EQ(arp[8].midi, 64);
  EXPECT_EQ(arp[0].length, 1);
  for (size_t i = 7; i < arp.size(); ++i)
    EXPECT_TRUE(PitchClassesOf(chords[1]).count(arp[i].midi % 12));
}

TEST(Harmony, HarmonyVoiceSitsAThirdToASixthBelow) {
  const Key a_minor{9, true};
  std::vector<Chord> chords = ParseChords("F | G | E7 |");
  std::vector<Note> tune =
      ParseNotes("C6:4 A5:4 F5:4 G5:4 | B5:4 G5:4 D5:4 E5:4 | "
                 "B5:4 A5:4 G#5:4 E5:4 |");
  std::vector<Note> below = HarmonyBelow(tune, chords, a_minor);
  ASSERT_EQ(below.size(), tune.size());
  for (size_t i = 0; i < tune.size(); ++i) {
    int gap = tune[i].midi - below[i].midi;
    EXPECT_GE(gap, 3) << i;
    EXPECT_LE(gap, 9) << i;
    EXPECT_EQ(below[i].step, tune[i].step);
  }
  EXPECT_EQ(below[0].midi, ParsePitch("A5")); // chord tones first
  EXPECT_EQ(below[3].midi, ParsePitch("C5")); // under a passing G: C, not E
}

TEST(Harmony, KeysAndChordLookup) {
  EXPECT_TRUE(InKey({5, false}, ParsePitch("Bb3")));
  EXPECT_FALSE(InKey({5, false}, ParsePitch("B3")));
  EXPECT_TRUE(InKey({9, true}, ParsePitch("G4")));
  EXPECT_FALSE(InKey({9, true}, ParsePitch("G#4")));
  std::vector<Chord> chords = ParseChords("C:8 G:8 | F:16 |");
  EXPECT_EQ(ChordAt(chords, 7.9).root, 0);
  EXPECT_EQ(ChordAt(chords, 8).root, 7);
  EXPECT_EQ(ChordAt(chords, 33).root, 0); // past the end it loops
  EXPECT_EQ(ChordsLength(chords), 32);
}

} // namespace
} // namespace audio
