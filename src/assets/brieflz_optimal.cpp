// brieflz_optimal.cpp — the best packing level: a binary-tree match finder
// and a shortest-path parse under the exact bit costs of the format.
#include "assets/brieflz.h"
#include "assets/brieflz_bits.h"

#include <algorithm>

namespace brieflz::detail {

namespace {

constexpr uint32_t kNone = UINT32_MAX;
constexpr size_t kNiceLen = 256; // longer matches are taken outright
constexpr unsigned kDepth = 128; // tree nodes visited per position
constexpr uint32_t kInfinite = UINT32_MAX;

struct Candidate {
  uint32_t len;
  uint32_t dist;
};

// Binary trees of earlier positions, one per 4-byte hash: each node's
// left subtree holds smaller strings, its right one larger strings.
struct Tree {
  const uint8_t *in;
  size_t n;
  unsigned hashBits;
  uint32_t *head;
  uint32_t *left;
  uint32_t *right;
};

// More hash bits than the chain levels use: every bucket holds a tree, so
// fewer strings per bucket means shorter paths.
unsigned TreeHashBits(size_t n) {
  unsigned bits = 8;
  while (bits < 20 && (size_t{1} << bits) < n)
    ++bits;
  return bits;
}

// Inserts p as the new root of its tree; when found is given, records every
// match longer than all before it (lengths rising). Returns the number of
// candidates recorded.
size_t InsertAt(Tree &t, size_t p, Candidate *found) {
  const size_t avail = t.n - p;
  if (avail < kMinMatch)
    return 0;
  const size_t lenLimit = std::min(avail, kNiceLen);
  const uint8_t *cur = t.in + p;
  const uint32_t h = Hash4(cur, t.hashBits);
  uint32_t cand = t.head[h];
  t.head[h] = static_cast<uint32_t>(p);
  uint32_t *smaller = &t.left[p];
  uint32_t *larger = &t.right[p];
  size_t lenSmaller = 0, lenLarger = 0;
  size_t bestLen = kMinMatch - 1;
  size_t count = 0;
  for (unsigned depth = kDepth;; --depth) {
    if (cand == kNone || depth == 0) {
      *smaller = *larger = kNone;
      break;
    }
    const uint8_t *m = t.in + cand;
    size_t len = std::min(lenSmaller, lenLarger);
    len += CommonLength(m + len, cur + len, lenLimit - len);
    if (len > bestLen) {
      bestLen = len;
      if (found)
        found[count++] = {static_cast<uint32_t>(len),
                          static_cast<uint32_t>(p - cand)};
    }
    if (len == lenLimit) {
      // Equal up to the limit: cand's subtrees become p's.
      *smaller = t.left[cand];
      *larger = t.right[cand];
      break;
    }
    if (m[len] < cur[len]) {
      *smaller = cand;
      smaller = &t.right[cand];
      cand = *smaller;
      lenSmaller = len;
    } else {
      *larger = cand;
      larger = &t.left[cand];
      cand = *larger;
      lenLarger = len;
    }
  }
  return count;
}

} // namespace

size_t PackOptimal(const uint8_t *in, size_t n, uint8_t *out) {
  BitWriter w;
  w.out = out;
  PutByte(w, in[0]);
  if (n < 1 + kMinMatch) {
    for (size_t i = 1; i < n; ++i)
      PutLiteral(w, in[i]);
    return Finish(w);
  }

  Workspace &ws = ThreadWorkspace();
  const unsigned hashBits = TreeHashBits(n);
  Grow(ws.head, size_t{1} << hashBits);
  Grow(ws.prev, n);
  Grow(ws.right, n);
  Grow(ws.price, n + 1);
  Grow(ws.stepLen, n + 1);
  Grow(ws.stepDist, n + 1);
  std::fill_n(ws.head.begin(), size_t{1} << hashBits, kNone);
  Tree t{in, n, hashBits, ws.head.data(), ws.prev.data(), ws.right.data()};

  // price[i]: fewest bits that produce in[0, i) after the first byte;
  // stepLen/stepDist: the last step of that cheapest way (length 1 is a
  // literal).
  uint32_t *const price = ws.price.data();
  uint32_t *const stepLen = ws.stepLen.data();
  uint32_t *const stepDist = ws.stepDist.data();
  std::fill_n(price, n + 1, kInfinite);
  price[1] = 0;

  std::vector<Candidate> found(kNiceLen + 1);
  // Length costs of short matches, looked up rather than counted.
  std::vector<uint32_t> lenBits(kNiceLen + 1, 0);
  for (size_t l = kMinMatch; l <= kNiceLen; ++l)
    lenBits[l] = 1 + GammaBits(l - 2);

  InsertAt(t, 0, nullptr);
  size_t skipTo = 0; // positions below this are inside a long match
  for (size_t i = 1; i < n; ++i) {
    const uint32_t base = price[i];
    if (base + kLiteralBits < price[i + 1]) {
      price[i + 1] = base + kLiteralBits;
      stepLen[i + 1] = 1;
    }
    if (i < skipTo) {
      InsertAt(t, i, nullptr);
      continue;
    }
    const size_t count = InsertAt(t, i, found.data());
    if (count == 0)
      continue;
    // A farther candidate may serve the shorter lengths of a nearer one:
    // each length uses the nearest candidate at least that long.
    for (size_t k = count - 1; k > 0; --k)
      found[k - 1].dist = std::min(found[k - 1].dist, found[k].dist);
    size_t len = kMinMatch;
    for (size_t k = 0; k < count; ++k) {
      const uint32_t dist = found[k].dist;
      const uint32_t distBits = GammaBits(((dist - 1) >> 8) + 2) + 8;
      for (; len <= found[k].len; ++len) {
        const uint32_t cost = base + lenBits[len] + distBits;
        if (cost < price[i + len]) {
          price[i + len] = cost;
          stepLen[i + len] = static_cast<uint32_t>(len);
          stepDist[i + len] = dist;
        }
      }
    }
    const Candidate last = found[count - 1];
    if (last.len >= kNiceLen) {
      // Extend the long match as far as it goes and take it: positions
      // inside it only feed the trees.
      const size_t full =
          last.len + CommonLength(in + i + last.len - last.dist,
                                  in + i + last.len, n - i - last.len);
      const uint32_t cost = base + MatchBits(full, last.dist);
      if (cost < price[i + full]) {
        price[i + full] = cost;
        stepLen[i + full] = static_cast<uint32_t>(full);
        stepDist[i + full] = last.dist;
      }
      skipTo = i + full;
    }
  }

  // Walk back from the end, then write the steps forwards.
  std::vector<Candidate> steps;
  for (size_t pos = n; pos > 1;) {
    const uint32_t len = stepLen[pos];
    steps.push_back({len, stepDist[pos]});
    pos -= len;
  }
  size_t pos = 1;
  for (auto it = steps.rbegin(); it != steps.rend(); ++it) {
    if (it->len == 1)
      PutLiteral(w, in[pos]);
    else
      PutMatch(w, it->len, it->dist);
    pos += it->len;
  }
  return Finish(w);
}

} // namespace brieflz::detail
