// synth_test.cpp — tuning, levels and the sine table every voice is made of.
#include "synth.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace audio;

TEST(Synth, TuningLevelsAndTheSineTable) {
  EXPECT_DOUBLE_EQ(MidiToHz(69), 440.0);
  EXPECT_NEAR(MidiToHz(60), 261.626, 1e-3);
  EXPECT_NEAR(DbToGain(-6.0206), 0.5, 1e-4);
  for (double p = -3.0; p < 3.0; p += 0.0137)
    ASSERT_NEAR(SinCycle(p), std::sin(2 * kPi * p), 1e-6) << p;
}
