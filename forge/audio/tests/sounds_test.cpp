// sounds_test.cpp — the character of the drums and effects: tuned drums that
// start and end cleanly, a coin that rises, a steady beep, fuller confirm
// than move click, a laugh of five deep syllables.
#include "analysis.h"
#include "drums.h"
#include "sfx.h"
#include "synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace audio {
namespace {

// Strongest frequency between lo and hi Hz in a stretch of a mono signal.
double Dominant(const std::vector<float> &x, size_t from, size_t count,
                double lo, double hi) {
  const size_t size = 16384;
  std::vector<std::complex<double>> buf(size);
  for (size_t i = 0; i < count && i < size && from + i < x.size(); ++i) {
    double w = 0.5 - 0.5 * std::cos(2 * kPi * i / count);
    buf[i] = {x[from + i] * w, 0};
  }
  Fft(buf);
  size_t best = 0;
  double best_mag = -1;
  for (size_t k = 1; k < size / 2; ++k) {
    double f = double(k) * kRate / size;
    if (f >= lo && f <= hi && std::abs(buf[k]) > best_mag) {
      best_mag = std::abs(buf[k]);
      best = k;
    }
  }
  return double(best) * kRate / size;
}

double ShareBelow(const std::vector<float> &x, double hz) {
  const size_t size = 16384;
  std::vector<std::complex<double>> buf(size);
  for (size_t i = 0; i < x.size() && i < size; ++i)
    buf[i] = {x[i], 0};
  Fft(buf);
  double below = 0, all = 0;
  for (size_t k = 1; k < size / 2; ++k) {
    double e = std::norm(buf[k]);
    all += e;
    if (double(k) * kRate / size < hz)
      below += e;
  }
  return below / all;
}

TEST(Sounds, DrumsAreTunedAndClean) {
  DrumTuning tuning{185.0, 110.0};
  DrumKit kit = MakeDrumKit(9, tuning);
  for (int d = 0; d < static_cast<int>(Drum::Count); ++d) {
    for (const std::vector<float> &v : kit.samples[d]) {
      ASSERT_GT(v.size(), 1000u) << d;
      double peak = 0;
      for (float s : v)
        peak = std::max(peak, double(std::fabs(s)));
      EXPECT_GT(peak, 0.05) << d;
      EXPECT_LT(peak, 1.3) << d;
      EXPECT_LT(std::fabs(v.front()), 0.02) << d;
      EXPECT_LT(std::fabs(v.back()), 1e-3 * peak) << d;
    }
    // Variations differ, so fast repeats do not sound machine-made.
    EXPECT_NE(kit.samples[d][0], kit.samples[d][1]) << d;
  }
  const auto &snare = kit.samples[static_cast<int>(Drum::Snare)][0];
  EXPECT_NEAR(Dominant(snare, 0, 8192, 100, 400), 185.0 * 1.03, 12.0);
  const auto &low = kit.samples[static_cast<int>(Drum::LowTom)][0];
  const auto &high = kit.samples[static_cast<int>(Drum::HighTom)][0];
  EXPECT_NEAR(Dominant(low, 4000, 12000, 60, 400), 110.0, 6.0);
  EXPECT_NEAR(Dominant(high, 4000, 12000, 60, 400), 110.0 * 16 / 9, 8.0);
}

TEST(Sounds, CoinRisesAFifth) {
  Stereo coin = CoinBlip();
  size_t lead = static_cast<size_t>(0.004 * kRate);
  EXPECT_NEAR(Dominant(coin.l, lead + 200, 1800, 300, 5000), 880.0, 8.0);
  EXPECT_NEAR(Dominant(coin.l, lead + 3000, 2500, 300, 5000), 1318.5, 10.0);
}

TEST(Sounds, BeepIsOneSteadyClearTone) {
  Stereo beep = CountdownBeep();
  EXPECT_NEAR(Dominant(beep.l, 0, Frames(beep), 100, 8000), 880.0, 5.0);
  double lo = 1e9, hi = 0;
  for (size_t at = static_cast<size_t>(0.03 * kRate);
       at < static_cast<size_t>(0.11 * kRate); at += 441) {
    double e = 0;
    for (size_t i = at; i < at + 441; ++i)
      e += double(beep.l[i]) * beep.l[i];
    lo = std::min(lo, e);
    hi = std::max(hi, e);
  }
  EXPECT_LT(GainToDb(std::sqrt(hi / lo)), 2.0);
}

TEST(Sounds, ConfirmIsFullerThanMove) {
  Stereo move = MoveClick(), confirm = ConfirmClick();
  EXPECT_GT(ShareBelow(confirm.l, 600), 2 * ShareBelow(move.l, 600));
  EXPECT_GT(Frames(confirm), Frames(move));
}

TEST(Sounds, LaughHasFiveDeepSyllables) {
  Stereo laugh = MonsterLaugh();
  // Count the bursts in a loudness curve smooth enough to ride over the
  // growl's own flutter.
  const size_t win = kRate * 3 / 100;
  std::vector<double> level;
  for (size_t at = 0; at + win < Frames(laugh); at += win) {
    double e = 0;
    for (size_t i = at; i < at + win; ++i)
      e += double(laugh.l[i]) * laugh.l[i];
    level.push_back(std::sqrt(e / win));
  }
  double top = *std::max_element(level.begin(), level.end());
  int bursts = 0;
  bool loud = false;
  for (double v : level) {
    if (!loud && v > 0.35 * top) {
      ++bursts;
      loud = true;
    } else if (loud && v < 0.15 * top) {
      loud = false;
    }
  }
  EXPECT_EQ(bursts, 5);
  EXPECT_GT(ShareBelow(laugh.l, 1500), 0.9); // a deep voice, not a hiss
}

TEST(Sounds, StingEndsOnItsHighestNote) {
  Stereo sting = VictorySting();
  double end_pitch =
      Dominant(sting.l, static_cast<size_t>(1.76 * kRate), 16384, 1000, 3000);
  EXPECT_NEAR(end_pitch, MidiToHz(96), 20.0); // C7
}

} // namespace
} // namespace audio
