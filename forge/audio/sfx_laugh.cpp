// sfx_laugh.cpp — the monster's laugh: a growling voice through "o" vowel
// formants, five "hoh"s falling in pitch, the last one drawn out.
#include "effects.h"
#include "sfx.h"
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace audio {

namespace {

struct Syllable {
  double start;  // seconds
  double length; // voiced part, seconds
  double pitch;  // Hz at the start
  double fall;   // Hz lost over the syllable
  double loudness;
};

// A big creature's "o": formants lower than a person's.
struct Formant {
  double from; // Hz at the start of the syllable (a more open "a")
  double to;
  double q;
  double gain;
};

const Formant kFormants[] = {{620, 400, 5.0, 1.0},
                             {1000, 760, 7.0, 0.55},
                             {2300, 2200, 10.0, 0.12},
                             {3200, 3000, 12.0, 0.05}};

} // namespace

Stereo MonsterLaugh() {
  const Syllable kSyllables[] = {{0.00, 0.17, 118, 14, 0.85},
                                 {0.25, 0.17, 112, 14, 0.95},
                                 {0.50, 0.17, 104, 14, 1.0},
                                 {0.75, 0.17, 96, 14, 0.95},
                                 {1.01, 0.55, 90, 32, 0.9}};
  const double total = 1.75;
  size_t n = static_cast<size_t>(total * kRate);
  std::vector<float> mono(n, 0.0f);
  Rng rng = MakeRng(7);

  for (const Syllable &s : kSyllables) {
    Svf filters[4];
    OnePole tilt;
    OnePoleTune(tilt, 900);
    double phase = 0, sub_phase = 0;
    const double breath = 0.05; // the "h" before the vowel
    size_t first = static_cast<size_t>(s.start * kRate);
    size_t count = static_cast<size_t>((breath + s.length + 0.08) * kRate);
    for (size_t i = 0; i < count && first + i < n; ++i) {
      double t = static_cast<double>(i) / kRate;
      double v = t - breath; // time since the voice started
      double progress = std::clamp(v / s.length, 0.0, 1.0);
      double f0 = s.pitch - s.fall * progress * progress;
      // Jitter and a slow wobble keep the voice from sounding like a synth.
      f0 *= 1.0 + 0.012 * Bipolar(rng) + 0.02 * std::sin(2.0 * kPi * 6.0 * t);
      phase += f0 / kRate;
      phase -= std::floor(phase);
      sub_phase += 0.5 * f0 / kRate;
      sub_phase -= std::floor(sub_phase);
      // Glottal pulses: a saw softened into a falling spectrum, plus a
      // half-rate growl that rasps.
      double pulse = 1.0 - 2.0 * phase;
      double growl = (sub_phase < 0.5 ? 1.0 : -1.0) * 0.35;
      double rasp = 1.0 + 0.45 * std::sin(2.0 * kPi * 31.0 * t);
      double voice = OnePoleStep(tilt, (pulse + growl) * rasp);
      double voiced = 0;
      if (v > 0) {
        double attack = std::min(1.0, v / 0.03);
        double decay = v < s.length ? 1.0 : std::exp(-(v - s.length) / 0.025);
        voiced = attack * decay * (1.0 - 0.25 * progress);
      }
      double aspiration =
          std::exp(-std::pow((t - breath * 0.6) / (breath * 0.5), 2.0));
      double source = voice * voiced * 3.0 +
                      Bipolar(rng) * (aspiration * 0.5 + voiced * 0.08);
      double out = 0;
      double shape = std::min(1.0, std::max(0.0, v) / 0.06);
      for (int k = 0; k < 4; ++k) {
        const Formant &f = kFormants[k];
        SvfTune(filters[k], f.from + (f.to - f.from) * shape, f.q);
        out += SvfStep(filters[k], source).band * f.gain;
      }
      mono[first + i] += static_cast<float>(out * s.loudness);
    }
  }

  // A little room, so the laugh seems to come from the maze.
  Stereo dry = MakeStereo(n);
  AddMono(dry, 0, mono.data(), n, 1.0, 0.0);
  Stereo wet = Reverb(dry, ReverbSettings{0.7, 0.5, 0.8, 0.01});
  AddStereo(dry, wet, 0.3);
  FinishEffect(dry, -2.0, 0.002, 0.15);
  return dry;
}

} // namespace audio
