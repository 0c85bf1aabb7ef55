// spectrum.h — what the sound tests listen with: the power spectrum of a
// stretch of one channel.
#pragma once

#include "analysis.h"
#include "synth.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace audio_test {

// Of `count` samples of x from `from`, Hann-windowed, in an FFT of 16384.
struct Spectrum {
  std::vector<double> power;
  Spectrum(const std::vector<float> &x, size_t from, size_t count) {
    std::vector<std::complex<double>> buf(16384);
    count = std::min({count, buf.size(), x.size() - from});
    for (size_t i = 0; i < count; ++i)
      buf[i] = x[from + i] * (0.5 - 0.5 * std::cos(2 * audio::kPi * i / count));
    audio::Fft(buf);
    for (size_t k = 0; k < buf.size() / 2; ++k)
      power.push_back(std::norm(buf[k]));
  }
  static double Hz(size_t k) { return double(k) * audio::kRate / 16384; }
  // The strongest bin between lo and hi Hz, and its frequency.
  size_t Strongest(double lo, double hi) const {
    size_t best = size_t(std::ceil(lo / Hz(1)));
    for (size_t k = best; k < power.size() && Hz(k) <= hi; ++k)
      best = power[k] > power[best] ? k : best;
    return best;
  }
  double Dominant(double lo, double hi) const { return Hz(Strongest(lo, hi)); }
  // The strongest between lo and hi against the strongest of 50 Hz..5 kHz.
  double Db(double lo, double hi) const {
    return 10 *
           std::log10(power[Strongest(lo, hi)] / power[Strongest(50, 5000)]);
  }
  double ShareBelow(double hz) const {
    double below = 0, above = 0;
    for (size_t k = 1; k < power.size(); ++k)
      (Hz(k) < hz ? below : above) += power[k];
    return below / (below + above);
  }
};

} // namespace audio_test
