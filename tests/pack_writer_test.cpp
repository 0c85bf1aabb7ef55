// pack_writer_test.cpp — writing pack archives: round trips through the
// reader, the stored-or-packed choice, determinism, and the wfpack tool.
#include "assets/pack.h"
#include "assets/packwriter.h"
#include "pack_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace {

using namespace packtest;
namespace fs = std::filesystem;

std::vector<pack::WriteEntry> Sample() {
  return {
      {"readme.txt", Text(30000, 1)},
      {"noise.bin", RandomBytes(5000, 2)},
      {"empty", {}},
      {"one", {'1'}},
      {"MAPS/01", Runs(250000, 5)},
  };
}

void ExpectReadsBack(const std::vector<uint8_t> &archive,
                     const std::vector<pack::WriteEntry> &entries) {
  pack::Archive a;
  ASSERT_TRUE(pack::OpenMemory(a, archive));
  ASSERT_EQ(pack::Entries(a).size(), entries.size());
  for (size_t i = 0; i < entries.size(); ++i) {
    const pack::EntryInfo &info = pack::Entries(a)[i];
    EXPECT_EQ(info.name, entries[i].name);
    EXPECT_EQ(info.fullSize, entries[i].data.size());
    std::vector<uint8_t> out;
    EXPECT_EQ(pack::ExtractEntry(a, entries[i].name, 4 << 20, out),
              static_cast<int64_t>(entries[i].data.size()));
    EXPECT_EQ(out, entries[i].data) << entries[i].name;
  }
}

TEST(PackWriter, EveryOptionReadsBack) {
  const auto entries = Sample();
  for (int version : {1, 2})
    for (int level :
         {brieflz::kLevelFast, brieflz::kLevelNormal, brieflz::kLevelBest})
      for (uint64_t block : {uint64_t{1}, uint64_t{3}, uint64_t{4096},
                             uint64_t{65536}, uint64_t{1} << 20}) {
        if (level != brieflz::kLevelFast && block < 4096)
          continue; // slow, and tiny blocks are tested on their own
        SCOPED_TRACE(testing::Message() << "version " << version << " level "
                                        << level << " block " << block);
        pack::WriteOptions opt;
        opt.version = version;
        opt.level = level;
        opt.blockSize = block;
        const auto archive = pack::BuildArchive(entries, opt);
        ASSERT_FALSE(archive.empty());
        EXPECT_EQ(archive[0], version == 1 ? 0x31 : 0x32);
        ExpectReadsBack(archive, entries);
        // Many blocks: the same bytes whatever the threads.
        for (unsigned threads : {1u, 3u})
          if (block == 4096) {
            opt.threads = threads;
            EXPECT_EQ(pack::BuildArchive(entries, opt), archive) << threads;
          }
      }
}

TEST(PackWriter, PacksOnlyWhatShrinks) {
  pack::WriteOptions opt;
  const auto entries = Sample();
  pack::Archive a;
  ASSERT_TRUE(pack::OpenMemory(a, pack::BuildArchive(entries, opt)));
  const auto &info = pack::Entries(a);
  EXPECT_LT(info[0].storedSize, info[0].fullSize / 2); // text
  EXPECT_EQ(info[1].storedSize, info[1].fullSize);     // noise
  EXPECT_EQ(info[2].storedSize, 0u);
  EXPECT_EQ(info[3].storedSize, 1u);
  EXPECT_LT(info[4].storedSize, info[4].fullSize / 10);

  opt.store = true;
  ASSERT_TRUE(pack::OpenMemory(a, pack::BuildArchive(entries, opt)));
  for (const pack::EntryInfo &e : pack::Entries(a))
    EXPECT_EQ(e.storedSize, e.fullSize) << e.name;
}

TEST(PackWriter, StreamExactlyAsLongAsTheEntryIsStored) {
  // Compressible text followed by more and more noise: somewhere the
  // stream is exactly as long as the entry. Packing it would make it read
  // as stored, so the writer must store it.
  pack::WriteOptions opt;
  opt.level = brieflz::kLevelFast;
  const std::vector<uint8_t> head(600, 'a');
  const std::vector<uint8_t> noise = RandomBytes(8000, 77);
  bool found = false;
  for (size_t k = 0; k < noise.size() && !found; ++k) {
    std::vector<uint8_t> data = head;
    data.insert(data.end(), noise.begin(), noise.begin() + k);
    if (pack::PackStream(data, opt).size() != data.size())
      continue;
    found = true;
    const std::vector<pack::WriteEntry> entries = {{"edge", data}};
    pack::Archive a;
    ASSERT_TRUE(pack::OpenMemory(a, pack::BuildArchive(entries, opt)));
    EXPECT_EQ(pack::Entries(a)[0].storedSize, data.size());
    ExpectReadsBack(pack::BuildArchive(entries, opt), entries);
  }
  EXPECT_TRUE(found);
}

