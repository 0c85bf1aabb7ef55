// analysis.cpp — decoding and measurement of forged sounds.
#include "analysis.h"

#include "synth.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace audio {

namespace {

struct Memory {
  const std::vector<uint8_t> *bytes;
  size_t pos;
};

size_t MemRead(void *dst, size_t size, size_t count, void *src) {
  Memory *m = static_cast<Memory *>(src);
  size_t want = size * count;
  size_t left = m->bytes->size() - m->pos;
  size_t n = std::min(want, left);
  std::memcpy(dst, m->bytes->data() + m->pos, n);
  m->pos += n;
  return size ? n / size : 0;
}

int MemSeek(void *src, ogg_int64_t offset, int whence) {
  Memory *m = static_cast<Memory *>(src);
  ogg_int64_t base = whence == SEEK_SET   ? 0
                     : whence == SEEK_CUR ? ogg_int64_t(m->pos)
                                          : ogg_int64_t(m->bytes->size());
  ogg_int64_t to = base + offset;
  if (to < 0 || to > ogg_int64_t(m->bytes->size()))
    return -1;
  m->pos = static_cast<size_t>(to);
  return 0;
}

long MemTell(void *src) {
  return static_cast<long>(static_cast<Memory *>(src)->pos);
}

double Percentile(std::vector<double> v, double p) {
  if (v.empty())
    return 0;
  size_t k = std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1)));
  std::nth_element(v.begin(), v.begin() + static_cast<long>(k), v.end());
  return v[k];
}

} // namespace

bool ReadBytes(const std::string &path, std::vector<uint8_t> &out) {
  std::FILE *f = std::fopen(path.c_str(), "rb");
  if (!f)
    return false;
  out.clear();
  uint8_t buf[65536];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
    out.insert(out.end(), buf, buf + n);
  std::fclose(f);
  return true;
}

bool DecodeOgg(const std::vector<uint8_t> &bytes, Decoded &out) {
  Memory mem{&bytes, 0};
  ov_callbacks cb{MemRead, MemSeek, nullptr, MemTell};
  OggVorbis_File vf;
  if (ov_open_callbacks(&mem, &vf, nullptr, 0, cb) != 0)
    return false;
  vorbis_info *vi = ov_info(&vf, -1);
  out.rate = static_cast<int>(vi->rate);
  out.channels = vi->channels;
  out.pcm = MakeStereo(0);
  int section = 0;
  for (;;) {
    float **pcm = nullptr;
    long n = ov_read_float(&vf, &pcm, 4096, &section);
    if (n < 0) {
      ov_clear(&vf);
      return false;
    }
    if (n == 0)
      break;
    for (long i = 0; i < n; ++i) {
      out.pcm.l.push_back(pcm[0][i]);
      out.pcm.r.push_back(pcm[out.channels > 1 ? 1 : 0][i]);
    }
  }
  ov_clear(&vf);
  return true;
}

Levels Measure(const Stereo &s) {
  Levels m;
  size_t n = Frames(s);
  if (n < 4)
    return m;
  double peak = 0, sum = 0, mean_l = 0, mean_r = 0;
  for (size_t i = 0; i < n; ++i) {
    peak =
        std::max({peak, std::fabs(double(s.l[i])), std::fabs(double(s.r[i]))});
    sum += double(s.l[i]) * s.l[i] + double(s.r[i]) * s.r[i];
    mean_l += s.l[i];
    mean_r += s.r[i];
  }
  m.peak_db = GainToDb(peak);
  m.rms_db = GainToDb(std::sqrt(sum / (2.0 * n)));
  m.dc = std::max(std::fabs(mean_l / n), std::fabs(mean_r / n));

  size_t window = std::min(n, static_cast<size_t>(0.4 * kRate));
  double acc = 0, loudest = 0;
  for (size_t i = 0; i < n; ++i) {
    acc += double(s.l[i]) * s.l[i] + double(s.r[i]) * s.r[i];
    if (i >= window)
      acc -= double(s.l[i - window]) * s.l[i - window] +
             double(s.r[i - window]) * s.r[i - window];
    if (i + 1 >= window)
      loudest = std::max(loudest, acc);
  }
  m.loudest_db = GainToDb(std::sqrt(std::max(0.0, loudest) / (2.0 * window)));

  std::vector<double> steps, curves;
  steps.reserve(2 * n);
  curves.reserve(2 * n);
  double jump = 0, slope = 0;
  for (const std::vector<float> *ch : {&s.l, &s.r}) {
    const std::vector<float> &x = *ch;
    for (size_t i = 2; i < n; ++i) {
      steps.push_back(std::fabs(double(x[i]) - x[i - 1]));
      curves.push_back(std::fabs(double(x[i]) - 2.0 * x[i - 1] + x[i - 2]));
    }
    jump = std::max(jump, std::fabs(double(x[0]) - x[n - 1]));
    // Second difference across the seam: x[n-2], x[n-1], x[0] and x[n-1], x[0],
    // x[1].
    slope =
        std::max({slope, std::fabs(double(x[0]) - 2.0 * x[n - 1] + x[n - 2]),
                  std::fabs(double(x[1]) - 2.0 * x[0] + x[n - 1])});
  }
  double typical_step = Percentile(steps, 0.999);
  double typical_curve = Percentile(curves, 0.999);
  m.seam_jump = typical_step > 0 ? jump / typical_step : 0;
  m.seam_slope = typical_curve > 0 ? slope / typical_curve : 0;

  m.edge_start_db = GainToDb(std::max(std::fabs(s.l[0]), std::fabs(s.r[0])));
  m.edge_end_db =
      GainToDb(std::max(std::fabs(s.l[n - 1]), std::fabs(s.r[n - 1])));

  const size_t size = 8192;
  std::vector<double> power(size / 2, 0.0);
  std::vector<std::complex<double>> buf(size);
  for (size_t at = 0; at + size <= n || at == 0; at += size / 2) {
    for (size_t i = 0; i < size; ++i) {
      double w = 0.5 - 0.5 * std::cos(2 * kPi * i / size);
      double v = at + i < n ? 0.5 * (s.l[at + i] + s.r[at + i]) : 0.0;
      buf[i] = {v * w, 0};
    }
    Fft(buf);
    for (size_t k = 0; k < size / 2; ++k)
      power[k] += std::norm(buf[k]);
    if (at + size >= n)
      break;
  }
  double top = -1e9;
  for (int b = 0; b < 10; ++b) {
    double centre = 31.25 * std::pow(2.0, b);
    double band = 0;
    for (size_t k = 1; k < size / 2; ++k) {
      double f = double(k) * kRate / size;
      if (f >= centre / std::sqrt(2.0) && f < centre * std::sqrt(2.0))
        band += power[k];
    }
    m.bands[b] = 10.0 * std::log10(band + 1e-30);
    top = std::max(top, m.bands[b]);
  }
  for (double &b : m.bands)
    b -= top;
  return m;
}

void Fft(std::vector<std::complex<double>> &a) {
  size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1)
      j ^= bit;
    j ^= bit;
    if (i < j)
      std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    std::complex<double> w(std::cos(-2 * kPi / len), std::sin(-2 * kPi / len));
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> u(1, 0);
      for (size_t k = 0; k < len / 2; ++k) {
        std::complex<double> x = a[i + k], y = a[i + k + len / 2] * u;
        a[i + k] = x + y;
        a[i + k + len / 2] = x - y;
        u *= w;
      }
    }
  }
}

} // namespace audio
