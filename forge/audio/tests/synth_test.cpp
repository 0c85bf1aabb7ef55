// synth_test.cpp — the building blocks: tuning, noise, oscillators,
// envelopes and filters.
#include "analysis.h"
#include "synth.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <set>

namespace audio {
namespace {

TEST(Synth, EqualTemperamentFromA440) {
  EXPECT_DOUBLE_EQ(MidiToHz(69), 440.0);
  EXPECT_NEAR(MidiToHz(60), 261.626, 1e-3);
  EXPECT_NEAR(MidiToHz(81), 880.0, 1e-9);
  EXPECT_NEAR(DbToGain(-6.0206), 0.5, 1e-4);
  EXPECT_NEAR(GainToDb(DbToGain(-17.5)), -17.5, 1e-9);
}

TEST(Synth, NoiseIsSeededUniformAndVaried) {
  Rng a = MakeRng(42), b = MakeRng(42), c = MakeRng(43);
  double sum = 0;
  std::set<uint64_t> seen;
  bool differs = false;
  for (int i = 0; i < 10000; ++i) {
    double u = Uniform(a);
    EXPECT_EQ(u, Uniform(b));
    differs |= u != Uniform(c);
    ASSERT_GE(u, 0.0);
    ASSERT_LT(u, 1.0);
    sum += u;
    seen.insert(static_cast<uint64_t>(u * 1e6));
  }
  EXPECT_TRUE(differs);
  EXPECT_NEAR(sum / 10000, 0.5, 0.01);
  EXPECT_GT(seen.size(), 9900u);
  EXPECT_NE(MakeRng(0).state, 0u); // xorshift would be stuck at zero
}

TEST(Synth, TableSineMatchesTheLibrary) {
  for (double p = -3.0; p < 3.0; p += 0.0137)
    ASSERT_NEAR(SinCycle(p), std::sin(2 * kPi * p), 1e-6) << p;
}

// Share of a waveform's energy that lies off its harmonics: aliasing.
double OffHarmonicShare(double (*wave)(Osc &, double), double hz) {
  const size_t size = 32768;
  std::vector<std::complex<double>> buf(size);
  Osc osc;
  for (size_t i = 0; i < size; ++i) {
    double w = 0.5 - 0.5 * std::cos(2 * kPi * i / size);
    buf[i] = {wave(osc, hz / kRate) * w, 0};
  }
  Fft(buf);
  double on = 0, off = 0;
  for (size_t k = 1; k < size / 2; ++k) {
    double f = double(k) * kRate / size;
    double h = f / hz;
    double e = std::norm(buf[k]);
    (std::fabs(h - std::round(h)) * hz < 30 ? on : off) += e;
  }
  return off / (on + off);
}

double SawWave(Osc &o, double dt) { return Saw(o, dt); }
double SquareWave(Osc &o, double dt) { return Pulse(o, dt, 0.5); }

TEST(Synth, BandLimitedOscillatorsKeepAliasingLow) {
  // At 3.1 kHz a naive saw folds a tenth of its energy back as noise.
  EXPECT_LT(OffHarmonicShare(SawWave, 3100.0), 0.002);
  EXPECT_LT(OffHarmonicShare(SquareWave, 3100.0), 0.002);
}

TEST(Synth, OscillatorsAreCentredAndBounded) {
  for (double duty : {0.125, 0.25, 0.5}) {
    Osc osc;
    double sum = 0, peak = 0;
    const int n = kRate;
    for (int i = 0; i < n; ++i) {
      double v = Pulse(osc, 441.0 / kRate, duty);
      sum += v;
      peak = std::max(peak, std::fabs(v));
    }
    EXPECT_NEAR(sum / n, 0.0, 0.01) << duty;
    EXPECT_LT(peak, 2.2) << duty;
  }
  Osc tri, saw;
  double tsum = 0, ssum = 0;
  for (int i = 0; i < kRate; ++i) {
    tsum += Triangle(tri, 441.0 / kRate);
    ssum += Saw(saw, 441.0 / kRate);
  }
  EXPECT_NEAR(tsum / kRate, 0.0, 0.01);
  EXPECT_NEAR(ssum / kRate, 0.0, 0.01);
}

TEST(Synth, AdsrShapesAndStaysContinuousAtRelease) {
  Adsr env{0.01, 0.1, 0.6, 0.2};
  EXPECT_EQ(AdsrAt(env, 0.0, 1.0), 0.0);
  EXPECT_NEAR(AdsrAt(env, 0.005, 1.0), 0.5, 1e-9);
  EXPECT_NEAR(AdsrAt(env, 0.01, 1.0), 1.0, 1e-9);
  EXPECT_NEAR(AdsrAt(env, 0.5, 1.0), 0.6, 1e-9);
  EXPECT_NEAR(AdsrAt(env, 1.0 - 1e-9, 1.0), AdsrAt(env, 1.0, 1.0), 1e-6);
  EXPECT_NEAR(AdsrAt(env, 1.2, 1.0), 0.0, 1e-12);
  EXPECT_EQ(AdsrAt(env, -0.1, 1.0), 0.0);
  // A note released during its attack falls from where it had got to.
  EXPECT_NEAR(AdsrAt(env, 0.005, 0.005), 0.5, 1e-9);
  EXPECT_LT(AdsrAt(env, 0.05, 0.005), 0.5);
  double prev = 1.0;
  for (double t = 1.0; t < 1.2; t += 0.001) {
    double v = AdsrAt(env, t, 1.0);
    EXPECT_LE(v, prev + 1e-12);
    prev = v;
  }
}

double SvfGainDb(double signal_hz, double cutoff_hz, int mode) {
  Svf f;
  SvfTune(f, cutoff_hz, 0.707);
  double peak = 0;
  for (int i = 0; i < kRate / 2; ++i) {
    SvfOut o = SvfStep(f, std::sin(2 * kPi * signal_hz * i / kRate));
    double v = mode == 0 ? o.low : mode == 1 ? o.band : o.high;
    if (i > kRate / 4)
      peak = std::max(peak, std::fabs(v));
  }
  return GainToDb(peak);
}

TEST(Synth, FilterPassesAndStopsTheRightBands) {
  EXPECT_NEAR(SvfGainDb(100, 1000, 0), 0.0, 0.2);
  EXPECT_LT(SvfGainDb(10000, 1000, 0), -38.0); // two poles: 12 dB an octave
  EXPECT_NEAR(SvfGainDb(1000, 1000, 0), -3.0, 0.3);
  EXPECT_NEAR(SvfGainDb(10000, 1000, 2), 0.0, 0.3);
  EXPECT_LT(SvfGainDb(100, 1000, 2), -38.0);
  EXPECT_GT(SvfGainDb(1000, 1000, 1), SvfGainDb(200, 1000, 1) + 6);
  OnePole p;
  OnePoleTune(p, 50);
  double y = 0;
  for (int i = 0; i < kRate; ++i)
    y = OnePoleStep(p, 1.0);
  EXPECT_NEAR(y, 1.0, 1e-9);
}

TEST(Synth, VibratoWaitsThenSwingsAroundThePitch) {
  Vibrato v{0.2, 5.0, 0.15, 0.2};
  EXPECT_EQ(VibratoRatio(v, 0.1), 1.0);
  double lo = 1, hi = 1;
  for (double t = 0.4; t < 1.4; t += 0.001) {
    lo = std::min(lo, VibratoRatio(v, t));
    hi = std::max(hi, VibratoRatio(v, t));
  }
  EXPECT_NEAR(hi, std::exp2(0.2 / 12), 1e-4);
  EXPECT_NEAR(lo, std::exp2(-0.2 / 12), 1e-4);
}

} // namespace
} // namespace audio
