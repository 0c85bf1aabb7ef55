// pack_util.h — helpers of the pack tests: a hand assembler of BriefLZ
// blocks and archives, a plain reference unpacker, and sample data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace packtest {

// Builds a block token by token; control words are placed where an
// unpacker fetches them.
struct Block {
  std::vector<uint8_t> bytes;
  size_t tagPos = 0;
  unsigned bitsInTag = 16;
};

inline void Bit(Block &b, unsigned bit) {
  if (b.bitsInTag == 16) {
    b.tagPos = b.bytes.size();
    b.bytes.push_back(0);
    b.bytes.push_back(0);
    b.bitsInTag = 0;
  }
  if (bit) {
    const unsigned shift = 15 - b.bitsInTag;
    b.bytes[b.tagPos + (shift >= 8 ? 1 : 0)] |=
        static_cast<uint8_t>(1u << (shift & 7));
  }
  ++b.bitsInTag;
}

inline void Gamma(Block &b, uint64_t v) {
  int top = 63;
  while (!((v >> top) & 1))
    --top;
  for (int i = top - 1; i >= 0; --i) {
    Bit(b, static_cast<unsigned>((v >> i) & 1));
    Bit(b, i > 0);
  }
}

inline Block Start(uint8_t first) {
  Block b;
  b.bytes.push_back(first);
  return b;
}

inline void Literal(Block &b, uint8_t byte) {
  Bit(b, 0);
  b.bytes.push_back(byte);
}

inline void Match(Block &b, uint64_t len, uint64_t dist) {
  Bit(b, 1);
  Gamma(b, len - 2);
  Gamma(b, ((dist - 1) >> 8) + 2);
  b.bytes.push_back(static_cast<uint8_t>((dist - 1) & 0xFF));
}

// The format read literally: bit by bit, byte by byte, every read checked.
inline bool ReferenceUnpack(const std::vector<uint8_t> &in, size_t outSize,
                            std::vector<uint8_t> &out, size_t &used) {
  out.clear();
  used = 0;
  if (outSize == 0)
    return true;
  size_t ip = 0;
  if (in.empty())
    return false;
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
    --left;
    b = (tag >> left) & 1;
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
    const uint64_t len = l + 2;
    const uint64_t dist = (p - 2) * 256 + in[ip++] + 1;
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

inline void AddRawEntry(std::vector<uint8_t> &archive, int version,
                        const std::string &name, uint64_t fullSize,
                        const std::vector<uint8_t> &data) {
  PutLe(archive, fullSize, 8);
  PutLe(archive, data.size(), 8);
  if (version == 1) {
    PutLe(archive, name.size(), 4);
    PutLe(archive, 0xDEADBEEF, 4); // reserved: must not matter
  } else {
    PutLe(archive, name.size(), 2);
  }
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

// English-like prose: common words with skewed frequencies, punctuation
// and line breaks.
inline std::vector<uint8_t> Text(size_t n, uint32_t seed) {
  static const char *const kWords[] = {
      "the",    "of",      "and",      "a",      "to",     "in",     "is",
      "you",    "that",    "it",       "he",     "was",    "for",    "on",
      "are",    "as",      "with",     "his",    "they",   "at",     "be",
      "this",   "have",    "from",     "or",     "one",    "had",    "by",
      "word",   "but",     "not",      "what",   "all",    "were",   "we",
      "when",   "your",    "can",      "said",   "there",  "use",    "an",
      "each",   "which",   "she",      "do",     "how",    "their",  "if",
      "will",   "up",      "other",    "about",  "out",    "many",   "then",
      "them",   "these",   "so",       "some",   "her",    "would",  "make",
      "like",   "him",     "into",     "time",   "has",    "look",   "two",
      "more",   "write",   "go",       "see",    "number", "no",     "way",
      "could",  "people",  "maze",     "warren", "burrow", "tunnel", "monster",
      "cherry", "lantern", "corridor", "level",  "wander", "quietly"};
  constexpr size_t kCount = sizeof(kWords) / sizeof(kWords[0]);
  std::mt19937 g(seed);
  std::vector<uint8_t> v;
  v.reserve(n + 16);
  bool capital = true;
  while (v.size() < n) {
    // Squaring a uniform value favours the first words.
    const double u = std::uniform_real_distribution<double>(0, 1)(g);
    std::string w = kWords[static_cast<size_t>(u * u * kCount)];
    if (capital)
      w[0] = static_cast<char>(w[0] - 'a' + 'A');
    capital = false;
    v.insert(v.end(), w.begin(), w.end());
    const unsigned r = g() % 20;
    if (r == 0) {
      v.push_back('.');
      capital = true;
    } else if (r == 1) {
      v.push_back(',');
    }
    v.push_back(g() % 12 == 0 ? '\n' : ' ');
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

// A PNG-shaped file: signature, header chunk, data chunks of noise (as
// deflate output looks), end chunk.
inline std::vector<uint8_t> PngLike(size_t n, uint32_t seed) {
  std::vector<uint8_t> v = {0x89, 'P', 'N',  'G',  '\r', '\n', 0x1A, '\n', 0,
                            0,    0,   13,   'I',  'H',  'D',  'R',  0,    0,
                            1,    0,   0,    0,    0,    96,   8,    6,    0,
                            0,    0,   0x12, 0x34, 0x56, 0x78};
  std::mt19937 g(seed);
  while (v.size() + 12 < n) {
    const size_t len = std::min<size_t>(8192, n - v.size() - 12);
    v.push_back(static_cast<uint8_t>(len >> 24));
    v.push_back(static_cast<uint8_t>(len >> 16));
    v.push_back(static_cast<uint8_t>(len >> 8));
    v.push_back(static_cast<uint8_t>(len));
    v.insert(v.end(), {'I', 'D', 'A', 'T'});
    for (size_t k = 0; k < len; ++k)
      v.push_back(static_cast<uint8_t>(g()));
    PutLe(v, g(), 4);
  }
  v.insert(v.end(), {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82});
  return v;
}

// An Ogg-shaped file: pages with a capture pattern, a segment table and a
// noisy payload.
inline std::vector<uint8_t> OggLike(size_t n, uint32_t seed) {
  std::mt19937 g(seed);
  std::vector<uint8_t> v;
  uint32_t page = 0;
  while (v.size() < n) {
    v.insert(v.end(), {'O', 'g', 'g', 'S', 0, 0});
    PutLe(v, page * 1024ull, 8);
    PutLe(v, 0x5EED, 4);
    PutLe(v, page++, 4);
    PutLe(v, g(), 4);
    v.push_back(17);
    for (int s = 0; s < 17; ++s)
      v.push_back(s < 16 ? 255 : 40);
    for (int k = 0; k < 16 * 255 + 40; ++k)
      v.push_back(static_cast<uint8_t>(g()));
  }
  v.resize(n);
  return v;
}

} // namespace packtest
