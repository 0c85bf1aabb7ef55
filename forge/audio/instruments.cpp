// instruments.cpp — the pitched voices of the sound forge.
#include "instruments.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace audio {

double TailSeconds(const Instrument &inst) {
  switch (inst.kind) {
  case Kind::Tone:
    return inst.tone.amp.release;
  case Kind::Bell:
    return std::max(inst.bell.release, 0.0);
  case Kind::Flute:
    return inst.flute.release;
  }
  return 0;
}

static double OscStep(Wave wave, Osc &osc, double dt, double duty) {
  switch (wave) {
  case Wave::Saw:
    return Saw(osc, dt);
  case Wave::Pulse:
    return Pulse(osc, dt, duty);
  case Wave::Triangle:
    return Triangle(osc, dt);
  case Wave::Sine:
    return Sine(osc, dt);
  }
  return 0;
}

static void RenderTone(const ToneVoice &v, double midi, double velocity,
                       double gate, Rng &rng, Stereo &out, size_t at,
                       double pan) {
  size_t n = static_cast<size_t>((gate + v.amp.release) * kRate) + 1;
  double base = MidiToHz(midi);
  // Brighter notes for higher pitches and harder hits, as real instruments.
  double track = std::pow(base / 261.63, v.key_track);
  double vel_amt = 1.0 - v.vel_cutoff * (1.0 - velocity);
  double amp = velocity * v.gain / std::sqrt(static_cast<double>(v.unison));
  std::vector<float> mono(n);
  for (int u = 0; u < v.unison; ++u) {
    double offset = v.unison > 1 ? (2.0 * u / (v.unison - 1) - 1.0) : 0.0;
    double ratio = std::pow(2.0, offset * v.detune_cents / 1200.0);
    Osc osc{Uniform(rng)};
    Osc sub{osc.phase};
    Svf filter;
    double pwm_phase = Uniform(rng);
    std::fill(mono.begin(), mono.end(), 0.0f);
    // Envelopes and pitch bends move slowly: work them out every few
    // samples and glide between, which keeps long songs quick to render.
    constexpr size_t kBlock = 8;
    double env_from = 0, env_step = 0, bend = 1;
    for (size_t i = 0; i < n; ++i) {
      double t = static_cast<double>(i) / kRate;
      if (i % kBlock == 0) {
        env_from = AdsrAt(v.amp, t, gate);
        env_step =
            (AdsrAt(v.amp, t + double(kBlock) / kRate, gate) - env_from) /
            kBlock;
        bend = VibratoRatio(v.vibrato, t);
        if (v.scoop > 0 && t < v.scoop_time)
          bend *= std::exp2(-v.scoop * (1.0 - t / v.scoop_time) / 12.0);
      }
      double dt = base * ratio * bend / kRate;
      double duty = v.duty;
      if (v.pwm_depth > 0)
        duty += v.pwm_depth * SinCycle(pwm_phase + v.pwm_rate * t);
      double s = OscStep(v.wave, osc, dt, duty);
      if (v.sub_level > 0)
        s += v.sub_level * Sine(sub, dt * 0.5);
      if (i % kBlock == 0) {
        double fenv = AdsrAt(v.filter_env, t, gate);
        SvfTune(filter, (v.cutoff + v.env_cutoff * fenv) * track * vel_amt,
                v.q);
      }
      double y = SvfStep(filter, s).low;
      double env = env_from + env_step * double(i % kBlock);
      mono[i] = static_cast<float>(y * env * amp);
    }
    AddMono(out, at, mono.data(), n, 1.0, pan + offset * v.spread);
  }
}

static void RenderBell(const BellVoice &v, double midi, double velocity,
                       double gate, Stereo &out, size_t at, double pan) {
  // The bell rings on after the gate; the release only cuts long tails.
  double ring = std::min(gate + v.release, v.decay * 7.0);
  size_t n = static_cast<size_t>(ring * kRate) + 1;
  double f = MidiToHz(midi);
  std::vector<float> mono(n);
  double pm = 0, pc = 0, pc2 = 0;
  double f2 = f * std::pow(2.0, v.detune_cents / 1200.0);
  // FM with whole-number ratios puts a sideband at 0 Hz: a slow DC bump
  // under every note. Nothing below the fundamental belongs to the tone.
  Svf below;
  SvfTune(below, f * 0.5, 0.7);
  // Both decays are exponential: one multiplication a sample each.
  const double index_fall = std::exp(-1.0 / (v.index_decay * kRate));
  const double amp_fall = std::exp(-1.0 / (v.decay * kRate));
  double index = v.index * velocity, decay = 1.0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double mod = index * SinCycle(pm) / (2.0 * kPi);
    index *= index_fall;
    double s = SinCycle(pc + mod);
    if (v.detune_cents != 0)
      s = 0.5 * (s + SinCycle(pc2 + mod));
    pm += f * v.ratio / kRate;
    pc += f / kRate;
    pc2 += f2 / kRate;
    pm -= std::floor(pm);
    pc -= std::floor(pc);
    pc2 -= std::floor(pc2);
    double env = std::min(1.0, t / v.attack) * decay;
    decay *= amp_fall;
    // A short fade at the very end so a cut tail never clicks.
    double left = ring - t;
    if (left < 0.02)
      env *= left / 0.02;
    mono[i] =
        static_cast<float>(SvfStep(below, s * env).high * velocity * v.gain);
  }
  AddMono(out, at, mono.data(), n, 1.0, pan);
}

static void RenderFlute(const FluteVoice &v, double midi, double velocity,
                        double gate, Rng &rng, Stereo &out, size_t at,
                        double pan) {
  size_t n = static_cast<size_t>((gate + v.release) * kRate) + 1;
  double base = MidiToHz(midi);
  Adsr env{v.attack, 0.15, 0.85, v.release};
  Svf breath_filter;
  SvfTune(breath_filter, base * 2.0, 1.2);
  OnePole air;
  OnePoleTune(air, 4000);
  std::vector<float> mono(n);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    // The pitch settles from slightly flat, as a player's breath steadies.
    double f = base * VibratoRatio(v.vibrato, t) *
               std::pow(2.0, -0.3 * std::exp(-t / 0.02) / 12.0);
    phase += f / kRate;
    phase -= std::floor(phase);
    double tone = SinCycle(phase) + 0.18 * SinCycle(2.0 * phase) +
                  0.06 * SinCycle(3.0 * phase) + 0.02 * SinCycle(4.0 * phase);
    double noise = Bipolar(rng);
    double band = SvfStep(breath_filter, noise).band;
    double hiss = OnePoleStep(air, noise);
    double chiff = v.chiff * std::exp(-t / 0.025);
    double e = AdsrAt(env, t, gate);
    double s =
        tone * e + (band * (v.breath + chiff) + hiss * 0.3 * v.breath) * e;
    mono[i] = static_cast<float>(s * velocity * v.gain);
  }
  AddMono(out, at, mono.data(), n, 1.0, pan);
}

void RenderNote(const Instrument &inst, double midi, double velocity,
                double gate, Rng &rng, Stereo &out, size_t at, double pan) {
  switch (inst.kind) {
  case Kind::Tone:
    RenderTone(inst.tone, midi, velocity, gate, rng, out, at, pan);
    break;
  case Kind::Bell:
    RenderBell(inst.bell, midi, velocity, gate, out, at, pan);
    break;
  case Kind::Flute:
    RenderFlute(inst.flute, midi, velocity, gate, rng, out, at, pan);
    break;
  }
}

} // namespace audio
