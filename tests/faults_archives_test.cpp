// faults_archives_test.cpp — the game binary started beside a damaged
// archive: cut short, garbage over its magic, its entries or its
// directory, a picture too large. A damaged data archive ends with the
// asset error and saves nothing; a damaged map or language archive is run
// past. Never a signal, never a hang.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "assets/pack.h"
#include "assets/packwriter.h"
#include "maps/mapfile.h"
#include "support/blank_png.h"
#include "support/copied_game.h"
#include "support/run_program.h"

namespace {

namespace fs = std::filesystem;

const std::string kData = "Warrenfold.data";
const std::string kArchives[] = {kData, "Warrenfold.maps",
                                 "Warrenfold.languages"};

std::vector<uint8_t> Shipped(const std::string &name) {
  const std::string text = ReadText(WARRENFOLD_GAME_DIR + name);
  return std::vector<uint8_t>(text.begin(), text.end());
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
  // Puts bytes in place of the archive beside the game and checks a run.
  void RunWith(const std::string &name, const std::vector<uint8_t> &bytes,
               size_t size, const std::string &what, bool unusedMayRun) {
    fs::remove(gameDir + name);
    WriteText(gameDir + name,
              std::string(bytes.begin(), bytes.begin() + ptrdiff_t(size)));
    ExpectOutcome(name, what, unusedMayRun);
  }

  // Starts the game with /LOG, plays a few frames and quits. The data
  // archive is read at start: its damage is the asset error, or, when
  // `unusedMayRun`, a part the run never gets to.
  void ExpectOutcome(const std::string &name, const std::string &what,
                     bool unusedMayRun) {
    fs::remove_all(xdg);
    const ProgramResult r = RunReplay("30 quit\n", 120, " /LOG");
    SCOPED_TRACE(name + " " + what);
    ASSERT_TRUE(r.status == 0 || r.status == 1) << r.err;
    if (name == kData && !(unusedMayRun && r.status == 0))
      ExpectAssetError(r);
    else
      ExpectRunsOn(r);
  }

  // Status 1, the message, the failed load last in the log, and neither
  // preferences nor scores written.
  void ExpectAssetError(const ProgramResult &r) {
    EXPECT_EQ(r.status, 1) << r.err;
    EXPECT_NE(r.err.find("Warrenfold::"), std::string::npos) << r.err;
    const auto lines = Log(userDir);
    const std::string last = lines.empty() ? "" : lines.back();
    EXPECT_NE(last.find("\t\tFAILED"), std::string::npos) << last;
    EXPECT_FALSE(fs::exists(userDir + "Warrenfold.prefs"));
    EXPECT_FALSE(fs::exists(userDir + "Warrenfold.scores"));
  }

  // An orderly run that saved on the way out.
  void ExpectRunsOn(const ProgramResult &r) {
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(userDir + "Warrenfold.prefs"));
    EXPECT_TRUE(fs::exists(userDir + "Warrenfold.scores"));
  }

  void Restore(const std::string &name) {
    fs::remove(gameDir + name);
    fs::create_symlink(WARRENFOLD_GAME_DIR + name, gameDir + name);
  }

  // Writes the shipped archive beside the game with one entry's bytes
  // replaced.
  void ReplaceEntry(const std::string &name, const std::string &entry,
                    const std::string &bytes) {
    pack::Archive shipped;
    ASSERT_TRUE(pack::Open(shipped, WARRENFOLD_GAME_DIR + name));
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
};

// No archive at all. A pack archive (data, maps) is walked entry by entry
// from its magic, and what lies before a cut stays readable: cut to
// nothing, to its magic,
// inside the second entry's header, in the middle (inside some entry, as
// almost any cut) and by its last byte. The ZIP of the languages is read
// from its end: any cut loses its directory.
TEST_F(DamagedArchive, CutShort) {
  for (const std::string &name : kArchives) {
    const std::vector<uint8_t> whole = Shipped(name);
    ASSERT_GT(whole.size(), 64u);
    std::vector<size_t> sizes = {0, 4, whole.size() / 2, whole.size() - 1};
    pack::Archive a;
    if (pack::Open(a, WARRENFOLD_GAME_DIR + name)) {
      const uint64_t firstSize = pack::Entries(a)[0].storedSize;
      sizes.push_back(a.dataOffsets[0] + firstSize + 3);
    }
    fs::remove(gameDir + name);
    ExpectOutcome(name, "missing", false);
    if (kAddressSanitizer) // each start takes much longer there
      sizes = {whole.size() / 2, whole.size() - 1};
    for (size_t size : sizes)
      RunWith(name, whole, size, "cut to " + std::to_string(size), false);
    Restore(name);
  }
}

// Garbage over the magic, over a stretch across the middle that takes
// entries' headers too, and over whole entries' data: in a pack archive
// the first, one in the middle and the last entry; in the ZIP entries near
// the start and the directory at the end.
TEST_F(DamagedArchive, Garbage) {
  for (const std::string &name : kArchives) {
    const std::vector<uint8_t> whole = Shipped(name);
    const size_t n = whole.size();
    std::vector<std::pair<size_t, size_t>> ranges = {
        {0, 4}, {n / 2, std::min(n, n / 2 + 65536)}};
    pack::Archive a;
    if (pack::Open(a, WARRENFOLD_GAME_DIR + name)) {
      const auto &entries = pack::Entries(a);
      for (size_t i : {size_t(0), entries.size() / 2, entries.size() - 1})
        ranges.emplace_back(a.dataOffsets[i],
                            a.dataOffsets[i] + entries[i].storedSize);
    } else {
      ranges.insert(ranges.end(), {{64, n / 4}, {n - n / 8, n - 22}});
    }
    if (kAddressSanitizer)
      ranges.resize(2);
    for (const auto &[from, to] : ranges) {
      std::vector<uint8_t> bytes = whole;
      Scramble(bytes, from, to);
      RunWith(name, bytes, n,
              "garbage from " + std::to_string(from) + " to " +
                  std::to_string(to),
              from != 0);
    }
    Restore(name);
  }
}

// Pictures whose headers claim sizes no picture of the game has, all
// chunks intact: a banner frame larger than its banner can ever be drawn
// is the asset error at start; an 8192 x 8192 map tile is shown as
// nothing. Either way the process stays small.
TEST_F(DamagedArchive, HugePicturesStayBounded) {
  ReplaceEntry(kData, "victory_00.png", testpng::BlankPng(3200, 2000));
  const ProgramResult banner = RunReplay("30 quit\n", 120, " /LOG");
  ExpectAssetError(banner);
  Restore(kData);
  fs::remove_all(xdg);
  ReplaceEntry("Warrenfold.maps", mapfile::TileEntryName("100"),
               testpng::BlankPng(8192, 8192));
  const ProgramResult tile = RunReplay("30 quit\n", 120, " /LOG");
  ExpectRunsOn(tile);
  if (!kAddressSanitizer) { // its shadow memory counts as resident
    EXPECT_LT(banner.peakKiB, 400 * 1024);
    EXPECT_LT(tile.peakKiB, 400 * 1024);
  }
}

} // namespace
