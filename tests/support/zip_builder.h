// zip_builder.h — writes small ZIP archives with stored entries, so tests
// can make archives with any entry names, hostile ones included.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace testzip {

inline uint32_t Crc32(const std::string &data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k)
      crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

inline void Put16(std::string &out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
inline void Put32(std::string &out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// (name, content) pairs, stored without compression, UTF-8 names flagged.
inline std::string
Build(const std::vector<std::pair<std::string, std::string>> &entries) {
  std::string out, central;
  for (const auto &[name, data] : entries) {
    const uint32_t offset = static_cast<uint32_t>(out.size());
    const uint32_t size = static_cast<uint32_t>(data.size());
    // What the local and the central header share: version 2.0, UTF-8
    // names, stored, a fixed date, CRC, sizes, name length, no extra field.
    std::string shared;
    for (uint32_t v : {20u, 0x0800u, 0u, 0u, 0x21u})
      Put16(shared, v);
    for (uint32_t v : {Crc32(data), size, size})
      Put32(shared, v);
    Put16(shared, static_cast<uint32_t>(name.size()));
    Put16(shared, 0);
    Put32(out, 0x04034b50);
    out += shared + name + data;
    Put32(central, 0x02014b50);
    Put16(central, 20);
    central += shared;
    for (int i = 0; i < 3; ++i) // comment length, disk, internal attributes
      Put16(central, 0);
    Put32(central, 0);
    Put32(central, offset);
    central += name;
  }
  const uint32_t centralOffset = static_cast<uint32_t>(out.size());
  out += central;
  Put32(out, 0x06054b50);
  for (uint32_t v : {0u, 0u, static_cast<uint32_t>(entries.size()),
                     static_cast<uint32_t>(entries.size())})
    Put16(out, v);
  Put32(out, static_cast<uint32_t>(central.size()));
  Put32(out, centralOffset);
  Put16(out, 0);
  return out;
}

} // namespace testzip
