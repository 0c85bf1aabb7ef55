// buffer.cpp — the stereo sample buffer shared by voices, buses and effects.
#include "buffer.h"

#include <algorithm>
#include <cmath>

namespace audio {

Stereo MakeStereo(size_t frames) {
  Stereo s;
  s.l.assign(frames, 0.0f);
  s.r.assign(frames, 0.0f);
  return s;
}

size_t Frames(const Stereo &s) { return s.l.size(); }

void PanGains(double pan, double &left, double &right) {
  double angle =
      (std::clamp(pan, -1.0, 1.0) + 1.0) * 0.25 * 3.14159265358979323846;
  // Scaled so that the centre keeps unit gain on both sides.
  left = std::cos(angle) * std::sqrt(2.0);
  right = std::sin(angle) * std::sqrt(2.0);
}

void AddMono(Stereo &dst, size_t at, const float *mono, size_t n, double gain,
             double pan) {
  if (at >= Frames(dst))
    return;
  double gl, gr;
  PanGains(pan, gl, gr);
  gl *= gain;
  gr *= gain;
  size_t count = std::min(n, Frames(dst) - at);
  float *l = dst.l.data() + at;
  float *r = dst.r.data() + at;
  for (size_t i = 0; i < count; ++i) {
    l[i] += static_cast<float>(mono[i] * gl);
    r[i] += static_cast<float>(mono[i] * gr);
  }
}

void AddStereo(Stereo &dst, const Stereo &src, double gain) {
  size_t count = std::min(Frames(dst), Frames(src));
  for (size_t i = 0; i < count; ++i) {
    dst.l[i] += static_cast<float>(src.l[i] * gain);
    dst.r[i] += static_cast<float>(src.r[i] * gain);
  }
}

} // namespace audio
