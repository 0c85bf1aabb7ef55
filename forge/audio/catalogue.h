// catalogue.h — every sound the forge makes: its archive entry name, how it
// is made and its fixed Ogg stream serial.
#pragma once

#include "buffer.h"

#include <vector>

namespace audio {

struct SoundEntry {
  const char *file;
  Stereo (*make)();
  bool music; // loops in the game
  int serial;
};

const std::vector<SoundEntry> &Catalogue();

constexpr float kQuality = 0.45f;

} // namespace audio
