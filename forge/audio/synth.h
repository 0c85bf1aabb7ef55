// synth.h — oscillators, envelopes, filters and the seeded noise source that
// every instrument of the sound forge is built from.
#pragma once

#include <cstdint>

namespace audio {

constexpr int kRate = 44100;
constexpr double kPi = 3.14159265358979323846;

double MidiToHz(double midi);
double DbToGain(double db);
double GainToDb(double gain);

// A small xorshift generator: the forge's only source of randomness, so the
// same seed always gives the same bytes.
struct Rng {
  uint64_t state = 0x9E3779B97F4A7C15ull;
};
Rng MakeRng(uint64_t seed);
uint64_t NextBits(Rng &rng);
double Uniform(Rng &rng); // [0, 1)
double Bipolar(Rng &rng); // [-1, 1)

// sin(2 pi phase) from a table; phase may be any real number. Accurate to
// about -140 dB, and several times faster than std::sin.
double SinCycle(double phase);

// Band-limited oscillators: phase runs in [0, 1), dt is frequency / rate.
struct Osc {
  double phase = 0;
};
double Saw(Osc &osc, double dt);
double Pulse(Osc &osc, double dt, double duty);
double Triangle(Osc &osc, double dt);
double Sine(Osc &osc, double dt);

// Attack, decay, sustain, release; times in seconds. The gate is how long
// the note is held; the level falls to zero `release` seconds after it.
struct Adsr {
  double attack = 0.005;
  double decay = 0.1;
  double sustain = 1.0;
  double release = 0.05;
};
double AdsrAt(const Adsr &env, double t, double gate);

// Two-pole state-variable filter (trapezoidal), stable under fast cutoff
// sweeps, which the plucked and brass voices rely on.
struct Svf {
  double ic1 = 0;
  double ic2 = 0;
  double g = 0;
  double k = 1;
};
void SvfTune(Svf &f, double cutoff_hz, double q);
struct SvfOut {
  double low;
  double band;
  double high;
};
SvfOut SvfStep(Svf &f, double x);

// One-pole smoothing low-pass; coeff from the cutoff in Hz.
struct OnePole {
  double z = 0;
  double a = 0;
};
void OnePoleTune(OnePole &f, double cutoff_hz);
double OnePoleStep(OnePole &f, double x);

// Vibrato that fades in after `delay` seconds, depth in semitones.
struct Vibrato {
  double depth = 0;
  double rate = 5.5;
  double delay = 0.15;
  double fade = 0.2;
};
double VibratoRatio(const Vibrato &v, double t);

} // namespace audio
