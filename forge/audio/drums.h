// drums.h — synthesised percussion: kick, snare, clap, hats, toms, crash and
// shaker, each rendered once per variation and then reused.
#pragma once

#include "buffer.h"

#include <array>
#include <cstdint>
#include <vector>

namespace audio {

enum class Drum {
  Kick,
  Snare,
  Clap,
  ClosedHat,
  OpenHat,
  LowTom,
  MidTom,
  HighTom,
  Crash,
  Shaker,
  Rim,
  Count
};

constexpr int kDrumVariations = 4;

struct DrumKit {
  // One mono sample per variation, so repeated hits do not sound identical.
  std::array<std::array<std::vector<float>, kDrumVariations>,
             static_cast<int>(Drum::Count)>
      samples;
};

// The snare's ring and the toms are pitched, so each song tunes them to
// notes of its key; the toms rise in fourths from the low one.
struct DrumTuning {
  double snare_hz = 196.0;  // G3
  double low_tom_hz = 98.0; // G2, then C3 and F3
};

DrumKit MakeDrumKit(uint64_t seed, const DrumTuning &tuning);

struct DrumHit {
  double step; // in sixteenth notes from the start of the song
  Drum drum;
  double velocity;
};

// Stereo position of each drum as a drummer would sit behind the kit.
double DrumPan(Drum drum);

} // namespace audio
