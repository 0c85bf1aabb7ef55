// drums.cpp — synthesised percussion.
#include "drums.h"

#include "synth.h"

#include <algorithm>
#include <cmath>

namespace audio {

static std::vector<float> Kick(Rng &rng) {
  size_t n = static_cast<size_t>(0.42 * kRate);
  std::vector<float> out(n);
  double phase = 0;
  Svf click;
  SvfTune(click, 3000, 0.8);
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    // A fast downward sweep gives the punch, the low tail the weight; it
    // settles on G1, a note of every key the game plays in.
    double f = 49.0 + 117.0 * std::exp(-t / 0.03) + 40.0 * std::exp(-t / 0.006);
    phase += f / kRate;
    double body = std::sin(2.0 * kPi * phase) * std::exp(-t / 0.22);
    double hit = SvfStep(click, Bipolar(rng)).band * std::exp(-t / 0.004) * 0.5;
    double s = std::tanh(1.6 * (body + hit)) / std::tanh(1.6);
    double fade = std::min(1.0, t / 0.0008) * std::min(1.0, (0.42 - t) / 0.05);
    // The kick's long low body carries far more energy than the other
    // drums; this keeps it in proportion.
    out[i] = static_cast<float>(0.6 * s * fade);
  }
  return out;
}

static std::vector<float> Snare(Rng &rng, double tone) {
  size_t n = static_cast<size_t>(0.32 * kRate);
  std::vector<float> out(n);
  Svf hp, lp;
  SvfTune(hp, 1500, 0.7);
  SvfTune(lp, 9000, 0.7);
  double p1 = 0, p2 = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double f1 = tone * (1.0 + 0.25 * std::exp(-t / 0.01));
    p1 += f1 / kRate;
    p2 += 1.5 * f1 / kRate;
    double body =
        (std::sin(2.0 * kPi * p1) * 0.8 + std::sin(2.0 * kPi * p2) * 0.3) *
        std::exp(-t / 0.05);
    double noise = SvfStep(lp, SvfStep(hp, Bipolar(rng)).high).low;
    double wires =
        noise * (std::exp(-t / 0.11) * 0.9 + std::exp(-t / 0.012) * 0.6);
    double fade = std::min(1.0, t / 0.0008) * std::min(1.0, (0.32 - t) / 0.05);
    // Rounding off the loudest grains of the noise takes the spikes out of
    // the crack without dulling it.
    out[i] = static_cast<float>(std::tanh(1.4 * (body * 0.7 + wires * 1.1)) /
                                1.4 * fade);
  }
  return out;
}

static std::vector<float> Clap(Rng &rng) {
  size_t n = static_cast<size_t>(0.3 * kRate);
  std::vector<float> out(n);
  Svf bp;
  SvfTune(bp, 1200, 1.4);
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    // Several hands a few milliseconds apart, then the room.
    double env = 0;
    for (double start : {0.0, 0.011, 0.022})
      if (t >= start)
        env = std::max(env, std::exp(-(t - start) / 0.004));
    if (t >= 0.03)
      env = std::max(env, 0.6 * std::exp(-(t - 0.03) / 0.09));
    double s = SvfStep(bp, Bipolar(rng)).band * env * 1.8;
    double fade = std::min(1.0, t / 0.0005) * std::min(1.0, (0.3 - t) / 0.04);
    out[i] = static_cast<float>(s * fade);
  }
  return out;
}

// Six detuned square waves, the classic metallic cymbal source.
static double Metal(double t) {
  static const double kFreqs[] = {205.3, 304.4, 369.6, 522.7, 540.0, 800.0};
  double s = 0;
  for (double f : kFreqs) {
    double ph = f * 1.7 * t;
    s += (ph - std::floor(ph)) < 0.5 ? 1.0 : -1.0;
  }
  return s / 6.0;
}

static std::vector<float> Hat(Rng &rng, double decay, double length) {
  size_t n = static_cast<size_t>(length * kRate);
  std::vector<float> out(n);
  Svf hp, bp;
  SvfTune(hp, 7000, 0.7);
  SvfTune(bp, 10000, 1.0);
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double src = Metal(t) * 0.6 + Bipolar(rng) * 0.5;
    double s = SvfStep(hp, SvfStep(bp, src).band).high;
    double env = std::exp(-t / decay);
    double fade =
        std::min(1.0, t / 0.0005) * std::min(1.0, (length - t) / 0.02);
    out[i] = static_cast<float>(s * env * fade * 1.6);
  }
  return out;
}

