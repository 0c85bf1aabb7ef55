// faults_archives_test.cpp — the game binary started beside a damaged
// archive: cut short, wrong magic, an entry overwritten with garbage. A
// damaged data archive ends with the asset error and saves nothing; a
// damaged map or language archive is run past. Never a signal, never a
// hang.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "assets/pack.h"
#include "assets/packwriter.h"
#include "maps/mapfile.h"
#include "support/blank_png.h"
#include "support/copied_game.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

const char *const kArchives[] = {"Warrenfold.data", "Warrenfold.maps",
                                 "Warrenfold.languages"};

std::vector<uint8_t> ReadBytes(const std::string &path) {
  const std::string text = ReadText(path);
  return std::vector<uint8_t>(text.begin(), text.end());
}

void WriteBytes(const std::string &path, const uint8_t *data, size_t size) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char *>(data), std::streamsize(size));
}

// Bytes no archive reader can make sense of, the same on every run.
void Scramble(std::vector<uint8_t> &bytes, size_t from, size_t to) {
  uint32_t x = 0x9E3779B9u;
  for (size_t i = from; i < to && i < bytes.size(); ++i) {
    x = x * 1664525u + 1013904223u;
    bytes[i] = uint8_t(x >> 24);
  }
}

class DamagedArchive : public CopiedGame {
protected:
  // Puts bytes in place of the archive beside the game.
  void Replace(const std::string &name, const uint8_t *data, size_t size) {
    fs::remove(gameDir + name);
    WriteBytes(gameDir + name, data, size);
  }

  // Starts the game with /LOG, plays a few frames and quits. A hang is cut
  // short by a kill, which shows as a status other than 0 or 1.
  ProgramResult Run() {
    fs::remove_all(xdg);
    return RunReplay("30 quit\n", 120, " /LOG");
  }

  std::string LastLogLine() {
    const auto logs = FilesLike(userDir, "Log ", ".log");
    std::vector<std::string> lines;
    if (logs.size() != 1 || !LogLines(ReadText(logs[0]), lines) ||
        lines.empty())
      return "";
    return lines.back();
  }

  // The asset error: status 1, the message, the failed load last in the
  // log, and neither preferences nor scores written.
  void ExpectAssetError(const ProgramResult &r, const std::string &what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Warrenfold::"), std::string::npos) << r.err;
    const std::string last = LastLogLine();
    EXPECT_NE(last.find("\t\tFAILED"), std::string::npos) << last;
    EXPECT_FALSE(fs::exists(userDir + "Warrenfold.prefs"));
    EXPECT_FALSE(fs::exists(userDir + "Warrenfold.scores"));
  }

  // An orderly run that saved on the way out.
  void ExpectRunsOn(const ProgramResult &r, const std::string &what) {
    SCOPED_TRACE(what);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(userDir + "Warrenfold.prefs"));
    EXPECT_TRUE(fs::exists(userDir + "Warrenfold.scores"));
  }

  // The asset error, or a run that never needed the damaged part.
  void ExpectErrorOrRun(const ProgramResult &r, const std::string &what) {
    ASSERT_TRUE(r.status == 0 || r.status == 1) << what << ": " << r.err;
    if (r.status == 1)
      ExpectAssetError(r, what);
    else
      ExpectRunsOn(r, what);
  }

  // Cuts the archive at 0 and every sixteenth of its size (a few of them
  // under the address sanitizer, where each start takes much longer).
  template <typename Check> void EachTruncation(const char *name, Check check) {
    const std::vector<uint8_t> whole =
        ReadBytes(std::string(WARRENFOLD_GAME_DIR) + name);
    ASSERT_GT(whole.size(), 64u);
    std::vector<int> sixteenths;
    if (kAddressSanitizer)
      sixteenths = {0, 8, 15};
    else
      for (int k = 0; k < 16; ++k)
        sixteenths.push_back(k);
    for (int k : sixteenths) {
      const size_t size = whole.size() * size_t(k) / 16;
      Replace(name, whole.data(), size);
      check(Run(), std::string(name) + " cut to " + std::to_string(size));
    }
  }

  void WrongMagic(const char *name, bool fatal) {
    std::vector<uint8_t> bytes =
        ReadBytes(std::string(WARRENFOLD_GAME_DIR) + name);
    ASSERT_GT(bytes.size(), 4u);
    for (int i = 0; i < 4; ++i)
      bytes[size_t(i)] ^= 0x5A;
    Replace(name, bytes.data(), bytes.size());
    const std::string what = std::string(name) + " with a wrong magic";
    if (fatal)
      ExpectAssetError(Run(), what);
    else
      ExpectRunsOn(Run(), what);
  }

  // Writes the shipped archive beside the game with one entry's bytes
  // replaced.
  void ReplaceEntry(const char *name, const std::string &entry,
                    const std::string &bytes) {
    pack::Archive shipped;
    ASSERT_TRUE(pack::Open(shipped, std::string(WARRENFOLD_GAME_DIR) + name));
    std::vector<pack::WriteEntry> entries;
    for (const pack::EntryInfo &e : pack::Entries(shipped)) {
      pack::WriteEntry out{e.name, {}};
      if (e.name == entry)
        out.data.assign(bytes.begin(), bytes.end());
      else
        ASSERT_GE(pack::ExtractEntry(shipped, e.name, e.fullSize, out.data), 0);
      entries.push_back(std::move(out));
    }
    fs::remove(gameDir + name);
    pack::WriteOptions store;
    store.store = true;
    ASSERT_TRUE(pack::WriteArchive(gameDir + name, entries, store));
  }

  // The data bytes of the entry at index (its header and name kept), as
  // the pack reader finds them; false when the archive has no such entry.
  bool EntryRange(const char *name, size_t index, size_t &from, size_t &to,
                  std::string &entry) {
    pack::Archive a;
    if (!pack::Open(a, std::string(WARRENFOLD_GAME_DIR) + name))
      return false;
    const auto &entries = pack::Entries(a);
    if (index >= entries.size())
      return false;
    from = size_t(a.dataOffsets[index]);
    to = from + size_t(entries[index].storedSize);
    entry = entries[index].name;
    return true;
  }
};

