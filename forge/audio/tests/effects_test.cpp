// effects_test.cpp — loop wrapping, DC removal, levels, fades, reverb and
// echo on whole buffers.
#include "effects.h"
#include "synth.h"

#include <gtest/gtest.h>

#include <cmath>

namespace audio {
namespace {

double Energy(const std::vector<float> &x, size_t from, size_t to) {
  double e = 0;
  for (size_t i = from; i < to && i < x.size(); ++i)
    e += double(x[i]) * x[i];
  return e;
}

TEST(Effects, WrapFoldsEveryPassOfTheTailOntoTheStart) {
  Stereo s = MakeStereo(25);
  for (size_t i = 0; i < 25; ++i) {
    s.l[i] = float(i);
    s.r[i] = 1.0f;
  }
  WrapLoop(s, 10);
  ASSERT_EQ(Frames(s), 10u);
  EXPECT_EQ(s.l[0], 0 + 10 + 20);
  EXPECT_EQ(s.l[4], 4 + 14 + 24);
  EXPECT_EQ(s.l[5], 5 + 15); // the tail ended at 24
  EXPECT_EQ(s.r[3], 3.0f);
  EXPECT_EQ(s.r[7], 2.0f);
}

TEST(Effects, DcGoesToneStays) {
  Stereo s = MakeStereo(kRate * 2);
  for (size_t i = 0; i < Frames(s); ++i) {
    s.l[i] =
        static_cast<float>(0.3 + 0.5 * std::sin(2 * kPi * 1000.0 * i / kRate));
    s.r[i] = -0.2f;
  }
  RemoveDc(s, 18.0);
  double mean = 0, peak = 0;
  for (size_t i = kRate; i < Frames(s); ++i) {
    mean += s.l[i];
    peak = std::max(peak, double(std::fabs(s.l[i])));
  }
  EXPECT_NEAR(mean / kRate, 0.0, 1e-4);
  EXPECT_NEAR(peak, 0.5, 0.01);
  EXPECT_NEAR(s.r.back(), 0.0, 1e-4);
}

TEST(Effects, LevelsAndFades) {
  Stereo s = MakeStereo(kRate);
  for (size_t i = 0; i < Frames(s); ++i)
    s.l[i] = s.r[i] =
        static_cast<float>(0.1 * std::sin(2 * kPi * 300.0 * i / kRate));
  NormaliseRms(s, -20.0);
  EXPECT_NEAR(RmsDb(s), -20.0, 0.01);
  NormalisePeak(s, -3.0);
  EXPECT_NEAR(PeakDb(s), -3.0, 0.01);
  double mid = s.l[kRate / 2 + 37];
  FadeEdges(s, 0.01, 0.02);
  EXPECT_EQ(s.l[0], 0.0f);
  EXPECT_NEAR(s.l.back(), 0.0, 1e-3);
  EXPECT_EQ(s.l[kRate / 2 + 37], mid);
  // The fade rises: quiet at first, fuller later.
  EXPECT_LT(Energy(s.l, 0, 100), Energy(s.l, 300, 400));
}

TEST(Effects, ReverbIsWideAndDiesAway) {
  Stereo s = MakeStereo(kRate * 6);
  s.l[1000] = s.r[1000] = 1.0f;
  Stereo wet = Reverb(s, ReverbSettings{0.82, 0.35, 0.9, 0.02});
  // Nothing before the pre-delay.
  EXPECT_EQ(Energy(wet.l, 0, 1000 + 880), 0.0);
  double early = Energy(wet.l, 0, kRate / 2);
  double late = Energy(wet.l, kRate * 4, kRate * 6);
  EXPECT_GT(early, 0.0);
  EXPECT_LT(late, early * 1e-6); // far below -60 dB within four seconds
  double diff = 0;
  for (size_t i = 0; i < Frames(wet); ++i)
    diff += std::fabs(wet.l[i] - wet.r[i]);
  EXPECT_GT(diff, 0.1); // the two sides differ: stereo width
}

TEST(Effects, EchoBouncesBetweenTheSides) {
  Stereo s = MakeStereo(4000);
  s.l[0] = s.r[0] = 1.0f;
  Stereo wet = PingPong(s, 1000, 0.5, 20000);
  auto peak_at = [](const std::vector<float> &x, size_t around) {
    double p = 0;
    for (size_t i = around; i < around + 50; ++i)
      p = std::max(p, double(std::fabs(x[i])));
    return p;
  };
  EXPECT_GT(peak_at(wet.l, 1000), 0.3);
  EXPECT_LT(peak_at(wet.r, 1000), 1e-6);
  EXPECT_GT(peak_at(wet.r, 2000), 0.15);
  EXPECT_LT(peak_at(wet.l, 2000), 1e-6);
  EXPECT_NEAR(peak_at(wet.r, 2000) / peak_at(wet.l, 1000), 0.5, 0.1);
}

TEST(Effects, CircularLimiterReachesAcrossTheSeam) {
  Stereo a = MakeStereo(kRate);
  for (size_t i = 0; i < Frames(a); ++i)
    a.l[i] = a.r[i] = 0.5f;
  a.l.back() = 2.0f; // a peak on the very last sample
  Stereo b = a;
  Limit(a, -6.0, true);
  Limit(b, -6.0, false);
  // Played in a loop the first samples follow the last: the circular
  // limiter eases into the peak across the seam, the plain one does not.
  EXPECT_LT(a.l[0], 0.5f);
  EXPECT_EQ(b.l[0], 0.5f);
  EXPECT_LE(std::fabs(a.l.back()), DbToGain(-6.0) + 1e-6);
  EXPECT_LE(std::fabs(b.l.back()), DbToGain(-6.0) + 1e-6);
}

} // namespace
} // namespace audio
