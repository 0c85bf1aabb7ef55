// resample.cpp — smooth picture scaling: area average when shrinking,
// bilinear when growing, weighted by alpha so that transparent pixels do
// not darken the edges.
#include "platform/internal.h"
#include "platform/pictures.h"

#include <algorithm>
#include <cmath>

namespace plat {
namespace detail {

namespace {

// For each output index: source indices first..first+count-1 with weights.
struct Taps {
  std::vector<int> first, count, offset;
  std::vector<float> weight;
  void Add(int k, int index, double w) {
    if (count[k] == 0)
      first[k] = index;
    // Indices arrive in increasing order without gaps, except where a tap
    // was dropped (outside the stored box); fill the gap with zero weight.
    while (first[k] + count[k] < index) {
      weight.push_back(0);
      ++count[k];
    }
    weight.push_back(static_cast<float>(w));
    ++count[k];
  }
};

// Source pixels outside [lo, hi) are transparent: they take part in the
// average with weight but add nothing, so they are simply left out.
Taps MakeTaps(int outFirst, int outCount, double origin, double scale,
              int srcLen, int lo, int hi) {
  Taps t;
  t.first.assign(outCount, 0);
  t.count.assign(outCount, 0);
  t.offset.assign(outCount, 0);
  for (int k = 0; k < outCount; ++k) {
    t.offset[k] = static_cast<int>(t.weight.size());
    double u = outFirst + k;
    if (scale >= 1.0) {
      double s0 = origin + u * scale, s1 = s0 + scale;
      int i0 = static_cast<int>(std::floor(s0));
      int i1 = static_cast<int>(std::ceil(s1));
      for (int i = std::max(i0, lo); i < std::min(i1, hi); ++i) {
        double overlap = std::min(s1, i + 1.0) - std::max(s0, double(i));
        if (overlap > 1e-9)
          t.Add(k, i, overlap / scale);
      }
    } else {
      double c = origin + (u + 0.5) * scale - 0.5;
      c = std::clamp(c, 0.0, double(srcLen - 1));
      int i0 = static_cast<int>(std::floor(c));
      double f = c - i0;
      int i1 = std::min(i0 + 1, srcLen - 1);
      if (i0 >= lo && i0 < hi && f < 1.0)
        t.Add(k, i0, 1.0 - f);
      if (i1 != i0 && i1 >= lo && i1 < hi && f > 0.0)
        t.Add(k, i1, f);
    }
  }
  return t;
}

// What std::lround gives for the sums here (finite, far inside long's
// range), without the library call it costs per channel.
long RoundHalfAway(float x) {
  long i = static_cast<long>(x);
  const float frac = x - static_cast<float>(i); // exact: i is x's whole part
  if (frac >= 0.5f)
    ++i;
  else if (frac <= -0.5f)
    --i;
  return i;
}

} // namespace

Picture Resample(const ResampleJob &job) {
  Picture out;
  if (!PictureSizeOk(job.out.w, job.out.h) || job.srcW <= 0 || job.srcH <= 0)
    return out;
  const int ow = job.out.w, oh = job.out.h;
  out.width = ow;
  out.height = oh;
  out.pixels.assign(static_cast<size_t>(ow) * oh * 4, 0);
  const SDL_Rect &b = job.box;
  if (b.w <= 0 || b.h <= 0)
    return out;

  Taps xt = MakeTaps(job.out.x, ow, job.originX, job.scaleX, job.srcW, b.x,
                     b.x + b.w);
  Taps yt = MakeTaps(job.out.y, oh, job.originY, job.scaleY, job.srcH, b.y,
                     b.y + b.h);

  // Horizontal pass per source row (premultiplied floats), kept in a ring
  // of as many rows as an output row reads: the rows an output row uses
  // only ever move down, so a row is made once and dropped when passed.
  const size_t rowFloats = static_cast<size_t>(ow) * 4;
  const int ringRows =
      std::max(1, yt.count.empty()
                      ? 1
                      : *std::max_element(yt.count.begin(), yt.count.end()));
  std::vector<float> ring(rowFloats * ringRows);
  std::vector<int> ringHolds(ringRows, -1); // source row in each slot
  auto row = [&](int y) -> const float * {
    const int slot = (y - b.y) % ringRows;
    float *r = &ring[rowFloats * slot];
    if (ringHolds[slot] == y)
      return r;
    ringHolds[slot] = y;
    const uint8_t *src = job.pixels + static_cast<size_t>(y - b.y) * job.stride;
    for (int k = 0; k < ow; ++k) {
      float acc[4] = {0, 0, 0, 0};
      const float *w = &xt.weight[xt.offset[k]];
      const uint8_t *p = src + static_cast<size_t>(xt.first[k] - b.x) * 4;
      for (int j = 0; j < xt.count[k]; ++j, p += 4) {
        float wa = w[j] * p[3];
        acc[0] += wa * p[0];
        acc[1] += wa * p[1];
        acc[2] += wa * p[2];
        acc[3] += wa;
      }
      std::copy(acc, acc + 4, r + static_cast<size_t>(k) * 4);
    }
    return r;
  };

  std::vector<float> acc(rowFloats);
  for (int k = 0; k < oh; ++k) {
    std::fill(acc.begin(), acc.end(), 0.f);
    const float *w = yt.count[k] ? &yt.weight[yt.offset[k]] : nullptr;
    for (int j = 0; j < yt.count[k]; ++j) {
      const float *r = row(yt.first[k] + j);
      const float wj = w[j];
      for (size_t i = 0; i < rowFloats; ++i)
        acc[i] += wj * r[i];
    }
    uint8_t *dst = &out.pixels[static_cast<size_t>(k) * ow * 4];
    for (int i = 0; i < ow; ++i, dst += 4) {
      const float *a = &acc[static_cast<size_t>(i) * 4];
      long alpha = RoundHalfAway(a[3]);
      if (alpha <= 0)
        continue;
      for (int c = 0; c < 3; ++c)
        dst[c] = static_cast<uint8_t>(
            std::clamp(RoundHalfAway(a[c] / a[3]), 0L, 255L));
      dst[3] = static_cast<uint8_t>(std::min(alpha, 255L));
    }
  }
  return out;
}

} // namespace detail

Picture ResamplePicture(const Picture &src, int w, int h) {
  if (!detail::PictureSizeOk(src.width, src.height) ||
      src.pixels.size() != static_cast<size_t>(src.width) * src.height * 4)
    return {};
  detail::ResampleJob job;
  job.pixels = src.pixels.data();
  job.stride = src.width * 4;
  job.box = {0, 0, src.width, src.height};
  job.srcW = src.width;
  job.srcH = src.height;
  job.scaleX = double(src.width) / w;
  job.scaleY = double(src.height) / h;
  job.out = {0, 0, w, h};
  return detail::Resample(job);
}

} // namespace plat
