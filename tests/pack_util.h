// pack_util.h — helpers of the pack tests: a plain reference unpacker,
// archives assembled by hand, and sample data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace packtest {

// The format read literally: bit by bit, byte by byte, every read checked.
inline bool ReferenceUnpack(const std::vector<uint8_t> &in, size_t outSize,
                            std::vector<uint8_t> &out, size_t &used) {
  out.clear();
  used = 0;
  if (outSize == 0)
    return true;
  if (in.empty())
    return false;
  size_t ip = 0;
  out.push_back(in[ip++]);
  uint32_t tag = 0;
  unsigned left = 0;
  auto bit = [&](unsigned &b) {
    if (left == 0) {
      if (in.size() - ip < 2)
        return false;
      tag = in[ip] | (in[ip + 1] << 8);
      ip += 2;
      left = 16;
    }
    b = (tag >> --left) & 1;
    return true;
  };
  auto gamma = [&](uint64_t &v) {
    v = 1;
    unsigned b, more;
    do {
      if (!bit(b))
        return false;
      v = v * 2 + b;
      if (!bit(more) || (v >> 40))
        return false;
    } while (more);
    return true;
  };
  while (out.size() < outSize) {
    unsigned isMatch;
    if (!bit(isMatch))
      return false;
    if (!isMatch) {
      if (ip >= in.size())
        return false;
      out.push_back(in[ip++]);
      continue;
    }
    uint64_t l, p;
    if (!gamma(l) || !gamma(p) || ip >= in.size())
      return false;
    const uint64_t len = l + 2, dist = (p - 2) * 256 + in[ip++] + 1;
    if (dist > out.size() || len > outSize - out.size())
      return false;
    for (uint64_t k = 0; k < len; ++k)
      out.push_back(out[out.size() - dist]);
  }
  used = ip;
  return true;
}

// ---------------------------------------------------------------------------
// Archives assembled by hand

inline void PutLe(std::vector<uint8_t> &out, uint64_t v, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

inline std::vector<uint8_t> ArchiveStart(int version) {
  return {static_cast<uint8_t>(version == 1 ? 0x31 : 0x32), 0x7A, 0x6C, 0x70};
}

// An entry's header, name and data; a stored size or name length given
// overrides the true one, as damage would.
inline void AddRawEntry(std::vector<uint8_t> &archive, int version,
                        const std::string &name, uint64_t fullSize,
                        const std::vector<uint8_t> &data,
                        std::optional<uint64_t> storedSize = {},
                        std::optional<uint64_t> nameSize = {}) {
  PutLe(archive, fullSize, 8);
  PutLe(archive, storedSize.value_or(data.size()), 8);
  PutLe(archive, nameSize.value_or(name.size()), version == 1 ? 4 : 2);
  if (version == 1)
    PutLe(archive, 0xDEADBEEF, 4); // reserved: must not matter
  archive.insert(archive.end(), name.begin(), name.end());
  archive.insert(archive.end(), data.begin(), data.end());
}

inline std::vector<uint8_t>
StreamOf(uint64_t size, uint64_t blockSize,
         const std::vector<std::vector<uint8_t>> &blocks) {
  std::vector<uint8_t> s = {0x31, 0x7A, 0x6C, 0x62, 0xAA, 0xBB, 0xCC, 0xDD};
  PutLe(s, size, 8);
  PutLe(s, blockSize, 8);
  for (const auto &b : blocks)
    s.insert(s.end(), b.begin(), b.end());
  return s;
}

inline std::vector<uint8_t> Bytes(const std::string &s) {
  return {s.begin(), s.end()};
}

// ---------------------------------------------------------------------------
// Sample data

inline std::vector<uint8_t> RandomBytes(size_t n, uint32_t seed) {
  std::mt19937 g(seed);
  std::vector<uint8_t> v(n);
  for (auto &c : v)
    c = static_cast<uint8_t>(g());
  return v;
}

// Prose-like text: words with skewed frequencies and line breaks.
inline std::vector<uint8_t> Text(size_t n, uint32_t seed) {
  static const char *const kWords[] = {
      "the ",   "of ",     "and ",     "a ",       "to ",     "in ",
      "it ",    "maze ",   "warren ",  "burrow ",  "cherry ", "monster ",
      "level ", "wander ", "people, ", "quietly\n"};
  std::mt19937 g(seed);
  std::vector<uint8_t> v;
  while (v.size() < n) {
    // Squaring a uniform value favours the first words.
    const double u = std::uniform_real_distribution<double>(0, 1)(g);
    const std::string w =
        kWords[static_cast<size_t>(u * u * std::size(kWords))];
    v.insert(v.end(), w.begin(), w.end());
  }
  v.resize(n);
  return v;
}

// Long runs of few values, as in masks and cleared pictures.
inline std::vector<uint8_t> Runs(size_t n, uint32_t seed) {
  std::mt19937 g(seed);
  std::vector<uint8_t> v;
  while (v.size() < n)
    v.insert(v.end(), 1 + g() % 700, static_cast<uint8_t>(g() % 3));
  v.resize(n);
  return v;
}

} // namespace packtest
