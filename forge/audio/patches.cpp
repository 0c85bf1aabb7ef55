// patches.cpp — the instrument presets.
#include "patches.h"

namespace audio {

Instrument SquareLead(double duty, double brightness) {
  Instrument inst;
  ToneVoice &v = inst.tone;
  v.wave = Wave::Pulse;
  v.duty = duty;
  v.pwm_depth = 0.06;
  v.pwm_rate = 0.4;
  v.unison = 2;
  v.detune_cents = 6;
  v.spread = 0.15;
  v.vibrato = Vibrato{0.18, 5.6, 0.16, 0.25};
  v.scoop = 0.25;
  v.cutoff = 2600 * brightness;
  v.env_cutoff = 2200 * brightness;
  v.key_track = 0.6;
  v.q = 0.8;
  v.amp = Adsr{0.006, 0.25, 0.72, 0.09};
  v.filter_env = Adsr{0.002, 0.18, 0.25, 0.1};
  v.gain = 0.32;
  return inst;
}

Instrument ChipArp() {
  Instrument inst;
  ToneVoice &v = inst.tone;
  v.wave = Wave::Pulse;
  v.duty = 0.125;
  v.cutoff = 3600;
  v.env_cutoff = 2500;
  v.key_track = 0.4;
  v.amp = Adsr{0.002, 0.09, 0.35, 0.05};
  v.filter_env = Adsr{0.001, 0.06, 0.0, 0.05};
  v.gain = 0.5;
  return inst;
}

Instrument Bell() {
  Instrument inst;
  inst.kind = Kind::Bell;
  BellVoice &b = inst.bell;
  b.ratio = 3.0; // harmonic partials: bright, and never against the chord
  b.index = 1.6;
  b.index_decay = 0.18;
  b.decay = 0.55;
  b.release = 0.9;
  b.detune_cents = 4;
  b.gain = 0.3;
  return inst;
}

Instrument ElectricPiano() {
  Instrument inst;
  inst.kind = Kind::Bell;
  BellVoice &b = inst.bell;
  b.ratio = 1.0;
  b.index = 1.3;
  b.index_decay = 0.25;
  b.decay = 0.9;
  b.release = 0.12;
  b.detune_cents = 3;
  b.attack = 0.003;
  b.gain = 0.22;
  return inst;
}

Instrument SawPad(double cutoff) {
  Instrument inst;
  ToneVoice &v = inst.tone;
  v.wave = Wave::Saw;
  v.unison = 3;
  v.detune_cents = 11;
  v.spread = 0.6;
  v.cutoff = cutoff;
  v.env_cutoff = cutoff * 0.6;
  v.key_track = 0.3;
  v.vel_cutoff = 0.2;
  v.q = 0.6;
  v.amp = Adsr{0.12, 0.4, 0.8, 0.35};
  v.filter_env = Adsr{0.3, 0.8, 0.3, 0.4};
  v.gain = 0.11;
  return inst;
}

Instrument PluckBass(double brightness) {
  Instrument inst;
  ToneVoice &v = inst.tone;
  v.wave = Wave::Saw;
  v.sub_level = 0.7;
  v.cutoff = 260;
  v.env_cutoff = 1700 * brightness;
  v.key_track = 0.5;
  v.vel_cutoff = 0.5;
  v.q = 0.9;
  v.amp = Adsr{0.003, 0.3, 0.55, 0.05};
  v.filter_env = Adsr{0.001, 0.13, 0.1, 0.06};
  v.gain = 0.42;
  return inst;
}

Instrument Brass() {
  Instrument inst;
  ToneVoice &v = inst.tone;
  v.wave = Wave::Saw;
  v.unison = 2;
  v.detune_cents = 7;
  v.spread = 0.4;
  v.vibrato = Vibrato{0.08, 5.0, 0.25, 0.3};
  v.scoop = 0.4;
  v.scoop_time = 0.05;
  v.cutoff = 700;
  v.env_cutoff = 2600;
  v.key_track = 0.5;
  v.vel_cutoff = 0.5;
  v.q = 0.7;
  v.amp = Adsr{0.025, 0.2, 0.8, 0.12};
  v.filter_env = Adsr{0.05, 0.35, 0.35, 0.15};
  v.gain = 0.16;
  return inst;
}

Instrument Flute() {
  Instrument inst;
  inst.kind = Kind::Flute;
  inst.flute.gain = 0.34;
  return inst;
}

} // namespace audio
