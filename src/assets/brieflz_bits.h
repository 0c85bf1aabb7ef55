// brieflz_bits.h — internal to the packer: the control-bit writer and the
// exact bit costs of literals and matches.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace brieflz::detail {

constexpr unsigned kMinMatch = 4;
constexpr unsigned kLiteralBits = 9;

// Bits of the gamma code of v (v >= 2): two per bit below the top one.
inline unsigned GammaBits(uint64_t v) {
  return 2u * static_cast<unsigned>(63 - std::countl_zero(v));
}

// Bits of a match: its control bit, the two gamma values and the low byte.
inline unsigned MatchBits(uint64_t len, uint64_t dist) {
  return 1u + GammaBits(len - 2) + GammaBits(((dist - 1) >> 8) + 2) + 8u;
}

// Writes bytes and control bits in the order the unpacker reads them: a
// new control word is reserved at the current output position only when a
// bit is written and the previous word is full, exactly when the unpacker
// would fetch it.
struct BitWriter {
  uint8_t *out = nullptr;
  size_t pos = 0;
  size_t tagPos = 0;
  uint32_t tag = 0;
  unsigned bitsLeft = 0;
  bool hasTag = false;
};

inline void StoreTag(BitWriter &w, uint32_t value) {
  w.out[w.tagPos] = static_cast<uint8_t>(value);
  w.out[w.tagPos + 1] = static_cast<uint8_t>(value >> 8);
}

inline void PutBit(BitWriter &w, unsigned bit) {
  if (w.bitsLeft == 0) {
    w.tagPos = w.pos;
    w.pos += 2;
    w.bitsLeft = 16;
    w.tag = 0;
    w.hasTag = true;
  }
  w.tag = (w.tag << 1) | bit;
  if (--w.bitsLeft == 0)
    StoreTag(w, w.tag);
}

inline void PutByte(BitWriter &w, uint8_t byte) { w.out[w.pos++] = byte; }

inline void PutGamma(BitWriter &w, uint64_t v) {
  int top = 63 - std::countl_zero(v);
  for (int i = top - 1; i >= 0; --i) {
    PutBit(w, static_cast<unsigned>(v >> i) & 1u);
    PutBit(w, i > 0 ? 1u : 0u);
  }
}

inline void PutLiteral(BitWriter &w, uint8_t byte) {
  PutBit(w, 0);
  PutByte(w, byte);
}

inline void PutMatch(BitWriter &w, uint64_t len, uint64_t dist) {
  PutBit(w, 1);
  PutGamma(w, len - 2);
  PutGamma(w, ((dist - 1) >> 8) + 2);
  PutByte(w, static_cast<uint8_t>((dist - 1) & 0xFF));
}

// Stores a partly filled last word, its unused low bits zero; returns the
// packed size.
inline size_t Finish(BitWriter &w) {
  if (w.hasTag && w.bitsLeft > 0)
    StoreTag(w, w.tag << w.bitsLeft);
  return w.pos;
}

inline uint32_t Read32(const uint8_t *p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

inline uint32_t Hash4(const uint8_t *p, unsigned bits) {
  return (Read32(p) * 2654435761u) >> (32 - bits);
}

// Hash table bits for a block of n bytes: small blocks get small tables.
inline unsigned HashBitsFor(size_t n) {
  unsigned bits = 8;
  while (bits < 17 && (size_t{1} << bits) < n)
    ++bits;
  return bits;
}

// Length of the common prefix of a and b, at most limit bytes.
inline size_t CommonLength(const uint8_t *a, const uint8_t *b, size_t limit) {
  size_t len = 0;
  while (len + 8 <= limit) {
    uint64_t x, y;
    std::memcpy(&x, a + len, 8);
    std::memcpy(&y, b + len, 8);
    if (x != y) {
      const uint64_t d = x ^ y;
      const int zeros = std::endian::native == std::endian::little
                            ? std::countr_zero(d)
                            : std::countl_zero(d);
      return len + static_cast<size_t>(zeros >> 3);
    }
    len += 8;
  }
  while (len < limit && a[len] == b[len])
    ++len;
  return len;
}

// Working memory of one thread, kept between blocks: allocating and
// clearing several bytes per input byte anew for every block costs more
// than the search itself on data that does not compress.
struct Workspace {
  std::vector<uint32_t> head, prev, right, price, stepLen, stepDist;
};

inline Workspace &ThreadWorkspace() {
  thread_local Workspace ws;
  return ws;
}

inline void Grow(std::vector<uint32_t> &v, size_t n) {
  if (v.size() < n)
    v.resize(n);
}

// Packs a block with the best level: binary-tree match finder and an
// optimal parse under the exact bit costs.
size_t PackOptimal(const uint8_t *in, size_t n, uint8_t *out);

} // namespace brieflz::detail