TEST(PackWriter, RejectsWhatCannotBeWritten) {
  pack::WriteOptions opt;
  opt.version = 3;
  EXPECT_TRUE(pack::BuildArchive(Sample(), opt).empty());
  opt = {};
  opt.blockSize = 0;
  EXPECT_TRUE(pack::BuildArchive(Sample(), opt).empty());
  opt = {};
  const std::vector<pack::WriteEntry> longName = {
      {std::string(70000, 'n'), {1, 2, 3}}};
  EXPECT_TRUE(pack::BuildArchive(longName, opt).empty());
  opt.version = 1;
  ExpectReadsBack(pack::BuildArchive(longName, opt), longName);
  EXPECT_EQ(pack::BuildArchive({}, opt).size(), 4u);
}

std::string AsText(const std::vector<uint8_t> &v) {
  return {v.begin(), v.end()};
}

TEST(PackWriter, WriteArchiveReplacesTheFileWhole) {
  TempDir dir;
  const std::string path = dir.File("out.data");
  WriteText(path, "old");
  const auto entries = Sample();
  const std::string built = AsText(pack::BuildArchive(entries, {}));
  ASSERT_TRUE(pack::WriteArchive(path, entries, {}));
  EXPECT_EQ(ReadText(path), built);
  EXPECT_FALSE(fs::exists(path + ".tmp"));
  // An unwritable place leaves nothing behind and reports failure.
  EXPECT_FALSE(pack::WriteArchive(dir.File("no/x"), entries, {}));
  pack::WriteOptions bad;
  bad.version = 0;
  EXPECT_FALSE(pack::WriteArchive(path, entries, bad));
  EXPECT_EQ(ReadText(path), built);
}

int Tool(const std::string &args) {
  const std::string tool = std::string(WARRENFOLD_TOOLS_DIR) + "wfpack";
  return std::system((tool + " " + args + " 2>/dev/null").c_str());
}

TEST(PackTool, CreateListExtract) {
  if (!fs::exists(std::string(WARRENFOLD_TOOLS_DIR) + "wfpack"))
    GTEST_SKIP() << "wfpack is not built";
  TempDir dir;
  const std::string text = AsText(Text(20000, 3));
  fs::create_directories(dir.File("art"));
  WriteText(dir.File("art/a.txt"), text);
  WriteText(dir.File("noise.bin"), "0123456789");
  WriteText(dir.File("art/entries.list"),
            "first.txt=a.txt\r\n\nsub/noise=" + dir.File("noise.bin") + "\n");
  const std::string q = "'" + dir.Folder();
  ASSERT_EQ(Tool("create --version 1 --level fast --block 5000 " + q +
                 "x.pack' top=" + q + "noise.bin' @" + q + "art/entries.list'"),
            0);
  pack::Archive a;
  ASSERT_TRUE(pack::Open(a, dir.File("x.pack")));
  EXPECT_EQ(pack::Version(a), 1);
  ASSERT_EQ(Tool("extract " + q + "x.pack' first.txt " + q + "out.txt'"), 0);
  EXPECT_EQ(ReadText(dir.File("out.txt")), text);
  ASSERT_EQ(Tool("list " + q + "x.pack' > " + q + "list.txt'"), 0);
  ASSERT_EQ(pack::Entries(a).size(), 3u);
  EXPECT_EQ(ReadText(dir.File("list.txt")),
            "top\t10\t10\nfirst.txt\t20000\t" +
                std::to_string(pack::Entries(a)[1].storedSize) +
                "\nsub/noise\t10\t10\n");
  EXPECT_LT(pack::Entries(a)[1].storedSize, text.size());
  // A failure writes nothing.
  EXPECT_NE(Tool("create " + q + "y.pack' a=" + q + "nothing'"), 0);
  EXPECT_FALSE(fs::exists(dir.File("y.pack")));
}

} // namespace