TEST_F(DamagedArchive, DataArchiveCutShortIsTheAssetError) {
  EachTruncation("Warrenfold.data",
                 [this](const ProgramResult &r, const std::string &what) {
                   ExpectAssetError(r, what);
                 });
}

TEST_F(DamagedArchive, DataArchiveWithGarbageIsTheAssetErrorOrUnused) {
  WrongMagic("Warrenfold.data", true);
  const std::vector<uint8_t> whole =
      ReadBytes(std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.data");
  pack::Archive a;
  ASSERT_TRUE(
      pack::Open(a, std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.data"));
  const size_t count = pack::Entries(a).size();
  ASSERT_GT(count, 2u);
  // The first entry, one in the middle and the last: each is read at
  // start, or the run never gets to it.
  const std::vector<size_t> picks =
      kAddressSanitizer ? std::vector<size_t>{count / 2}
                        : std::vector<size_t>{0, count / 2, count - 1};
  for (size_t index : picks) {
    size_t from = 0, to = 0;
    std::string entry;
    ASSERT_TRUE(EntryRange("Warrenfold.data", index, from, to, entry));
    std::vector<uint8_t> bytes = whole;
    Scramble(bytes, from, to);
    Replace("Warrenfold.data", bytes.data(), bytes.size());
    ExpectErrorOrRun(Run(), "garbage in " + entry);
  }
  // Garbage over entry headers too: a stretch across the middle.
  std::vector<uint8_t> bytes = whole;
  Scramble(bytes, bytes.size() / 2, bytes.size() / 2 + 65536);
  Replace("Warrenfold.data", bytes.data(), bytes.size());
  ExpectErrorOrRun(Run(), "garbage across the middle");
}

TEST_F(DamagedArchive, MapArchiveCutShortRunsOn) {
  EachTruncation("Warrenfold.maps",
                 [this](const ProgramResult &r, const std::string &what) {
                   ExpectRunsOn(r, what);
                 });
}

TEST_F(DamagedArchive, MapArchiveWithGarbageRunsOn) {
  WrongMagic("Warrenfold.maps", false);
  const std::vector<uint8_t> whole =
      ReadBytes(std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.maps");
  pack::Archive a;
  ASSERT_TRUE(
      pack::Open(a, std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.maps"));
  const size_t count = pack::Entries(a).size();
  ASSERT_GT(count, 0u);
  for (size_t index : {size_t(0), count / 2}) {
    size_t from = 0, to = 0;
    std::string entry;
    ASSERT_TRUE(EntryRange("Warrenfold.maps", index, from, to, entry));
    std::vector<uint8_t> bytes = whole;
    Scramble(bytes, from, to);
    Replace("Warrenfold.maps", bytes.data(), bytes.size());
    ExpectRunsOn(Run(), "garbage in " + entry);
  }
}

TEST_F(DamagedArchive, LanguageArchiveCutShortRunsOn) {
  EachTruncation("Warrenfold.languages",
                 [this](const ProgramResult &r, const std::string &what) {
                   ExpectRunsOn(r, what);
                 });
}

TEST_F(DamagedArchive, LanguageArchiveWithGarbageRunsOn) {
  WrongMagic("Warrenfold.languages", false);
  const std::vector<uint8_t> whole =
      ReadBytes(std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.languages");
  // Over entries' data near the start and across the middle, and over the
  // directory at the end.
  const size_t n = whole.size();
  for (auto [from, to] : {std::pair<size_t, size_t>{64, n / 4},
                          {n / 3, n / 2},
                          {n - n / 8, n - 22}}) {
    std::vector<uint8_t> bytes = whole;
    Scramble(bytes, from, to);
    Replace("Warrenfold.languages", bytes.data(), bytes.size());
    ExpectRunsOn(Run(), "garbage from " + std::to_string(from) + " to " +
                            std::to_string(to));
  }
}

// Pictures whose headers claim sizes no picture of the game has, all
// chunks intact: a banner frame larger than its banner can ever be drawn
// is the asset error at start; an 8192 x 8192 map tile is shown as
// nothing. Either way the process stays small.
TEST_F(DamagedArchive, HugePicturesStayBounded) {
  ReplaceEntry("Warrenfold.data", "victory_00.png",
               testpng::BlankPng(3200, 2000));
  const ProgramResult banner = Run();
  ExpectAssetError(banner, "a huge banner frame");
  fs::remove(gameDir + "Warrenfold.data");
  fs::create_symlink(std::string(WARRENFOLD_GAME_DIR) + "Warrenfold.data",
                     gameDir + "Warrenfold.data");
  ReplaceEntry("Warrenfold.maps", mapfile::TileEntryName("100"),
               testpng::BlankPng(8192, 8192));
  const ProgramResult tile = Run();
  ExpectRunsOn(tile, "a huge map tile");
  if (!kAddressSanitizer) // its shadow memory counts as resident
    for (const ProgramResult *r : {&banner, &tile})
      EXPECT_LT(r->peakKiB, 400 * 1024);
}

} // namespace
