// pack_archive_test.cpp — reading pack archives: both header versions,
// stored and packed entries, lookups, and every kind of damage.
#include "assets/brieflz.h"
#include "assets/pack.h"
#include "pack_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/obstacles.h"
#include "support/temp_dir.h"
#include "support/watchdog.h"

namespace {

using namespace packtest;

constexpr size_t kLarge = 1 << 20;

std::string Extract(pack::Archive &a, const std::string &name,
                    size_t maxSize = kLarge) {
  std::vector<uint8_t> out;
  const int64_t n = pack::ExtractEntry(a, name, maxSize, out);
  if (n < 0)
    return "<failed>";
  EXPECT_EQ(static_cast<size_t>(n), out.size());
  return {out.begin(), out.end()};
}

pack::Archive FromBytes(std::vector<uint8_t> bytes) {
  pack::Archive a;
  EXPECT_TRUE(pack::OpenMemory(a, std::move(bytes)));
  return a;
}

std::vector<uint8_t> Packed(const std::string &s) {
  return brieflz::Pack(reinterpret_cast<const uint8_t *>(s.data()), s.size(),
                       brieflz::kLevelBest);
}

// "abcabcabc" + "xyzxyzxyz": two blocks of nine, each packed on its own.
std::vector<uint8_t> TwoBlockStream() {
  return StreamOf(18, 9, {Packed("abcabcabc"), Packed("xyzxyzxyz")});
}

TEST(PackArchive, StoredAndPackedEntriesInBothVersions) {
  for (int version : {1, 2}) {
    std::vector<uint8_t> bytes = ArchiveStart(version);
    AddRawEntry(bytes, version, "hello.txt", 5, Bytes("Hello"));
    AddRawEntry(bytes, version, "empty", 0, {});
    AddRawEntry(bytes, version, "pair", 18, TwoBlockStream());
    AddRawEntry(bytes, version, "sprite_ü.png", 3, Bytes("PNG"));
    pack::Archive a = FromBytes(bytes);
    EXPECT_EQ(pack::Version(a), version);
    const auto &entries = pack::Entries(a);
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[3].name, "sprite_ü.png");
    EXPECT_EQ(entries[2].fullSize, 18u);
    EXPECT_EQ(entries[2].storedSize, TwoBlockStream().size());
    EXPECT_EQ(Extract(a, "hello.txt"), "Hello");
    EXPECT_EQ(Extract(a, "empty"), "");
    EXPECT_EQ(Extract(a, "pair"), "abcabcabcxyzxyzxyz");
    EXPECT_EQ(Extract(a, "sprite_ü.png"), "PNG");
  }
}

TEST(PackArchive, LookupIsExactAndFirstEntryWins) {
  std::vector<uint8_t> bytes = ArchiveStart(2);
  AddRawEntry(bytes, 2, "Logo.png", 3, Bytes("one"));
  AddRawEntry(bytes, 2, "logo.png", 3, Bytes("two"));
  AddRawEntry(bytes, 2, "logo.png", 5, Bytes("three"));
  pack::Archive a = FromBytes(bytes);
  EXPECT_EQ(Extract(a, "logo.png"), "two");
  EXPECT_EQ(Extract(a, "Logo.png"), "one");
  for (const char *name : {"LOGO.PNG", "logo.png ", ""})
    EXPECT_EQ(Extract(a, name), "<failed>") << name;
  EXPECT_EQ(pack::Entries(a).size(), 3u);
}

TEST(PackArchive, WrongMagicIsNotAnArchive) {
  pack::Archive a;
  EXPECT_FALSE(pack::OpenMemory(a, {0x33, 0x7A, 0x6C, 0x70, 0, 0}));
  EXPECT_FALSE(pack::OpenMemory(a, {0x31, 0x7A, 0x6C, 0x62}));
  EXPECT_FALSE(pack::OpenMemory(a, {0x31, 0x7A, 0x6C}));
  EXPECT_EQ(pack::Version(a), 0);
  EXPECT_TRUE(pack::Entries(a).empty());
  EXPECT_EQ(Extract(a, "x"), "<failed>");
  // Only the magic: an archive without entries.
  pack::Archive empty = FromBytes(ArchiveStart(1));
  EXPECT_TRUE(pack::Entries(empty).empty());
}

TEST(PackArchive, TruncationEndsTheDirectoryAtTheDamage) {
  std::vector<uint8_t> good = ArchiveStart(2);
  AddRawEntry(good, 2, "first", 3, Bytes("abc"));
  const size_t firstEnd = good.size();
  AddRawEntry(good, 2, "second", 4, Bytes("defg"));
  // Every cut inside the second entry's header, name or data drops it and
  // keeps the first.
  for (size_t cut = firstEnd; cut < good.size(); ++cut) {
    pack::Archive a =
        FromBytes(std::vector<uint8_t>(good.begin(), good.begin() + cut));
    ASSERT_EQ(pack::Entries(a).size(), 1u) << cut;
    EXPECT_EQ(Extract(a, "first"), "abc");
    EXPECT_EQ(Extract(a, "second"), "<failed>");
  }
  // A name length or stored size that points past the end, however large.
  for (uint64_t storedSize : {uint64_t{5}, uint64_t{1} << 40, ~uint64_t{0}}) {
    std::vector<uint8_t> bytes = ArchiveStart(1);
    AddRawEntry(bytes, 1, "first", 3, Bytes("abc"));
    AddRawEntry(bytes, 1, "n", 4, Bytes("defg"), storedSize);
    pack::Archive a = FromBytes(bytes);
    EXPECT_EQ(pack::Entries(a).size(), 1u);
  }
  std::vector<uint8_t> longName = ArchiveStart(1);
  AddRawEntry(longName, 1, std::string(100, 'x'), 0, {}, 0, 0xFFFFFFFF);
  pack::Archive a = FromBytes(longName);
  EXPECT_TRUE(pack::Entries(a).empty());
}

