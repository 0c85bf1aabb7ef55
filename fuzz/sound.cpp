// sound.cpp — fuzz target: Ogg Vorbis decoding, mixed and resampled to a
// device format. The first byte picks the format (three rates, mono or
// stereo); the rest is the stream, with every Ogg page's checksum put right
// first so that the search gets past them into the packets.
#include <cstdint>
#include <cstring>
#include <vector>

namespace plat::detail {
// The platform layer's decoder (declared in its internal header, which
// needs the media libraries' headers).
bool DecodeVorbis(const uint8_t *data, size_t size, int rate, int channels,
                  std::vector<uint8_t> &pcm);
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

// Walks the pages from the start; stops at the first that does not fit.
void FixPageChecksums(std::vector<uint8_t> &ogg) {
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
  FixPageChecksums(ogg);
  std::vector<uint8_t> pcm;
  if (plat::detail::DecodeVorbis(ogg.data(), ogg.size(), rate, channels, pcm) &&
      pcm.size() % (2 * channels) != 0)
    __builtin_trap(); // whole frames of 16-bit samples only
  return 0;
}
