// effects.h — reverb, echo, DC removal, loop wrapping and the master
// limiter applied to whole rendered tracks.
#pragma once

#include "buffer.h"

#include <cstddef>

namespace audio {

struct ReverbSettings {
  double room = 0.82; // comb feedback: longer tail when higher
  double damp = 0.35; // high frequencies fade faster when higher
  double width = 0.9;
  double predelay = 0.02; // seconds
};

// A network of parallel combs and serial all-passes per channel; returns the
// wet signal only.
Stereo Reverb(const Stereo &in, const ReverbSettings &s);

// Ping-pong echo; returns the wet signal only.
Stereo PingPong(const Stereo &in, size_t delay_frames, double feedback,
                double tone_hz);

// Removes DC and sub-sonic drift with a gentle high-pass.
void RemoveDc(Stereo &s, double cutoff_hz);

// Folds everything past `loop_frames` back onto the start and cuts the
// buffer to that length, so the tail of the last bar rings into the first.
void WrapLoop(Stereo &s, size_t loop_frames);

// Scales the whole buffer so its RMS (both channels) is `rms_db`.
void NormaliseRms(Stereo &s, double rms_db);
void NormalisePeak(Stereo &s, double peak_db);

// Smooth gain reduction wherever a sample would exceed `ceiling_db`. When
// `circular`, the gain curve wraps around so a looped track joins cleanly.
void Limit(Stereo &s, double ceiling_db, bool circular);

// Fades the first and last frames in and out, for one-shot effects.
void FadeEdges(Stereo &s, double fade_in, double fade_out);

double PeakDb(const Stereo &s);
double RmsDb(const Stereo &s);

} // namespace audio
