// brieflz_unpack.cpp — the checked unpacker of one BriefLZ block.
#include "assets/brieflz.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace brieflz {

namespace {

// Gamma codes that fit in eight bits, decoded at once: for each byte of
// upcoming control bits, the value and the bits it takes (0: longer code).
struct GammaEntry {
  uint8_t value;
  uint8_t bits;
};

constexpr std::array<GammaEntry, 256> MakeGammaTable() {
  std::array<GammaEntry, 256> table{};
  for (unsigned byte = 0; byte < 256; ++byte) {
    unsigned value = 1;
    for (unsigned pair = 0; pair < 4; ++pair) {
      const unsigned bit = (byte >> (7 - 2 * pair)) & 1u;
      const unsigned more = (byte >> (6 - 2 * pair)) & 1u;
      value = value * 2 + bit;
      if (!more) {
        table[byte] = {static_cast<uint8_t>(value),
                       static_cast<uint8_t>(2 * pair + 2)};
        break;
      }
    }
  }
  return table;
}

constexpr std::array<GammaEntry, 256> kGamma = MakeGammaTable();

inline uint32_t WordAtTop(const uint8_t *p) {
  return (static_cast<uint32_t>(p[0]) << 16) |
         (static_cast<uint32_t>(p[1]) << 24);
}

// Copies a match whose source starts dist bytes back. When there is room
// past its end, whole chunks move at once (the spill is overwritten by
// later output); a distance under eight repeats its pattern byte by byte.
inline void CopyMatch(uint8_t *dst, size_t dist, size_t len, size_t room) {
  const uint8_t *src = dst - dist;
  if (room >= len + 16) {
    if (dist >= 16) {
      uint8_t *const end = dst + len;
      do {
        std::memcpy(dst, src, 16);
        dst += 16;
        src += 16;
      } while (dst < end);
      return;
    }
    if (dist >= 8) {
      uint8_t *const end = dst + len;
      do {
        std::memcpy(dst, src, 8);
        dst += 8;
        src += 8;
      } while (dst < end);
      return;
    }
  }
  if (dist == 1) {
    std::memset(dst, *src, len);
    return;
  }
  for (size_t k = 0; k < len; ++k)
    dst[k] = src[k];
}

// The input side of an unpacking: the next byte and the upcoming control
// bits, the next one at bit 31; `count` of them are valid and the rest are
// zero. A word is fetched only when a bit is needed and none is left,
// exactly as the format reads them.
struct Input {
  const uint8_t *ip;
  const uint8_t *ipEnd;
  uint32_t buf;
  unsigned count;
};

inline bool Fetch(Input &in) {
  if (in.ipEnd - in.ip < 2)
    return false;
  in.buf = WordAtTop(in.ip);
  in.ip += 2;
  in.count = 16;
  return true;
}

// Bit-by-bit gamma decoding; values past 2^40 cannot be valid.
[[gnu::noinline]] bool GammaSlow(Input &in, uint64_t &v) {
  v = 1;
  for (;;) {
    if (in.count == 0 && !Fetch(in))
      return false;
    v = (v << 1) | (in.buf >> 31);
    in.buf <<= 1;
    --in.count;
    if (in.count == 0 && !Fetch(in))
      return false;
    const unsigned more = in.buf >> 31;
    in.buf <<= 1;
    --in.count;
    if (v >> 40)
      return false;
    if (!more)
      return true;
  }
}

[[gnu::always_inline]] inline bool Gamma(Input &in, uint64_t &v) {
  GammaEntry e = kGamma[in.buf >> 24];
  if (e.bits != 0 && e.bits <= in.count) {
    v = e.value;
    in.buf <<= e.bits;
    in.count -= e.bits;
    return true;
  }
  // The code runs past the loaded bits. No byte is read inside a gamma
  // code, so the word the format would fetch next is the one at ip.
  if (in.count < 8 && in.ipEnd - in.ip >= 2) {
    in.buf |= WordAtTop(in.ip) >> in.count;
    in.ip += 2;
    in.count += 16;
    e = kGamma[in.buf >> 24];
    if (e.bits != 0) {
      v = e.value;
      in.buf <<= e.bits;
      in.count -= e.bits;
      return true;
    }
  }
  // A copy goes to the slow path, so that `in` itself never has its
  // address taken and stays in registers.
  Input copy = in;
  const bool ok = GammaSlow(copy, v);
  in = copy;
  return ok;
}

} // namespace

bool Unpack(const uint8_t *in, size_t inSize, uint8_t *out, size_t outSize,
            size_t &used) {
  used = 0;
  if (outSize == 0)
    return true;
  if (inSize == 0)
    return false;
  Input r{in + 1, in + inSize, 0, 0};
  uint8_t *op = out;
  uint8_t *const opEnd = out + outSize;
  *op++ = in[0];

  while (op < opEnd) {
    if (r.count == 0 && !Fetch(r))
      return false;
    if (!(r.buf >> 31)) {
      // A run of literals: as many as there are zero bits left in the word.
      size_t run = std::min<size_t>(std::countl_zero(r.buf), r.count);
      run = std::min<size_t>(run, static_cast<size_t>(opEnd - op));
      const size_t inLeft = static_cast<size_t>(r.ipEnd - r.ip);
      if (inLeft < run)
        return false;
      // A run is at most 16 bytes: copy 16 when both sides have room.
      if (inLeft >= 16 && static_cast<size_t>(opEnd - op) >= 16)
        std::memcpy(op, r.ip, 16);
      else
        std::memcpy(op, r.ip, run);
      op += run;
      r.ip += run;
      r.buf <<= run;
      r.count -= static_cast<unsigned>(run);
      continue;
    }
    r.buf <<= 1;
    --r.count;
    uint64_t l, p;
    if (!Gamma(r, l) || !Gamma(r, p) || r.ip >= r.ipEnd)
      return false;
    const uint64_t len = l + 2;
    const uint64_t dist = ((p - 2) << 8) + *r.ip++ + 1;
    const size_t room = static_cast<size_t>(opEnd - op);
    if (len > room || dist > static_cast<uint64_t>(op - out))
      return false;
    CopyMatch(op, static_cast<size_t>(dist), static_cast<size_t>(len), room);
    op += len;
  }
  used = static_cast<size_t>(r.ip - in);
  return true;
}

} // namespace brieflz