TEST(PackArchive, SizeChecksComeBeforeAnyAllocation) {
  std::vector<uint8_t> bytes = ArchiveStart(2);
  AddRawEntry(bytes, 2, "big", 300, std::vector<uint8_t>(300, 7));
  // A packed entry claiming an enormous size, with a tiny stream.
  AddRawEntry(bytes, 2, "huge", uint64_t{1} << 62,
              StreamOf(uint64_t{1} << 62, 1 << 20, {{'a'}}));
  pack::Archive a = FromBytes(bytes);
  std::vector<uint8_t> out;
  EXPECT_EQ(pack::ExtractEntry(a, "big", 299, out), -1);
  EXPECT_TRUE(out.empty());
  EXPECT_EQ(pack::ExtractEntry(a, "big", 300, out), 300);
  out.clear();
  EXPECT_EQ(pack::ExtractEntry(a, "huge", kLarge, out), -1);
  EXPECT_TRUE(out.empty());
}

TEST(PackArchive, DamagedStreamsFail) {
  const std::vector<uint8_t> good = TwoBlockStream();
  auto extract = [](const std::vector<uint8_t> &stream, uint64_t fullSize) {
    std::vector<uint8_t> bytes = ArchiveStart(2);
    AddRawEntry(bytes, 2, "e", fullSize, stream);
    pack::Archive a = FromBytes(bytes);
    return Extract(a, "e");
  };
  std::vector<uint8_t> magic = good, zeroBlock = good, shifted = good;
  magic[3] = 0x70;
  std::fill(zeroBlock.begin() + 16, zeroBlock.begin() + 24, 0);
  shifted[16] = 10; // block size 10: the first block runs into the second
  // A later block reaching back into the earlier one: "aaaaaaaaa" is a
  // literal and one match of distance 1, made 6.
  std::vector<uint8_t> back = Packed("aaaaaaaaa");
  ASSERT_EQ(back.back(), 0);
  back.back() = 5;
  const std::vector<uint8_t> reachBack =
      StreamOf(18, 9, {Packed("abcabcabc"), back});
  const std::pair<std::vector<uint8_t>, uint64_t> damaged[] = {
      {magic, 18},
      {zeroBlock, 18},
      {good, 17}, // stream and entry disagree on the size
      {good, 19},
      {shifted, 18},
      {{good.begin(), good.end() - 1}, 18}, // a block runs past the data
      {{good.begin(), good.begin() + 20}, 18},
      {reachBack, 18}};
  for (size_t k = 0; k < std::size(damaged); ++k)
    EXPECT_EQ(extract(damaged[k].first, damaged[k].second), "<failed>") << k;
  // An entry of size 0 packed as a stream without blocks unpacks to
  // nothing; trailing bytes after the last block are harmless.
  EXPECT_EQ(extract(StreamOf(0, 9, {}), 0), "");
  std::vector<uint8_t> trailing = good;
  trailing.insert(trailing.end(), {1, 2, 3});
  EXPECT_EQ(extract(trailing, 18), "abcabcabcxyzxyzxyz");
}

TEST(PackArchive, FilesOnDiskReadLikeMemory) {
  TempDir dir;
  const std::string path = dir.File("a.pack");
  std::vector<uint8_t> bytes = ArchiveStart(1);
  AddRawEntry(bytes, 1, "pair", 18, TwoBlockStream());
  AddRawEntry(bytes, 1, "plain", 4, Bytes("data"));
  WriteText(path, std::string(bytes.begin(), bytes.end()));
  pack::Archive a;
  ASSERT_TRUE(pack::Open(a, path));
  EXPECT_EQ(Extract(a, "pair"), "abcabcabcxyzxyzxyz");
  EXPECT_EQ(Extract(a, "plain"), "data");
  pack::Close(a);
  EXPECT_EQ(Extract(a, "plain"), "<failed>");

  EXPECT_FALSE(pack::Open(a, dir.File("missing.pack")));
  EXPECT_FALSE(pack::Open(a, dir.Folder())); // a folder
  Watchdog watchdog;                         // a FIFO is not waited on
  ASSERT_TRUE(MakeObstacle("fifo", dir.File("fifo")));
  EXPECT_FALSE(pack::Open(a, dir.File("fifo")));
  WriteText(dir.File("text.txt"), "not an archive");
  EXPECT_FALSE(pack::Open(a, dir.File("text.txt")));
}

} // namespace
