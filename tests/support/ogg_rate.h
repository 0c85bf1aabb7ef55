// ogg_rate.h — rewriting the sample rate of an Ogg Vorbis file's
// identification header, with the page checksum fixed so that a decoder
// still accepts the page: how a damaged header looks to the game.
#pragma once

#include <cstdint>
#include <cstring>
#include <vector>

namespace ogg_test {

// Ogg's page checksum: CRC-32 with polynomial 0x04C11DB7, not reflected,
// starting at zero, over the page with its checksum field zeroed.
inline uint32_t PageCrc(const uint8_t *data, size_t size) {
  uint32_t crc = 0;
  for (size_t i = 0; i < size; ++i) {
    crc ^= uint32_t(data[i]) << 24;
    for (int k = 0; k < 8; ++k)
      crc = (crc << 1) ^ (0x04C11DB7u & (0u - (crc >> 31)));
  }
  return crc;
}

// Sets the rate in the identification header on the first page and fixes
// that page's checksum. False when the file does not start that way.
inline bool SetVorbisRate(std::vector<uint8_t> &ogg, uint32_t rate) {
  if (ogg.size() < 27 || std::memcmp(ogg.data(), "OggS", 4) != 0)
    return false;
  const size_t segments = ogg[26];
  size_t body = 27 + segments;
  if (ogg.size() < body)
    return false;
  size_t bodySize = 0;
  for (size_t i = 0; i < segments; ++i)
    bodySize += ogg[27 + i];
  // Packet type 1, "vorbis", version (4 bytes), channels, rate (LE).
  if (bodySize < 16 || ogg.size() < body + bodySize || ogg[body] != 1 ||
      std::memcmp(&ogg[body + 1], "vorbis", 6) != 0)
    return false;
  for (int i = 0; i < 4; ++i)
    ogg[body + 12 + i] = uint8_t(rate >> (8 * i));
  std::memset(&ogg[22], 0, 4);
  const uint32_t crc = PageCrc(ogg.data(), body + bodySize);
  for (int i = 0; i < 4; ++i)
    ogg[22 + i] = uint8_t(crc >> (8 * i));
  return true;
}

} // namespace ogg_test
