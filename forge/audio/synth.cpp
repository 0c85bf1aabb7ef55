// synth.cpp — oscillators, envelopes, filters and the seeded noise source.
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace audio {

double MidiToHz(double midi) {
  return 440.0 * std::pow(2.0, (midi - 69.0) / 12.0);
}
double DbToGain(double db) { return std::pow(10.0, db / 20.0); }
double GainToDb(double gain) {
  return 20.0 * std::log10(std::max(gain, 1e-12));
}

Rng MakeRng(uint64_t seed) {
  // Spread small seeds over the whole state; xorshift must never be zero.
  uint64_t z = seed + 0x9E3779B97F4A7C15ull;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  z ^= z >> 31;
  return Rng{z ? z : 1};
}

uint64_t NextBits(Rng &rng) {
  uint64_t x = rng.state;
  x ^= x << 13;
  x ^= x >> 7;
  x ^= x << 17;
  rng.state = x;
  return x;
}

double Uniform(Rng &rng) {
  return (NextBits(rng) >> 11) * (1.0 / 9007199254740992.0);
}
double Bipolar(Rng &rng) { return Uniform(rng) * 2.0 - 1.0; }

double SinCycle(double phase) {
  constexpr int kSize = 4096;
  static const std::vector<double> table = [] {
    std::vector<double> t(kSize + 1);
    for (int i = 0; i <= kSize; ++i)
      t[i] = std::sin(2.0 * kPi * i / kSize);
    return t;
  }();
  double x = (phase - std::floor(phase)) * kSize;
  int i = static_cast<int>(x);
  double frac = x - i;
  return table[i] + (table[i + 1] - table[i]) * frac;
}

// Polynomial correction around a step of the naive waveform; removes most of
// the aliasing that makes raw square and saw waves sound harsh.
static double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

static void Advance(Osc &osc, double dt) {
  osc.phase += dt;
  if (osc.phase >= 1.0)
    osc.phase -= std::floor(osc.phase);
}

double Saw(Osc &osc, double dt) {
  double t = osc.phase;
  double v = 2.0 * t - 1.0 - PolyBlep(t, dt);
  Advance(osc, dt);
  return v;
}

double Pulse(Osc &osc, double dt, double duty) {
  double t = osc.phase;
  double v = t < duty ? 1.0 : -1.0;
  v += PolyBlep(t, dt);
  double t2 = t + 1.0 - duty;
  if (t2 >= 1.0)
    t2 -= 1.0;
  v -= PolyBlep(t2, dt);
  Advance(osc, dt);
  return v - (2.0 * duty - 1.0);
}

double Triangle(Osc &osc, double dt) {
  double t = osc.phase;
  Advance(osc, dt);
  return 4.0 * std::fabs(t - 0.5) - 1.0;
}

double Sine(Osc &osc, double dt) {
  double v = SinCycle(osc.phase);
  Advance(osc, dt);
  return v;
}

double AdsrAt(const Adsr &env, double t, double gate) {
  auto held = [&env](double u) {
    if (u < env.attack)
      return u / env.attack;
    u -= env.attack;
    if (u < env.decay) {
      double x = u / env.decay;
      double shape = (1.0 - std::exp(-5.0 * x)) / (1.0 - std::exp(-5.0));
      return 1.0 - (1.0 - env.sustain) * shape;
    }
    return env.sustain;
  };
  if (t < 0)
    return 0;
  if (t < gate)
    return held(t);
  double x = (t - gate) / env.release;
  if (x >= 1.0)
    return 0;
  double fall = (std::exp(-5.0 * x) - std::exp(-5.0)) / (1.0 - std::exp(-5.0));
  return held(gate) * fall;
}

void SvfTune(Svf &f, double cutoff_hz, double q) {
  cutoff_hz = std::clamp(cutoff_hz, 10.0, kRate * 0.45);
  f.g = std::tan(kPi * cutoff_hz / kRate);
  f.k = 1.0 / q;
}

SvfOut SvfStep(Svf &f, double x) {
  double a1 = 1.0 / (1.0 + f.g * (f.g + f.k));
  double a2 = f.g * a1;
  double a3 = f.g * a2;
  double v3 = x - f.ic2;
  double v1 = a1 * f.ic1 + a2 * v3;
  double v2 = f.ic2 + a2 * f.ic1 + a3 * v3;
  f.ic1 = 2.0 * v1 - f.ic1;
  f.ic2 = 2.0 * v2 - f.ic2;
  return {v2, v1, x - f.k * v1 - v2};
}

void OnePoleTune(OnePole &f, double cutoff_hz) {
  f.a = 1.0 - std::exp(-2.0 * kPi * cutoff_hz / kRate);
}

double OnePoleStep(OnePole &f, double x) {
  f.z += f.a * (x - f.z);
  return f.z;
}

double VibratoRatio(const Vibrato &v, double t) {
  if (v.depth <= 0 || t <= v.delay)
    return 1.0;
  double ramp = std::min(1.0, (t - v.delay) / v.fade);
  double semis = v.depth * ramp * SinCycle(v.rate * (t - v.delay));
  return std::exp2(semis / 12.0);
}

} // namespace audio
