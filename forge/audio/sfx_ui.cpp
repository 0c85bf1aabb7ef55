// sfx_ui.cpp — the short interface sounds: two clicks, the countdown beep and
// the pickup blip.
#include "effects.h"
#include "sfx.h"
#include "synth.h"

#include <cmath>
#include <vector>

namespace audio {

namespace {

Stereo MonoToStereo(const std::vector<float> &mono, double width_delay_ms) {
  // A tiny delay on one side gives a little width without a pan.
  Stereo s = MakeStereo(mono.size());
  size_t d = static_cast<size_t>(width_delay_ms * 0.001 * kRate);
  for (size_t i = 0; i < mono.size(); ++i) {
    s.l[i] = mono[i];
    s.r[i] = i >= d ? mono[i - d] : 0.0f;
  }
  return s;
}

} // namespace

void FinishEffect(Stereo &s, double peak_db, double fade_in, double fade_out) {
  RemoveDc(s, 20.0);
  FadeEdges(s, fade_in, fade_out);
  NormalisePeak(s, peak_db);
  // A few milliseconds of silence in front keep the encoder's pre-echo of a
  // sharp attack off the very first sample, so playback starts from zero.
  const size_t lead = static_cast<size_t>(0.004 * kRate);
  s.l.insert(s.l.begin(), lead, 0.0f);
  s.r.insert(s.r.begin(), lead, 0.0f);
}

Stereo MoveClick() {
  // A soft wooden tick: two damped partials and a breath of noise.
  size_t n = static_cast<size_t>(0.065 * kRate);
  std::vector<float> mono(n);
  Rng rng = MakeRng(24);
  Svf tick;
  SvfTune(tick, 3800, 2.0);
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double high = std::sin(2.0 * kPi * 1750.0 * t) * std::exp(-t / 0.006);
    double body = std::sin(2.0 * kPi * 820.0 * t) * std::exp(-t / 0.012);
    double noise = SvfStep(tick, Bipolar(rng)).band * std::exp(-t / 0.0025);
    mono[i] = static_cast<float>(0.5 * high + 0.6 * body + 0.5 * noise);
  }
  Stereo s = MonoToStereo(mono, 0.3);
  FinishEffect(s, -6.0, 0.0008, 0.015);
  return s;
}

Stereo ConfirmClick() {
  // Fuller than the move click: a falling "thock" under a crisp edge.
  size_t n = static_cast<size_t>(0.12 * kRate);
  std::vector<float> mono(n);
  Rng rng = MakeRng(1);
  Svf edge;
  SvfTune(edge, 2600, 1.5);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = 260.0 + 300.0 * std::exp(-t / 0.012);
    phase += f / kRate;
    double thock = std::sin(2.0 * kPi * phase) * std::exp(-t / 0.028);
    double ring = std::sin(2.0 * kPi * 1320.0 * t) * std::exp(-t / 0.014);
    double click = SvfStep(edge, Bipolar(rng)).band * std::exp(-t / 0.003);
    mono[i] = static_cast<float>(0.9 * thock + 0.3 * ring + 0.6 * click);
  }
  Stereo s = MonoToStereo(mono, 0.4);
  FinishEffect(s, -4.0, 0.0008, 0.03);
  return s;
}

Stereo CountdownBeep() {
  // A clear A5 with two soft overtones, steady, then a quick release.
  const double length = 0.15;
  size_t n = static_cast<size_t>(length * kRate);
  std::vector<float> mono(n);
  Adsr env{0.004, 0.06, 0.8, 0.03};
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    double p = 2.0 * kPi * 880.0 * t;
    double tone =
        std::sin(p) + 0.22 * std::sin(2.0 * p) + 0.08 * std::sin(3.0 * p);
    mono[i] = static_cast<float>(tone * AdsrAt(env, t, length - 0.03));
  }
  Stereo s = MonoToStereo(mono, 0.0);
  FinishEffect(s, -3.0, 0.001, 0.004);
  return s;
}

Stereo CoinBlip() {
  // Two quick notes rising a fifth (A5 then E6). Mostly sine with a little
  // square-ish edge, rounded off, so hundreds of pickups stay pleasant.
  const double first = 0.055, length = 0.16;
  size_t n = static_cast<size_t>(length * kRate);
  std::vector<float> mono(n);
  Osc osc;
  OnePole soften;
  OnePoleTune(soften, 4500);
  double phase = 0;
  for (size_t i = 0; i < n; ++i) {
    double t = static_cast<double>(i) / kRate;
    bool second = t >= first;
    double f = second ? 1318.51 : 880.0;
    phase += f / kRate;
    double sine = std::sin(2.0 * kPi * phase);
    double edge = Pulse(osc, f / kRate, 0.5);
    double tone = 0.8 * sine + 0.2 * OnePoleStep(soften, edge);
    // A soft 3 ms onset, then the second note takes over without a step in
    // level, rises a little and dies away.
    double env = 0.8 * std::min(1.0, t / 0.003);
    if (second) {
      double u = t - first;
      env = (0.8 + 0.2 * std::min(1.0, u / 0.002)) * std::exp(-u / 0.045);
    }
    mono[i] = static_cast<float>(tone * env);
  }
  Stereo s = MonoToStereo(mono, 0.25);
  FinishEffect(s, -3.0, 0.001, 0.02);
  return s;
}

} // namespace audio
