// brieflz_pack.cpp — the fast and normal packing levels (hash chains, greedy
// or lazy parsing) and the choice of level.
#include "assets/brieflz.h"
#include "assets/brieflz_bits.h"

#include <algorithm>

namespace brieflz {

namespace {

using namespace detail;

constexpr uint32_t kNone = UINT32_MAX;
// The best level counts bits in 32 bits: nine per byte must fit.
constexpr size_t kMaxOptimalBlock = size_t{1} << 28;

struct ChainParams {
  unsigned depth; // candidates tried per position
  size_t niceLen; // a match this long ends the search
  bool lazy;      // try the next position before taking a match
  bool insertAll; // index every position inside a match
};

struct Match {
  size_t len = 0;
  size_t dist = 0;
  int gain = 0; // bits saved against literals; a match is used only if > 0
};

struct Chains {
  const uint8_t *in;
  size_t n;
  unsigned hashBits;
  uint32_t *head;
  uint32_t *prev;
};

void Insert(Chains &c, size_t p) {
  if (c.n - p < kMinMatch)
    return;
  const uint32_t h = Hash4(c.in + p, c.hashBits);
  c.prev[p] = c.head[h];
  c.head[h] = static_cast<uint32_t>(p);
}

// Searches the chain for the match with the largest gain at p, then indexes
// p. Nearer candidates come first, so a farther one must be longer to win.
Match FindInsert(Chains &c, size_t p, const ChainParams &cp) {
  Match best;
  const size_t limit = c.n - p;
  if (limit < kMinMatch)
    return best;
  const uint8_t *cur = c.in + p;
  const uint32_t h = Hash4(cur, c.hashBits);
  uint32_t cand = c.head[h];
  const size_t nice = std::min(cp.niceLen, limit);
  size_t bestLen = kMinMatch - 1;
  for (unsigned d = cp.depth; d > 0 && cand != kNone; --d) {
    const uint8_t *m = c.in + cand;
    if (m[bestLen] == cur[bestLen]) {
      const size_t len = CommonLength(m, cur, limit);
      if (len > bestLen) {
        const size_t dist = p - cand;
        const int gain = static_cast<int>(kLiteralBits * len) -
                         static_cast<int>(MatchBits(len, dist));
        if (gain > best.gain) {
          best = {len, dist, gain};
          bestLen = len;
          if (len >= nice)
            break;
        }
      }
    }
    cand = c.prev[cand];
  }
  c.prev[p] = c.head[h];
  c.head[h] = static_cast<uint32_t>(p);
  return best;
}

size_t PackChains(const uint8_t *in, size_t n, uint8_t *out,
                  const ChainParams &cp) {
  Workspace &ws = ThreadWorkspace();
  const unsigned hashBits = HashBitsFor(n);
  Grow(ws.head, size_t{1} << hashBits);
  Grow(ws.prev, n);
  std::fill_n(ws.head.begin(), size_t{1} << hashBits, kNone);
  Chains c{in, n, hashBits, ws.head.data(), ws.prev.data()};
  BitWriter w;
  w.out = out;
  PutByte(w, in[0]);
  Insert(c, 0);
  size_t i = 1;
  Match cur = i < n ? FindInsert(c, i, cp) : Match{};
  while (i < n) {
    if (cur.gain <= 0) {
      PutLiteral(w, in[i]);
      ++i;
      if (i < n)
        cur = FindInsert(c, i, cp);
      continue;
    }
    size_t indexed = i + 1; // positions below this are in the chains
    if (cp.lazy && cur.len < cp.niceLen && i + 1 < n) {
      const Match next = FindInsert(c, i + 1, cp);
      indexed = i + 2;
      // The literal that the later match needs must pay for itself.
      if (next.gain > cur.gain + static_cast<int>(kLiteralBits)) {
        PutLiteral(w, in[i]);
        ++i;
        cur = next;
        continue;
      }
    }
    PutMatch(w, cur.len, cur.dist);
    const size_t end = i + cur.len;
    if (cp.insertAll) {
      for (size_t p = indexed; p < end; ++p)
        Insert(c, p);
    } else if (end - 1 >= indexed) {
      Insert(c, end - 1);
    }
    i = end;
    cur = i < n ? FindInsert(c, i, cp) : Match{};
  }
  return Finish(w);
}

} // namespace

size_t MaxPackedSize(size_t n) {
  // An all-literal block: the first byte, then nine bits per byte, plus a
  // partly filled last control word.
  return n == 0 ? 0 : n + (n - 1) / 8 + 4;
}

size_t Pack(const uint8_t *in, size_t n, uint8_t *out, int level) {
  if (n == 0)
    return 0;
  if (n >= kNone) {
    // Positions are 32-bit: a block this large is written as literals.
    BitWriter w;
    w.out = out;
    PutByte(w, in[0]);
    for (size_t i = 1; i < n; ++i)
      PutLiteral(w, in[i]);
    return Finish(w);
  }
  if (level >= kLevelBest && n <= kMaxOptimalBlock)
    return detail::PackOptimal(in, n, out);
  if (level <= kLevelFast)
    return PackChains(in, n, out, {4, 32, false, true});
  return PackChains(in, n, out, {64, 256, true, true});
}

std::vector<uint8_t> Pack(const uint8_t *in, size_t n, int level) {
  std::vector<uint8_t> out(MaxPackedSize(n));
  out.resize(Pack(in, n, out.data(), level));
  return out;
}

} // namespace brieflz