static std::vector<float> Tom(Rng &rng, double freq) {
  size_t n = static_cast<size_t>(0.5 * kRate);
  std::vector<float> out(n);
  double phase = 0;
  Svf bp;
  SvfTune(bp, freq * 4.0, 1.0);
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = freq * (1.0 + 0.5 * std::exp(-t / 0.04));
    phase += f / kRate;
    double body = std::sin(2.0 * kPi * phase) * std::exp(-t / 0.18);
    double skin = SvfStep(bp, Bipolar(rng)).band * std::exp(-t / 0.02) * 0.3;
    double fade = std::min(1.0, t / 0.0008) * std::min(1.0, (0.5 - t) / 0.05);
    out[i] = static_cast<float>(std::tanh(1.3 * (body + skin)) * fade);
  }
  return out;
}

static std::vector<float> Crash(Rng &rng) {
  double length = 2.6;
  size_t n = static_cast<size_t>(length * kRate);
  std::vector<float> out(n);
  Svf hp, lp;
  SvfTune(hp, 4500, 0.6);
  SvfTune(lp, 13000, 0.6);
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double src = Metal(t * 1.13) * 0.5 + Bipolar(rng) * 0.7;
    double s = SvfStep(lp, SvfStep(hp, src).high).low;
    double env = std::exp(-t / 0.7) * 0.8 + std::exp(-t / 0.05) * 0.4;
    double fade = std::min(1.0, t / 0.001) * std::min(1.0, (length - t) / 0.3);
    out[i] = static_cast<float>(s * env * fade * 1.3);
  }
  return out;
}

static std::vector<float> Shaker(Rng &rng) {
  size_t n = static_cast<size_t>(0.09 * kRate);
  std::vector<float> out(n);
  Svf bp;
  SvfTune(bp, 6500, 1.2);
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double env = std::min(1.0, t / 0.008) * std::exp(-t / 0.025);
    double fade = std::min(1.0, (0.09 - t) / 0.01);
    out[i] =
        static_cast<float>(SvfStep(bp, Bipolar(rng)).band * env * fade * 0.8);
  }
  return out;
}

static std::vector<float> Rim(Rng &rng) {
  size_t n = static_cast<size_t>(0.08 * kRate);
  std::vector<float> out(n);
  Svf bp;
  SvfTune(bp, 1700, 6.0);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    phase += 820.0 / kRate;
    double knock = std::sin(2.0 * kPi * phase) * std::exp(-t / 0.012);
    double ring = SvfStep(bp, Bipolar(rng)).band * std::exp(-t / 0.02);
    double fade = std::min(1.0, t / 0.0004) * std::min(1.0, (0.08 - t) / 0.01);
    out[i] = static_cast<float>((knock * 0.3 + ring * 0.5) * fade);
  }
  return out;
}

static std::vector<float> MakeDrum(Drum drum, const DrumTuning &tuning,
                                   Rng &rng) {
  switch (drum) {
  case Drum::Kick:
    return Kick(rng);
  case Drum::Snare:
    return Snare(rng, tuning.snare_hz);
  case Drum::Clap:
    return Clap(rng);
  case Drum::ClosedHat:
    return Hat(rng, 0.035, 0.12);
  case Drum::OpenHat:
    return Hat(rng, 0.22, 0.6);
  case Drum::LowTom:
    return Tom(rng, tuning.low_tom_hz);
  case Drum::MidTom:
    return Tom(rng, tuning.low_tom_hz * 4.0 / 3.0);
  case Drum::HighTom:
    return Tom(rng, tuning.low_tom_hz * 16.0 / 9.0);
  case Drum::Crash:
    return Crash(rng);
  case Drum::Shaker:
    return Shaker(rng);
  case Drum::Rim:
    return Rim(rng);
  case Drum::Count:
    break;
  }
  return {};
}

DrumKit MakeDrumKit(uint64_t seed, const DrumTuning &tuning) {
  DrumKit kit;
  Rng rng = MakeRng(seed);
  for (int d = 0; d < static_cast<int>(Drum::Count); ++d)
    for (int v = 0; v < kDrumVariations; ++v)
      kit.samples[d][v] = MakeDrum(static_cast<Drum>(d), tuning, rng);
  return kit;
}

double DrumPan(Drum drum) {
  switch (drum) {
  case Drum::ClosedHat:
  case Drum::OpenHat:
    return 0.3;
  case Drum::HighTom:
    return 0.35;
  case Drum::MidTom:
    return 0.0;
  case Drum::LowTom:
    return -0.35;
  case Drum::Crash:
    return -0.3;
  case Drum::Shaker:
    return -0.4;
  case Drum::Rim:
    return 0.15;
  default:
    return 0.0;
  }
}

} // namespace audio
