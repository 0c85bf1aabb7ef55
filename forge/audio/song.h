// song.h — a music track as parts and drum hits on a sixteenth-note grid,
// and the renderer that turns it into a seamlessly looping stereo buffer.
#pragma once

#include "buffer.h"
#include "drums.h"
#include "effects.h"
#include "instruments.h"
#include "notation.h"

#include <cstdint>
#include <string>
#include <vector>

namespace audio {

struct Part {
  std::string name;
  Instrument instrument;
  std::vector<Note> notes;
  double gain = 1;
  double pan = 0;
  double reverb = 0.2; // send levels
  double echo = 0;
  double legato = 0.95; // share of the written length the note is held
  double duck = 0;      // how far each kick pushes the part down
  double humanise = 0;  // random timing in milliseconds
  uint64_t seed = 1;
};

struct Song {
  std::string title;
  double bpm = 120;
  int bars = 32;
  double swing = 0.5; // where the off-beat eighth falls: 0.5 is straight
  std::vector<Part> parts;
  std::vector<DrumHit> drums;
  double drum_gain = 1;
  DrumTuning tuning;
  ReverbSettings reverb;
  double echo_steps = 3;
  double echo_feedback = 0.35;
  double rms_db = -18;
  double ceiling_db = -2.5;
  uint64_t seed = 1;
};

// Frame at which a step starts, with swing applied inside each beat.
double StepToFrame(const Song &song, double step);
size_t LoopFrames(const Song &song);

// The raw mix of every part, drum and effect over `frames` frames.
Stereo MixSong(const Song &song, size_t frames);

// Renders the song, folds its tail onto the start so that it loops without
// a seam, and masters it to the song's loudness and ceiling.
Stereo RenderSong(const Song &song);

// Appends the hits of a drum bar (one grid line per drum) `count` times
// starting at `bar`.
struct DrumBar {
  const char *kick = "";
  const char *snare = "";
  const char *hat = "";
  const char *open_hat = "";
  const char *clap = "";
  const char *extra = ""; // toms, crash, shaker or rim: see `extra_drum`
  Drum extra_drum = Drum::Crash;
};
void AddDrumBars(Song &song, const DrumBar &bar, int first_bar, int count);
void AddHit(Song &song, double step, Drum drum, double velocity);

} // namespace audio
