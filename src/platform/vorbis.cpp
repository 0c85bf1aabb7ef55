// vorbis.cpp — Ogg Vorbis decoding from memory with libvorbisfile, mixed
// down or up to the device's channels and resampled to its rate.
#include "platform/internal.h"

#include <ogg/ogg.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

namespace plat::detail {

namespace {

struct MemoryReader {
  const uint8_t *data;
  size_t size;
  size_t pos;
};

size_t ReadCb(void *dst, size_t size, size_t count, void *src) {
  auto *m = static_cast<MemoryReader *>(src);
  if (size == 0)
    return 0;
  size_t n = std::min(count, (m->size - m->pos) / size);
  std::memcpy(dst, m->data + m->pos, n * size);
  m->pos += n * size;
  return n;
}

int SeekCb(void *src, ogg_int64_t offset, int whence) {
  auto *m = static_cast<MemoryReader *>(src);
  ogg_int64_t base = whence == SEEK_SET   ? 0
                     : whence == SEEK_CUR ? ogg_int64_t(m->pos)
                                          : ogg_int64_t(m->size);
  ogg_int64_t to = base + offset;
  if (to < 0 || to > ogg_int64_t(m->size))
    return -1;
  m->pos = size_t(to);
  return 0;
}

long TellCb(void *src) { return long(static_cast<MemoryReader *>(src)->pos); }

// Opens the stream the reader holds (headers read, links found).
bool OpenFromMemory(MemoryReader &reader, OggVorbis_File &vf) {
  ov_callbacks cb{ReadCb, SeekCb, nullptr, TellCb};
  return ov_open_callbacks(&reader, &vf, nullptr, 0, cb) == 0;
}

// Decoded sound stops here: ten minutes of stereo at 48 kHz, far beyond any
// music track, so that a hostile file cannot exhaust memory.
constexpr size_t kMaxFrames = size_t(48000) * 600;

// One stretch of stereo frames at one rate (a chained stream may change
// rate between its links).
struct Segment {
  long rate = 0;
  std::vector<float> frames; // interleaved left, right
};

void Downmix(float **in, int channels, long n, std::vector<float> &out) {
  for (long i = 0; i < n; ++i) {
    float l, r;
    switch (channels) {
    case 1:
      l = r = in[0][i];
      break;
    case 2:
      l = in[0][i], r = in[1][i];
      break;
    case 3: // left, centre, right
      l = (in[0][i] + 0.7071f * in[1][i]) / 1.7071f;
      r = (in[2][i] + 0.7071f * in[1][i]) / 1.7071f;
      break;
    case 4: // front left, front right, rear left, rear right
      l = (in[0][i] + in[2][i]) * 0.5f;
      r = (in[1][i] + in[3][i]) * 0.5f;
      break;
    default: // front left, centre, front right, rear left, rear right...
      l = (in[0][i] + 0.7071f * in[1][i] + in[3][i]) / 2.7071f;
      r = (in[2][i] + 0.7071f * in[1][i] + in[4][i]) / 2.7071f;
      break;
    }
    out.push_back(l);
    out.push_back(r);
  }
}

// Frames a segment has at the device rate. A header may claim any rate
// from 1 Hz up: the result is computed without overflow and may well be far
// beyond the cap.
uint64_t FramesAtRate(const Segment &s, int rate) {
  const double m = std::round(double(s.frames.size() / 2) * rate / s.rate);
  return m < double(kMaxFrames) ? uint64_t(m) : uint64_t(kMaxFrames) + 1;
}

// Linear interpolation to the device rate, m frames (FramesAtRate). The
// output covers the whole input, last frame included.
std::vector<float> ToRate(const Segment &s, int rate, size_t m) {
  const size_t n = s.frames.size() / 2;
  if (n == 0)
    return {};
  std::vector<float> out(m * 2);
  const double step = double(s.rate) / rate;
  for (size_t j = 0; j < m; ++j) {
    double pos = j * step;
    size_t i = std::min(size_t(pos), n - 1);
    size_t k = std::min(i + 1, n - 1);
    float f = float(pos - double(i));
    for (int c = 0; c < 2; ++c)
      out[j * 2 + c] = s.frames[i * 2 + c] * (1 - f) + s.frames[k * 2 + c] * f;
  }
  return out;
}

} // namespace

bool DecodeVorbis(const uint8_t *data, size_t size, int rate, int channels,
                  std::vector<uint8_t> &pcm) {
  pcm.clear();
  if (!data || size == 0 || rate <= 0 || channels < 1 || channels > 2)
    return false;
  MemoryReader reader{data, size, 0};
  OggVorbis_File vf;
  if (!OpenFromMemory(reader, vf))
    return false;
  // The common case, one stream already in the device's format: integer
  // samples straight into the final buffer, sized from the stream's length.
  {
    vorbis_info *info = ov_info(&vf, -1);
    const ogg_int64_t frames = ov_pcm_total(&vf, -1);
    if (ov_streams(&vf) == 1 && info && info->rate == rate &&
        info->channels == channels && frames > 0 &&
        static_cast<uint64_t>(frames) <= kMaxFrames) {
      const size_t bytesPerFrame = sizeof(int16_t) * size_t(channels);
      pcm.resize(size_t(frames) * bytesPerFrame);
      size_t at = 0;
      bool ok = true;
      while (at < pcm.size()) {
        int link = 0;
        long n = ov_read(&vf, reinterpret_cast<char *>(pcm.data() + at),
                         int(std::min<size_t>(pcm.size() - at, 1 << 16)),
                         SDL_BYTEORDER == SDL_BIG_ENDIAN, 2, 1, &link);
        if (n == OV_HOLE)
          continue;
        if (n <= 0) {
          ok = n == 0;
          break;
        }
        at += size_t(n);
      }
      ov_clear(&vf);
      pcm.resize(at - at % bytesPerFrame);
      if (!ok || pcm.empty()) {
        pcm.clear();
        return false;
      }
      return true;
    }
  }
  std::vector<Segment> segments;
  size_t total = 0;
  bool ok = true;
  for (;;) {
    float **buffers = nullptr;
    int link = 0;
    long n = ov_read_float(&vf, &buffers, 4096, &link);
    if (n == OV_HOLE)
      continue; // a gap in the data: carry on with what follows
    if (n < 0) {
      ok = false;
      break;
    }
    if (n == 0)
      break;
    vorbis_info *info = ov_info(&vf, link);
    if (!info || info->channels < 1) {
      ok = false;
      break;
    }
    if (segments.empty() || segments.back().rate != info->rate)
      segments.push_back(Segment{info->rate, {}});
    Downmix(buffers, info->channels, n, segments.back().frames);
    total += size_t(n);
    if (total > kMaxFrames) {
      ok = false;
      break;
    }
  }
  ov_clear(&vf);
  if (!ok || total == 0)
    return false;

  // The cap holds for the sound at the device rate too: a header claiming
  // a very low rate would multiply the length. Checked before allocating.
  uint64_t outFrames = 0;
  for (const Segment &seg : segments) {
    if (seg.rate <= 0)
      return false;
    outFrames +=
        seg.rate == rate ? seg.frames.size() / 2 : FramesAtRate(seg, rate);
    if (outFrames > kMaxFrames)
      return false;
  }
  pcm.reserve(size_t(outFrames) * channels * sizeof(int16_t));

  auto to16 = [](float v) {
    return int16_t(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f));
  };
  for (Segment &seg : segments) {
    if (seg.rate != rate)
      seg.frames = ToRate(seg, rate, size_t(FramesAtRate(seg, rate)));
    size_t at = pcm.size();
    pcm.resize(at + seg.frames.size() / 2 * channels * sizeof(int16_t));
    uint8_t *out = pcm.data() + at;
    for (size_t i = 0; i < seg.frames.size(); i += 2) {
      int16_t v[2] = {to16(seg.frames[i]), to16(seg.frames[i + 1])};
      if (channels == 1)
        v[0] = to16((seg.frames[i] + seg.frames[i + 1]) * 0.5f);
      std::memcpy(out, v, channels * sizeof(int16_t)); // native byte order
      out += channels * sizeof(int16_t);
    }
    std::vector<float>().swap(seg.frames);
  }
  return true;
}

