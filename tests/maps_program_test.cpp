// maps_program_test.cpp — the game binary with a crafted map archive beside
// it: damaged and hostile entries load as far as they go, the menu maze
// animates, and the game ends in an orderly way.
#include <gtest/gtest.h>

#include <filesystem>

#include "assets/packwriter.h"
#include "maps/mapfile.h"
#include "platform/pictures.h"
#include "platform_helpers.h"
#include "support/copied_game.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> Filled(int w, int h, uint8_t grey, uint8_t alpha) {
  return plat_test::Png(plat_test::Solid(w, h, {grey, grey, grey, alpha}));
}

// Every kind of trouble the loader and the drawing meet: frame sizes whose
// offsets exceed int, a frame count at its limit, single frames taller than
// their maps' frames, thousands of tiles without pictures, pictures that do
// not decode, damaged and missing maps, background sets beyond their range.
std::vector<pack::WriteEntry> CraftedArchive() {
  mapfile::Index index;
  std::vector<pack::WriteEntry> entries;

  mapfile::MapEntry menu =
      mapfile::MakeMap("menu", 43, 35, 4, (1 << 30) + 8, 96);
  for (int x = 0; x < 43; ++x)
    for (int y = 0; y < 35; ++y) {
      mapfile::SetCell(menu, 0, x, y, (x + y) % 3 == 0 ? 3 : 1);
      mapfile::SetCell(menu, 2, x, y, (x * y) % 5 == 0 ? 2 : 0);
      mapfile::SetCell(menu, 3, x, y, (x + 2 * y) % 7 == 0 ? 999 : -5);
    }
  index.mapIds = {"M0", "01", "02", "03", "03", "04"};
  entries.push_back({mapfile::MapEntryName("M0"), mapfile::WriteMap(menu)});
  std::vector<uint8_t> level = mapfile::WriteMap(
      mapfile::MakeMap("level", 43, 25, 4, INT32_MAX, INT32_MIN));
  entries.push_back({mapfile::MapEntryName("03"), level});
  level.resize(level.size() / 2);
  entries.push_back({mapfile::MapEntryName("01"), level});
  level[0] = 'X';
  entries.push_back({mapfile::MapEntryName("02"), level});

  index.sheets = {"crafted"};
  const auto tile = [&](const std::string &id, int frames, int delay,
                        bool transparent, const std::vector<uint8_t> *bytes) {
    index.tiles.push_back({id, "crafted", "M0", transparent, transparent,
                           static_cast<int8_t>(frames), delay});
    if (bytes != nullptr)
      entries.push_back({mapfile::TileEntryName(id), *bytes});
  };
  const std::vector<uint8_t> floor = Filled(96, 96, 80, 255);
  const std::vector<uint8_t> strip = Filled(64, 32, 200, 128);
  const std::vector<uint8_t> tall = Filled(96, 192, 140, 255);
  const std::vector<uint8_t> junk = {0x89, 'P', 'N', 'G', 1, 2, 3};
  tile("1", 1, 0, false, &floor);
  tile("2", 127, 0, true, &strip);
  tile("3", 1, 0, false, &tall);
  tile("4", -3, -1, false, &floor);
  tile("5", 1, 0, false, &junk);
  for (int i = 0; i < 3000; ++i)
    tile("m" + std::to_string(i), 2, 1, false, nullptr);
  tile("1", 4, 2, true, &floor); // listed again: the later record wins

  const std::vector<uint8_t> sky = Filled(8, 8, 30, 255);
  for (int i = 0; i < 4100; ++i) {
    mapfile::BackgroundEntry set;
    set.name = "set" + std::to_string(i);
    set.images = {{"a", 1, 2, 3}, {"b", 4, 5, 6}};
    index.backgrounds.push_back(set);
    if (i % 1000 == 0 || i >= 4095)
      entries.push_back({mapfile::BackgroundEntryName(set.name, "a"), sky});
  }
  entries.insert(entries.begin(),
                 {mapfile::kIndexEntry, mapfile::WriteIndex(index)});
  return entries;
}

using MapsProgram = CopiedGame;

TEST_F(MapsProgram, ACraftedMapArchiveEndsInAnOrderlyWay) {
  fs::remove(gameDir + "Warrenfold.maps");
  ASSERT_TRUE(
      pack::WriteArchive(gameDir + "Warrenfold.maps", CraftedArchive(), {}));
  // The studio logo and the title take some 240 passes; the menu maze then
  // animates through every frame of the 127-frame strip.
  const ProgramResult r = RunReplay("400 quit\n");
  EXPECT_EQ(r.status, 0) << r.err;
}

} // namespace
