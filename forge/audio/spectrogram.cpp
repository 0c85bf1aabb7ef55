// spectrogram.cpp — waveform and spectrogram pictures for review.
#include "spectrogram.h"

#include "analysis.h"
#include "synth.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

namespace audio {

namespace {

// Dark blue through red to yellow-white as the level rises.
void Heat(double v, uint8_t *rgb) {
  v = std::clamp(v, 0.0, 1.0);
  double r = std::clamp(v * 3.0 - 0.6, 0.0, 1.0);
  double g = std::clamp(v * 3.0 - 1.5, 0.0, 1.0);
  double b =
      std::clamp(v < 0.4 ? v * 2.0 + 0.1 : 0.9 - (v - 0.4) * 2.0, 0.0, 1.0);
  rgb[0] = static_cast<uint8_t>(r * 255);
  rgb[1] = static_cast<uint8_t>(g * 255);
  rgb[2] =
      static_cast<uint8_t>(std::max(b, v > 0.9 ? (v - 0.9) * 10 : 0.0) * 255);
}

} // namespace

bool WriteSpectrogram(const Stereo &s, const std::string &png_path) {
  const size_t n = Frames(s);
  const size_t fft = 4096;
  const int wave_h = 120, spec_h = 360;
  const int width = static_cast<int>(std::clamp<size_t>(n / 128, 400, 1600));
  const int height = wave_h + spec_h;
  std::vector<uint8_t> img(static_cast<size_t>(width) * height * 3, 0);
  auto put = [&](int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    uint8_t *p = &img[(static_cast<size_t>(y) * width + x) * 3];
    p[0] = r;
    p[1] = g;
    p[2] = b;
  };

  for (int x = 0; x < width; ++x) {
    size_t a = n * x / width, b = std::max(a + 1, n * (x + 1) / width);
    double lo = 0, hi = 0, sq = 0;
    for (size_t i = a; i < b && i < n; ++i) {
      double v = 0.5 * (s.l[i] + s.r[i]);
      lo = std::min(lo, v);
      hi = std::max(hi, v);
      sq += v * v;
    }
    double rms = std::sqrt(sq / double(b - a));
    int mid = wave_h / 2;
    for (int y = 0; y < wave_h; ++y) {
      double v = double(mid - y) / mid;
      bool in_peak = v <= hi && v >= lo;
      bool in_rms = std::fabs(v) <= rms;
      // Grey lines at -1 dBFS, the ceiling every track must stay under.
      bool ceiling = std::fabs(std::fabs(v) - 0.891) < 0.5 / mid;
      if (in_rms)
        put(x, y, 120, 220, 120);
      else if (in_peak)
        put(x, y, 40, 120, 60);
      else if (ceiling)
        put(x, y, 90, 90, 90);
    }
  }

  std::vector<double> window(fft);
  for (size_t i = 0; i < fft; ++i)
    window[i] = 0.5 - 0.5 * std::cos(2 * kPi * i / (fft - 1));
  const double f_lo = 30, f_hi = 18000;
  std::vector<std::complex<double>> buf(fft);
  for (int x = 0; x < width; ++x) {
    long centre = static_cast<long>(n * (x + 0.5) / width);
    for (size_t i = 0; i < fft; ++i) {
      long k = centre - long(fft / 2) + long(i);
      double v = (k >= 0 && k < long(n)) ? 0.5 * (s.l[k] + s.r[k]) : 0.0;
      buf[i] = {v * window[i], 0};
    }
    Fft(buf);
    for (int y = 0; y < spec_h; ++y) {
      double frac = 1.0 - double(y) / (spec_h - 1);
      double f = f_lo * std::pow(f_hi / f_lo, frac);
      double bin = f * fft / kRate;
      size_t b0 = static_cast<size_t>(bin);
      double mag = std::abs(buf[std::min(b0, fft / 2)]) / (fft / 4);
      double db = GainToDb(mag);
      uint8_t rgb[3];
      Heat((db + 100.0) / 100.0, rgb);
      put(x, wave_h + y, rgb[0], rgb[1], rgb[2]);
    }
  }
  // Octave marks at every C from C2 upwards, so pitches can be read off.
  for (double f = 65.41; f < f_hi; f *= 2) {
    int y = wave_h + static_cast<int>(
                         (1.0 - std::log(f / f_lo) / std::log(f_hi / f_lo)) *
                         (spec_h - 1));
    for (int x = 0; x < 8; ++x)
      put(x, y, 255, 255, 255);
  }

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  return png_image_write_to_file(&image, png_path.c_str(), 0, img.data(), 0,
                                 nullptr) != 0;
}

} // namespace audio
