// sound.cpp — fuzz target: Ogg Vorbis decoding, mixed and resampled to a
// device format. The first byte picks the format (three rates, mono or
// stereo); the rest is the stream, with every Ogg page's checksum put right
// first so that the search gets past them into the packets.
//
// Stream rates below 8000 Hz are raised to it. A header may claim 1 Hz, and
// then a few hundred frames legitimately resample to the decoder's cap of
// ten minutes, which takes longer under the sanitizers than the time an
// input is given; the platform's tests cover that cap.
#include <cstdint>
#include <cstring>
#include <vector>

namespace plat::detail {
// The platform layer's decoder (declared in its internal header, which
// needs the media libraries' headers).
bool DecodeVorbis(const uint8_t *data, size_t size, int rate, int channels,
                  std::vector<uint8_t> &pcm);
bool VorbisStreamable(const uint8_t *data, size_t size);
} // namespace plat::detail

// libvorbisfile 1.3.7 loses a few bytes in ov_open_callbacks when a chained
// stream's later link has broken headers (its serial number list on that
// error path). No caller can free them; the game decodes only its own
// archive's sounds, once, so the leak is accepted here and nowhere else.
extern "C" const char *__lsan_default_suppressions() {
  return "leak:libvorbisfile.so\n";
}

namespace {

uint32_t OggCrc(const uint8_t *p, size_t n) {
  static const auto table = [] {
    std::vector<uint32_t> t(256);
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t r = i << 24;
      for (int k = 0; k < 8; ++k)
        r = r & 0x80000000u ? (r << 1) ^ 0x04C11DB7u : r << 1;
      t[i] = r;
    }
    return t;
  }();
  uint32_t crc = 0;
  for (size_t i = 0; i < n; ++i)
    crc = (crc << 8) ^ table[((crc >> 24) ^ p[i]) & 0xFF];
  return crc;
}

constexpr uint32_t kLowestRate = 8000;

// A page whose body is a Vorbis identification header: the rate, a
// little-endian 32-bit number after type, "vorbis", version and channels.
void RaiseLowRate(uint8_t *body, size_t size) {
  if (size < 16 || std::memcmp(body, "\x01vorbis", 7) != 0)
    return;
  uint8_t *at = body + 12;
  const uint32_t rate = uint32_t(at[0]) | uint32_t(at[1]) << 8 |
                        uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
  if (rate >= kLowestRate)
    return;
  for (int i = 0; i < 4; ++i)
    at[i] = static_cast<uint8_t>(kLowestRate >> (8 * i));
}

// Puts right the checksum of each page from the start, after raising a low
// rate; stops at the first page that does not fit.
void FixPages(std::vector<uint8_t> &ogg) {
  size_t pos = 0;
  while (ogg.size() >= pos + 27 && std::memcmp(&ogg[pos], "OggS", 4) == 0) {
    const size_t segments = ogg[pos + 26];
    if (ogg.size() < pos + 27 + segments)
      return;
    size_t body = 0;
    for (size_t i = 0; i < segments; ++i)
      body += ogg[pos + 27 + i];
    const size_t length = 27 + segments + body;
    if (ogg.size() < pos + length)
      return;
    RaiseLowRate(ogg.data() + pos + 27 + segments, body);
    std::memset(&ogg[pos + 22], 0, 4);
    const uint32_t crc = OggCrc(&ogg[pos], length);
    for (int i = 0; i < 4; ++i)
      ogg[pos + 22 + i] = static_cast<uint8_t>(crc >> (8 * i));
    pos += length;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0)
    return 0;
  static const int kRates[] = {22050, 44100, 48000};
  const int rate = kRates[(data[0] >> 1) % 3];
  const int channels = data[0] & 1 ? 2 : 1;
  std::vector<uint8_t> ogg(data + 1, data + size);
  FixPages(ogg);
  std::vector<uint8_t> pcm;
  if (plat::detail::DecodeVorbis(ogg.data(), ogg.size(), rate, channels, pcm) &&
      pcm.size() % (2 * channels) != 0)
    __builtin_trap(); // whole frames of 16-bit samples only
  // The check made on music that is decoded as it plays.
  plat::detail::VorbisStreamable(ogg.data(), ogg.size());
  return 0;
}
