// instruments.h — the pitched voices: subtractive tones (leads, pads, bass,
// brass), FM bells and keys, and a breathy flute.
#pragma once

#include "buffer.h"
#include "synth.h"

#include <cstddef>

namespace audio {

enum class Wave { Saw, Pulse, Triangle, Sine };

// Oscillators through a resonant low-pass with its own envelope.
struct ToneVoice {
  Wave wave = Wave::Pulse;
  double duty = 0.5;
  double pwm_depth = 0; // slow duty sweep, adds motion to held notes
  double pwm_rate = 0.7;
  int unison = 1;
  double detune_cents = 0;
  double spread = 0;    // stereo spread of the unison copies
  double sub_level = 0; // sine one octave down
  Vibrato vibrato;
  double scoop = 0; // semitones below the pitch the note starts from
  double scoop_time = 0.03;
  double cutoff = 8000;    // Hz, at the middle C and full velocity
  double env_cutoff = 0;   // Hz added at the filter envelope's peak
  double key_track = 0.5;  // 1: the cutoff follows the pitch fully
  double vel_cutoff = 0.3; // how much a soft note closes the filter
  double q = 0.7;
  Adsr amp;
  Adsr filter_env;
  double gain = 1;
};

// Two-operator FM: bells with a non-integer ratio, soft keys with ratio 1.
struct BellVoice {
  double ratio = 3.5;
  double index = 2.0;
  double index_decay = 0.3; // seconds
  double decay = 0.8;       // seconds to fall by 1/e
  double release = 0.1;
  double detune_cents = 0; // a second carrier, for shimmer
  double attack = 0.002;
  double gain = 1;
};

// Sine with a few soft harmonics, breath noise and a slow vibrato.
struct FluteVoice {
  double breath = 0.12;
  double chiff = 0.5;
  Vibrato vibrato{0.22, 5.2, 0.12, 0.25};
  double attack = 0.035;
  double release = 0.09;
  double gain = 1;
};

enum class Kind { Tone, Bell, Flute };

struct Instrument {
  Kind kind = Kind::Tone;
  ToneVoice tone;
  BellVoice bell;
  FluteVoice flute;
};

// Seconds a note keeps sounding after its gate closes.
double TailSeconds(const Instrument &inst);

// Adds one note to `out` starting at frame `at`.
void RenderNote(const Instrument &inst, double midi, double velocity,
                double gate, Rng &rng, Stereo &out, size_t at, double pan);

} // namespace audio
