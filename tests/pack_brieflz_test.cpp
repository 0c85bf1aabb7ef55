// pack_brieflz_test.cpp — the BriefLZ unpacker against a plain reference
// reader on damaged and random blocks; packer round trips at every level.
#include "assets/brieflz.h"
#include "pack_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace packtest;

// Unpacks with both the library and the reference reader and checks that
// they agree; returns whether unpacking succeeded.
bool UnpackBoth(const std::vector<uint8_t> &in, size_t outSize,
                std::vector<uint8_t> &out, size_t &used) {
  out.assign(outSize, 0xEE);
  const bool ok =
      brieflz::Unpack(in.data(), in.size(), out.data(), outSize, used);
  std::vector<uint8_t> ref;
  size_t refUsed = 0;
  const bool refOk = ReferenceUnpack(in, outSize, ref, refUsed);
  EXPECT_EQ(ok, refOk);
  if (ok && refOk) {
    EXPECT_EQ(out, ref);
    EXPECT_EQ(used, refUsed);
  }
  return ok;
}

TEST(BriefLZUnpack, DamagedAndRandomInputsFailCleanlyOrAgree) {
  std::vector<uint8_t> out;
  size_t used = 0;
  const std::vector<uint8_t> small = Text(71, 6);
  const std::vector<uint8_t> full =
      brieflz::Pack(small.data(), small.size(), brieflz::kLevelBest);
  for (size_t cut = 0; cut < full.size(); ++cut)
    EXPECT_FALSE(UnpackBoth({full.begin(), full.begin() + cut}, 71, out, used))
        << "cut " << cut;
  EXPECT_TRUE(UnpackBoth(full, 71, out, used));
  // A gamma code of all ones never ends before the input does.
  std::vector<uint8_t> ones = {'a'};
  ones.insert(ones.end(), 64, 0xFF);
  EXPECT_FALSE(UnpackBoth(ones, 1000, out, used));
  // Random bytes, and a packed block with bits flipped and cut short.
  std::mt19937 g(11);
  const std::vector<uint8_t> text = Text(3000, 3);
  const std::vector<uint8_t> packed =
      brieflz::Pack(text.data(), text.size(), brieflz::kLevelBest);
  for (int round = 0; round < 3000; ++round) {
    std::vector<uint8_t> in;
    if (round % 2) {
      in = packed;
      for (int k = 0; k < 1 + round % 4; ++k)
        in[g() % in.size()] ^= static_cast<uint8_t>(1u << (g() % 8));
      if (round % 5 == 0)
        in.resize(g() % in.size());
    } else {
      in = RandomBytes(g() % 200, static_cast<uint32_t>(round));
    }
    UnpackBoth(in, round % 2 ? text.size() : g() % 400, out, used);
  }
}

// Packs data in blocks, unpacks each with both readers (another block
// directly behind) and returns the total packed size.
size_t RoundTrip(const std::vector<uint8_t> &data, int level,
                 size_t blockSize) {
  size_t total = 0;
  for (size_t at = 0; at < data.size(); at += blockSize) {
    const size_t n = std::min(blockSize, data.size() - at);
    std::vector<uint8_t> packed = brieflz::Pack(data.data() + at, n, level);
    EXPECT_LE(packed.size(), brieflz::MaxPackedSize(n));
    std::vector<uint8_t> followed = packed, out;
    followed.insert(followed.end(), {0xFF, 0xFF, 0xFF, 0xFF});
    size_t used = 0;
    EXPECT_TRUE(UnpackBoth(followed, n, out, used));
    EXPECT_EQ(used, packed.size()) << "block at " << at;
    EXPECT_TRUE(std::equal(out.begin(), out.end(), data.begin() + at))
        << "level " << level << " block at " << at;
    total += packed.size();
  }
  return total;
}

TEST(BriefLZPack, RoundTripsVariedDataAtEveryLevel) {
  const std::vector<std::pair<const char *, std::vector<uint8_t>>> samples = {
      {"text", Text(200000, 1)},
      {"runs", Runs(150000, 2)},
      {"random", RandomBytes(70000, 3)},
      {"zeros", std::vector<uint8_t>(100000, 0)},
  };
  const std::vector<uint8_t> text = Text(5000, 9);
  for (int level :
       {brieflz::kLevelFast, brieflz::kLevelNormal, brieflz::kLevelBest}) {
    SCOPED_TRACE(level);
    for (const auto &[name, data] : samples) {
      SCOPED_TRACE(name);
      RoundTrip(data, level, 1 << 20);
    }
    // Tiny blocks and sizes around a control word.
    for (size_t block : {1, 2, 3, 4, 5, 15, 16, 17, 18, 33, 255, 256, 257})
      RoundTrip(text, level, block);
    for (size_t n = 1; n <= 70; ++n) {
      SCOPED_TRACE(n);
      RoundTrip(std::vector<uint8_t>(text.begin(), text.begin() + n), level, n);
      RoundTrip(std::vector<uint8_t>(n, 'a'), level, n);
    }
  }
}

TEST(BriefLZPack, BestBeatsFastAndSqueezesText) {
  const std::vector<uint8_t> text = Text(400000, 21);
  const size_t fast = RoundTrip(text, brieflz::kLevelFast, 1 << 20);
  const size_t normal = RoundTrip(text, brieflz::kLevelNormal, 1 << 20);
  const size_t best = RoundTrip(text, brieflz::kLevelBest, 1 << 20);
  EXPECT_LT(best, normal);
  EXPECT_LT(best, fast);
  EXPECT_LT(best, text.size() * 45 / 100);
  // A run costs a few bytes, not a byte per sixteen.
  const std::vector<uint8_t> zeros(1 << 20, 0);
  EXPECT_LT(RoundTrip(zeros, brieflz::kLevelBest, 1 << 20), 64u);
  EXPECT_LT(RoundTrip(zeros, brieflz::kLevelFast, 1 << 20), 200000u);
}

} // namespace
