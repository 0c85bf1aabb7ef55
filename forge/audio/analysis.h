// analysis.h — decodes the forged Ogg files and measures what a listener
// would check: levels, DC, the seam of a loop and the edges of an effect.
#pragma once

#include "buffer.h"

#include <complex>
#include <cstdint>
#include <string>
#include <vector>

namespace audio {

struct Decoded {
  Stereo pcm;
  int rate = 0;
  int channels = 0;
};

bool ReadBytes(const std::string &path, std::vector<uint8_t> &out);
bool DecodeOgg(const std::vector<uint8_t> &bytes, Decoded &out);

struct Levels {
  double peak_db = -240;
  double rms_db = -240;
  double loudest_db = -240; // RMS of the loudest 400 ms
  double dc = 0;            // largest channel mean
  // The seam: the jump from the last sample to the first, and the change of
  // slope across it, against the 99.9th percentile of the same measures
  // inside the track. A seamless loop scores about 1 or less.
  double seam_jump = 0;
  double seam_slope = 0;
  double edge_start_db = -240; // the very first and last sample
  double edge_end_db = -240;
  // Power per octave band centred on 31.5 Hz, 63 Hz ... 16 kHz, in dB
  // relative to the strongest band: the tonal balance of the mix.
  double bands[10] = {};
};

Levels Measure(const Stereo &s);

// In-place radix-2 FFT; the size must be a power of two.
void Fft(std::vector<std::complex<double>> &a);

} // namespace audio
