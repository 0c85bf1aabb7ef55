// sounds_test.cpp — the character of the drums and effects: tuned drums that
// start and end cleanly, a coin that rises, a steady beep, fuller confirm
// than move click, a laugh of five deep syllables.
#include "drums.h"
#include "sfx.h"
#include "spectrum.h"

#include <gtest/gtest.h>

using namespace audio;
using Analyse = audio_test::Spectrum;

TEST(Sounds, DrumsAreTunedAndClean) {
  DrumKit kit = MakeDrumKit(9, DrumTuning{185.0, 110.0});
  for (int d = 0; d < static_cast<int>(Drum::Count); ++d) {
    for (const std::vector<float> &v : kit.samples[d]) {
      float peak = 0;
      for (float s : v)
        peak = std::max(peak, std::fabs(s));
      EXPECT_TRUE(peak > 0.05 && peak < 1.3) << d << ": " << peak;
      EXPECT_LT(std::fabs(v.front()), 0.02) << d;
      EXPECT_LT(std::fabs(v.back()), 1e-3 * peak) << d;
    }
    // Variations differ, so fast repeats do not sound machine-made.
    EXPECT_NE(kit.samples[d][0], kit.samples[d][1]) << d;
  }
  auto pitch = [&](Drum d, size_t from, size_t count, double lo) {
    return Analyse(kit.samples[size_t(d)][0], from, count).Dominant(lo, 400);
  };
  EXPECT_NEAR(pitch(Drum::Snare, 0, 8192, 100), 185.0 * 1.03, 12.0);
  EXPECT_NEAR(pitch(Drum::LowTom, 4000, 12000, 60), 110.0, 6.0);
  EXPECT_NEAR(pitch(Drum::HighTom, 4000, 12000, 60), 110.0 * 16 / 9, 8.0);
}

// Loudness in steps of `win` frames.
static std::vector<double> Loudness(const Stereo &s, size_t from, size_t to,
                                    size_t win) {
  std::vector<double> level;
  for (size_t at = from; at + win <= to; at += win) {
    double e = 0;
    for (size_t i = at; i < at + win; ++i)
      e += double(s.l[i]) * s.l[i];
    level.push_back(std::sqrt(e / win));
  }
  return level;
}

TEST(Sounds, CoinRisesAFifthBeepIsSteadyStingEndsHigh) {
  Stereo coin = CoinBlip(), beep = CountdownBeep();
  const size_t lead = size_t(0.004 * kRate);
  EXPECT_NEAR(Analyse(coin.l, lead + 200, 1800).Dominant(300, 5000), 880, 8);
  EXPECT_NEAR(Analyse(coin.l, lead + 3000, 2500).Dominant(300, 5000), 1318.5,
              10);
  EXPECT_NEAR(Analyse(beep.l, 0, Frames(beep)).Dominant(100, 8000), 880, 5);
  std::vector<double> level =
      Loudness(beep, size_t(0.03 * kRate), size_t(0.11 * kRate), 441);
  auto [lo, hi] = std::minmax_element(level.begin(), level.end());
  EXPECT_LT(GainToDb(*hi / *lo), 2.0);
  EXPECT_NEAR(Analyse(VictorySting().l, size_t(1.76 * kRate), 16384)
                  .Dominant(1000, 3000),
              2093, 20); // C7
}

TEST(Sounds, ConfirmIsFullerThanMoveAndTheLaughHasFiveDeepSyllables) {
  Stereo move = MoveClick(), confirm = ConfirmClick(), laugh = MonsterLaugh();
  EXPECT_GT(Analyse(confirm.l, 0, Frames(confirm)).ShareBelow(600),
            2 * Analyse(move.l, 0, Frames(move)).ShareBelow(600));
  EXPECT_GT(Analyse(laugh.l, 0, 16384).ShareBelow(1500), 0.9); // not a hiss
  // Bursts in a loudness curve smooth enough to ride over the growl's own
  // flutter.
  std::vector<double> level =
      Loudness(laugh, 0, Frames(laugh), kRate * 3 / 100);
  double top = *std::max_element(level.begin(), level.end());
  int bursts = 0;
  bool loud = false;
  for (double v : level)
    if (loud != (v > (loud ? 0.15 : 0.35) * top)) {
      loud = !loud;
      bursts += loud;
    }
  EXPECT_EQ(bursts, 5);
}