bool VorbisStreamable(const uint8_t *data, size_t size) {
  if (!data || size == 0 || size > size_t(INT_MAX))
    return false;
  // Every page, in one pass: a page whose checksum fails, or bytes between
  // pages, make libogg skip ahead (a negative answer).
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  bool intact = true;
  long pages = 0;
  for (size_t at = 0; intact && at < size;) {
    const size_t n = std::min<size_t>(size - at, 1 << 16);
    char *buffer = ogg_sync_buffer(&sync, long(n));
    if (!buffer) {
      intact = false;
      break;
    }
    std::memcpy(buffer, data + at, n);
    ogg_sync_wrote(&sync, long(n));
    at += n;
    ogg_page page;
    for (int r; (r = ogg_sync_pageout(&sync, &page)) != 0;) {
      if (r < 0) {
        intact = false;
        break;
      }
      ++pages;
    }
  }
  // Nothing may be left over: a cut last page never comes out.
  intact = intact && pages > 0 && sync.fill == sync.returned;
  ogg_sync_clear(&sync);
  if (!intact)
    return false;

  MemoryReader reader{data, size, 0};
  OggVorbis_File vf;
  if (!OpenFromMemory(reader, vf))
    return false;
  bool playable = ov_pcm_total(&vf, -1) > 0;
  for (int link = 0; playable && link < ov_streams(&vf); ++link) {
    const vorbis_info *info = ov_info(&vf, link);
    playable = info && info->rate >= 8000 && info->rate <= 192000 &&
               info->channels >= 1 && info->channels <= 8;
  }
  ov_clear(&vf);
  return playable;
}

} // namespace plat::detail
