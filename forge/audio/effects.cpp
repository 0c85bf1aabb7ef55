// effects.cpp — reverb, echo, DC removal, loop wrapping and the limiter.
#include "effects.h"

#include "synth.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

namespace audio {

namespace {

struct Comb {
  std::vector<float> line;
  size_t pos = 0;
  double store = 0;
};

struct Allpass {
  std::vector<float> line;
  size_t pos = 0;
};

double CombStep(Comb &c, double x, double feedback, double damp) {
  double y = c.line[c.pos];
  c.store = y * (1.0 - damp) + c.store * damp;
  c.line[c.pos] = static_cast<float>(x + c.store * feedback);
  if (++c.pos == c.line.size())
    c.pos = 0;
  return y;
}

double AllpassStep(Allpass &a, double x) {
  double b = a.line[a.pos];
  a.line[a.pos] = static_cast<float>(x + b * 0.5);
  if (++a.pos == a.line.size())
    a.pos = 0;
  return b - x;
}

void ReverbChannel(const std::vector<float> &in, std::vector<float> &out,
                   const ReverbSettings &s, size_t spread) {
  static const size_t kCombs[] = {1116, 1188, 1277, 1356,
                                  1422, 1491, 1557, 1617};
  static const size_t kAllpasses[] = {556, 441, 341, 225};
  std::vector<Comb> combs;
  for (size_t len : kCombs)
    combs.push_back(Comb{std::vector<float>(len + spread, 0.0f)});
  std::vector<Allpass> passes;
  for (size_t len : kAllpasses)
    passes.push_back(Allpass{std::vector<float>(len + spread, 0.0f)});
  size_t pre = static_cast<size_t>(s.predelay * kRate);
  out.assign(in.size(), 0.0f);
  for (size_t i = 0; i < in.size(); ++i) {
    double x = i >= pre ? in[i - pre] * 0.022 : 0.0;
    double acc = 0;
    for (Comb &c : combs)
      acc += CombStep(c, x, s.room, s.damp);
    for (Allpass &a : passes)
      acc = AllpassStep(a, acc);
    out[i] = static_cast<float>(acc);
  }
}

} // namespace

Stereo Reverb(const Stereo &in, const ReverbSettings &s) {
  size_t n = Frames(in);
  std::vector<float> mono(n);
  for (size_t i = 0; i < n; ++i)
    mono[i] = 0.5f * (in.l[i] + in.r[i]);
  Stereo wet = MakeStereo(n);
  std::vector<float> a, b;
  ReverbChannel(mono, a, s, 0);
  ReverbChannel(mono, b, s, 23);
  double w1 = 0.5 * (1.0 + s.width), w2 = 0.5 * (1.0 - s.width);
  for (size_t i = 0; i < n; ++i) {
    wet.l[i] = static_cast<float>(a[i] * w1 + b[i] * w2);
    wet.r[i] = static_cast<float>(b[i] * w1 + a[i] * w2);
  }
  return wet;
}

Stereo PingPong(const Stereo &in, size_t delay_frames, double feedback,
                double tone_hz) {
  size_t n = Frames(in);
  Stereo wet = MakeStereo(n);
  std::vector<double> dl(delay_frames, 0.0), dr(delay_frames, 0.0);
  OnePole tl, tr;
  OnePoleTune(tl, tone_hz);
  OnePoleTune(tr, tone_hz);
  size_t pos = 0;
  for (size_t i = 0; i < n; ++i) {
    double yl = dl[pos], yr = dr[pos];
    double mono = 0.5 * (in.l[i] + in.r[i]);
    // The echo enters on the left and bounces between the sides.
    dl[pos] = OnePoleStep(tl, mono + yr * feedback);
    dr[pos] = OnePoleStep(tr, yl * feedback);
    wet.l[i] = static_cast<float>(yl);
    wet.r[i] = static_cast<float>(yr);
    if (++pos == delay_frames)
      pos = 0;
  }
  return wet;
}

void RemoveDc(Stereo &s, double cutoff_hz) {
  double r = std::exp(-2.0 * kPi * cutoff_hz / kRate);
  for (std::vector<float> *ch : {&s.l, &s.r}) {
    double x1 = 0, y1 = 0;
    for (float &v : *ch) {
      double y = v - x1 + r * y1;
      x1 = v;
      y1 = y;
      v = static_cast<float>(y);
    }
  }
}

void WrapLoop(Stereo &s, size_t loop_frames) {
  size_t n = Frames(s);
  for (size_t i = loop_frames; i < n; ++i) {
    size_t j = (i - loop_frames) % loop_frames;
    s.l[j] += s.l[i];
    s.r[j] += s.r[i];
  }
  s.l.resize(loop_frames);
  s.r.resize(loop_frames);
}

double PeakDb(const Stereo &s) {
  double peak = 0;
  for (size_t i = 0; i < Frames(s); ++i)
    peak =
        std::max({peak, std::fabs(double(s.l[i])), std::fabs(double(s.r[i]))});
  return GainToDb(peak);
}

double RmsDb(const Stereo &s) {
  double sum = 0;
  for (size_t i = 0; i < Frames(s); ++i)
    sum += double(s.l[i]) * s.l[i] + double(s.r[i]) * s.r[i];
  return GainToDb(std::sqrt(sum / std::max<size_t>(1, 2 * Frames(s))));
}

static void Scale(Stereo &s, double gain) {
  for (size_t i = 0; i < Frames(s); ++i) {
    s.l[i] = static_cast<float>(s.l[i] * gain);
    s.r[i] = static_cast<float>(s.r[i] * gain);
  }
}

void NormaliseRms(Stereo &s, double rms_db) {
  Scale(s, DbToGain(rms_db - RmsDb(s)));
}
void NormalisePeak(Stereo &s, double peak_db) {
  Scale(s, DbToGain(peak_db - PeakDb(s)));
}

void Limit(Stereo &s, double ceiling_db, bool circular) {
  size_t n = Frames(s);
  if (n == 0)
    return;
  double ceiling = DbToGain(ceiling_db);
  std::vector<double> need(n);
  for (size_t i = 0; i < n; ++i) {
    double a = std::max(std::fabs(double(s.l[i])), std::fabs(double(s.r[i])));
    need[i] = a > ceiling ? ceiling / a : 1.0;
  }
  // Look ahead and behind: the minimum over a window, then its average over
  // a shorter window, never exceeds the gain any sample inside needs.
  const long radius = kRate / 400; // 2.5 ms
  auto at = [&](const std::vector<double> &v, long i) {
    if (circular)
      return v[static_cast<size_t>(((i % long(n)) + long(n)) % long(n))];
    return (i < 0 || i >= long(n)) ? 1.0 : v[static_cast<size_t>(i)];
  };
  std::vector<double> lowest(n);
  std::deque<long> window; // indices with increasing values
  // Iteration i takes in the sample at i + radius; lowest[i] is then the
  // minimum of the samples from i - radius to i + radius.
  for (long i = -2 * radius; i < long(n); ++i) {
    double v = at(need, i + radius);
    while (!window.empty() && at(need, window.back() + radius) >= v)
      window.pop_back();
    window.push_back(i);
    while (window.front() < i - 2 * radius)
      window.pop_front();
    if (i >= 0 && i < long(n))
      lowest[static_cast<size_t>(i)] = at(need, window.front() + radius);
  }
  // Past the ends of a one-shot buffer the nearest minimum stands in: it
  // still covers every sample the average reaches.
  auto near = [&](long i) {
    if (circular)
      return at(lowest, i);
    return lowest[static_cast<size_t>(std::clamp(i, 0L, long(n) - 1))];
  };
  std::vector<double> smooth(n);
  const long half = radius / 2;
  double sum = 0;
  for (long i = -half; i <= half; ++i)
    sum += near(i);
  for (long i = 0; i < long(n); ++i) {
    smooth[static_cast<size_t>(i)] = sum / (2 * half + 1);
    sum += near(i + half + 1) - near(i - half);
  }
  // Slow recovery after each reduction so the gain does not flutter.
  double release = 1.0 - std::exp(-1.0 / (0.08 * kRate));
  double g = 1.0;
  int passes = circular ? 2 : 1;
  for (int p = 0; p < passes; ++p) {
    for (size_t i = 0; i < n; ++i) {
      g = std::min(smooth[i], g + (1.0 - g) * release);
      if (p == passes - 1) {
        s.l[i] = static_cast<float>(s.l[i] * g);
        s.r[i] = static_cast<float>(s.r[i] * g);
      }
    }
  }
}

void FadeEdges(Stereo &s, double fade_in, double fade_out) {
  size_t n = Frames(s);
  size_t fi = std::min(n, static_cast<size_t>(fade_in * kRate));
  size_t fo = std::min(n, static_cast<size_t>(fade_out * kRate));
  for (size_t i = 0; i < fi; ++i) {
    double g = std::sin(0.5 * kPi * i / fi);
    s.l[i] = static_cast<float>(s.l[i] * g * g);
    s.r[i] = static_cast<float>(s.r[i] * g * g);
  }
  for (size_t i = 0; i < fo; ++i) {
    double g = std::sin(0.5 * kPi * i / fo);
    size_t k = n - 1 - i;
    s.l[k] = static_cast<float>(s.l[k] * g * g);
    s.r[k] = static_cast<float>(s.r[k] * g * g);
  }
}

} // namespace audio
