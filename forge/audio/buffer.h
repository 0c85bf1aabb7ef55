// buffer.h — the stereo sample buffer shared by voices, buses and effects.
#pragma once

#include <cstddef>
#include <vector>

namespace audio {

struct Stereo {
  std::vector<float> l;
  std::vector<float> r;
};

Stereo MakeStereo(size_t frames);
size_t Frames(const Stereo &s);

// Constant-power pan: -1 hard left, 0 centre, +1 hard right.
void PanGains(double pan, double &left, double &right);

// Adds a mono signal at frame `at`, cut off at the end of the buffer.
void AddMono(Stereo &dst, size_t at, const float *mono, size_t n, double gain,
             double pan);
void AddStereo(Stereo &dst, const Stereo &src, double gain);

} // namespace audio
