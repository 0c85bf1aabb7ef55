// pack_brieflz_test.cpp — the BriefLZ unpacker on hand-assembled blocks and
// its failures; packer round trips at every level.
#include "assets/brieflz.h"
#include "pack_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using namespace packtest;

constexpr int kLevels[] = {brieflz::kLevelFast, brieflz::kLevelNormal,
                           brieflz::kLevelBest};

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

TEST(BriefLZUnpack, HandBuiltBlocks) {
  struct Row {
    const char *what;
    Block block;
    std::string expect;
  };
  std::vector<Row> rows;
  Block b = Start('a');
  Literal(b, 'b');
  Literal(b, 'c');
  Match(b, 6, 3);
  Literal(b, 'x');
  rows.push_back({"literals and a match", b, "abcabcabcx"});
  b = Start('z');
  Match(b, 40, 1); // one byte repeated
  Literal(b, 'q');
  Literal(b, 'r');
  Match(b, 23, 2); // a two-byte pattern running over itself
  Match(b, 11, 7); // shorter than 8 but farther than 1
  rows.push_back(
      {"overlapping matches", b,
       std::string(41, 'z') + "qrqrqrqrqrqrqrqrqrqrqrqrq" + "qrqrqrqqrqr"});
  // 300 literals, then a match 300 back of 290: the distance needs P > 2
  // and the length a gamma code past one word.
  const std::vector<uint8_t> lit = RandomBytes(300, 5);
  b = Start(lit[0]);
  for (size_t i = 1; i < lit.size(); ++i)
    Literal(b, lit[i]);
  Match(b, 290, 300);
  std::string far(lit.begin(), lit.end());
  rows.push_back({"far match", b, far + far.substr(0, 290)});
  for (const Row &r : rows) {
    SCOPED_TRACE(r.what);
    std::vector<uint8_t> in = r.block.bytes, out;
    in.insert(in.end(), {0x99, 0x98}); // the next block's first bytes
    size_t used = 0;
    ASSERT_TRUE(UnpackBoth(in, r.expect.size(), out, used));
    EXPECT_EQ(std::string(out.begin(), out.end()), r.expect);
    EXPECT_EQ(used, r.block.bytes.size());
  }
}

TEST(BriefLZUnpack, DamagedBlocksFailCleanly) {
  std::vector<uint8_t> out;
  size_t used = 0;
  Block before = Start('a');
  Literal(before, 'b');
  Match(before, 4, 3); // reaches one byte before the block's start
  EXPECT_FALSE(UnpackBoth(before.bytes, 6, out, used));
  Block tooLong = Start('a');
  Match(tooLong, 10, 1); // 11 bytes where the block holds 8
  EXPECT_FALSE(UnpackBoth(tooLong.bytes, 8, out, used));

  Block full = Start('a');
  for (int i = 0; i < 40; ++i)
    Literal(full, static_cast<uint8_t>(i));
  Match(full, 30, 17);
  for (size_t cut = 0; cut < full.bytes.size(); ++cut) {
    std::vector<uint8_t> truncated(full.bytes.begin(),
                                   full.bytes.begin() + cut);
    EXPECT_FALSE(UnpackBoth(truncated, 71, out, used)) << "cut " << cut;
  }
  EXPECT_TRUE(UnpackBoth(full.bytes, 71, out, used));

  // A gamma code of all ones never ends before the input does, and one
  // with sixty value bits is absurd for any block.
  std::vector<uint8_t> ones = {'a'};
  ones.insert(ones.end(), 64, 0xFF);
  EXPECT_FALSE(UnpackBoth(ones, 1000, out, used));
  Block huge = Start('a');
  Bit(huge, 1);
  Gamma(huge, uint64_t{1} << 60);
  Gamma(huge, 2);
  huge.bytes.push_back(0);
  EXPECT_FALSE(UnpackBoth(huge.bytes, 1000, out, used));
}

TEST(BriefLZUnpack, RandomAndMutatedInputsAgreeWithReference) {
  std::mt19937 g(11);
  const std::vector<uint8_t> text = Text(3000, 3);
  const std::vector<uint8_t> packed =
      brieflz::Pack(text.data(), text.size(), brieflz::kLevelBest);
  std::vector<uint8_t> out;
  size_t used = 0;
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
  for (int level : kLevels) {
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

TEST(BriefLZPack, SameInputGivesSameBytes) {
  const std::vector<uint8_t> data = Text(50000, 4), other = Runs(300000, 1);
  for (int level : kLevels) {
    // A larger block in between leaves reused working memory dirty.
    const auto first = brieflz::Pack(data.data(), data.size(), level);
    brieflz::Pack(other.data(), other.size(), level);
    EXPECT_EQ(first, brieflz::Pack(data.data(), data.size(), level));
  }
}

} // namespace
