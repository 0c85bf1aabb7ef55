// effects_test.cpp — the master limiter: a ceiling without clipping, and
// across the seam of a loop.
#include "effects.h"
#include "synth.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace audio;

TEST(Effects, LimiterCatchesPeaksSmoothlyAndAcrossTheSeam) {
  Stereo s = MakeStereo(kRate);
  for (size_t i = 0; i < Frames(s); ++i)
    s.l[i] = s.r[i] = float(0.3 * std::sin(2 * kPi * 220.0 * i / kRate));
  const Stereo dry = s;
  s.l[kRate / 2] = 1.5f; // one wild sample
  s.l.back() = 2.0f;     // and one on the very last
  Stereo plain = s;
  Limit(s, -1.0, true);
  Limit(plain, -1.0, false);
  for (size_t i = 0; i < Frames(s); ++i)
    ASSERT_LE(std::max(std::fabs(s.l[i]), std::fabs(plain.l[i])),
              DbToGain(-1.0) + 1e-6)
        << i;
  const size_t away = kRate / 10 + 37, near = kRate / 2 + 20;
  EXPECT_EQ(plain.l[away], dry.l[away]); // well before the peak
  // No clipping: the gain changes gradually, so a peak's neighbours go down
  // too; in a loop the first samples follow the last, and the circular
  // limiter eases into the last peak across the seam, the plain one not.
  EXPECT_LT(std::fabs(s.l[near]), std::fabs(dry.l[near]));
  EXPECT_LT(std::fabs(s.l[3]), std::fabs(dry.l[3]));
  EXPECT_EQ(plain.l[3], dry.l[3]);
}
