// maps_catalogue_test.cpp — loading map archives, cell access, the level
// snapshot, and drawing maps with animated tiles.
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "assets/pack.h"
#include "assets/packwriter.h"
#include "maps/catalogue.h"
#include "maps/draw.h"
#include "maps/mapfile.h"
#include "platform/core.h"
#include "platform/display.h"
#include "platform/pictures.h"
#include "platform/sprites.h"
#include "platform/test_hooks.h"
#include "platform_helpers.h"
#include "support/temp_dir.h"

namespace {

using plat_test::Solid;

// A picture whose pixel (x, y) is paint(x, y).
plat::Picture Painted(int w, int h,
                      const std::function<plat::Colour(int, int)> &paint) {
  plat::Picture p = Solid(w, h, {});
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      plat_test::SetPixel(p, x, y, paint(x, y));
  return p;
}

// A strip of frames, each a solid colour.
plat::Picture Strip(int edge, const std::vector<plat::Colour> &frames) {
  return Painted(edge * static_cast<int>(frames.size()), edge,
                 [&](int x, int) { return frames[x / edge]; });
}

struct ArchiveBuilder {
  mapfile::Index index;
  std::vector<pack::WriteEntry> entries;

  void AddMap(const std::string &id, const mapfile::MapEntry &m) {
    index.mapIds.push_back(id);
    entries.push_back({mapfile::MapEntryName(id), mapfile::WriteMap(m)});
  }
  // A tile listed in the index, with a picture entry when pic is given.
  void Tile(const std::string &id, std::optional<plat::Picture> pic = {},
            bool transparent = false, int frames = 1, int delay = 0) {
    index.tiles.push_back({id, "test", "01", false, transparent,
                           static_cast<int8_t>(frames), delay});
    if (pic)
      entries.push_back({mapfile::TileEntryName(id), plat_test::Png(*pic)});
  }
  // A background set of one image "a"; no picture leaves its entry out.
  void Background(const std::string &set,
                  std::optional<plat::Picture> pic = {}) {
    index.backgrounds.push_back({set, 0, {{"a", 0, {0, 0}}}});
    if (pic)
      entries.push_back(
          {mapfile::BackgroundEntryName(set, "a"), plat_test::Png(*pic)});
  }
  std::string Write(const TempDir &dir, const std::string &name = "test.maps") {
    index.sheets = {"test"};
    std::vector<pack::WriteEntry> all = entries;
    all.insert(all.begin(), {mapfile::kIndexEntry, mapfile::WriteIndex(index)});
    pack::WriteOptions opt;
    opt.store = true;
    EXPECT_TRUE(pack::WriteArchive(dir.File(name), all, opt));
    return dir.File(name);
  }
};

// A map whose layer 0 holds a checkerboard of tiles 1..4 and whose layer 1
// is empty.
mapfile::MapEntry Checkerboard(int w, int h, int tile = 32) {
  mapfile::MapEntry m = mapfile::MakeMap("test map", w, h, 2, tile, tile);
  for (int x = 0; x < w; ++x)
    for (int y = 0; y < h; ++y)
      mapfile::SetCell(m, 0, x, y,
                       static_cast<int16_t>(1 + (x % 2) + 2 * (y % 2)));
  return m;
}

const plat::Colour kColours[] = {{0, 0, 0, 255},
                                 {200, 30, 30, 255},
                                 {30, 200, 30, 255},
                                 {30, 30, 200, 255},
                                 {200, 200, 30, 255}};

class Maps : public ::testing::Test {
protected:
  TempDir dir;
  std::unique_ptr<MapCatalogue> cat = std::make_unique<MapCatalogue>();
  MapView view;

  void SetUp() override {
    ASSERT_TRUE(plat::Init());
    ASSERT_TRUE(plat::InitSprites());
    OpenScreen(320, 200);
  }
  void TearDown() override {
    ResetMapView(view);
    plat::Shutdown();
  }
  void OpenScreen(int w, int h) {
    plat::CloseScreen();
    plat::CloseWindow();
    ASSERT_TRUE(plat::OpenWindow(w, h, "maps", plat::WindowStyle::Windowed));
    ASSERT_TRUE(plat::OpenScreenInWindow());
  }
  void AddBoardTiles(ArchiveBuilder &b) {
    for (int i = 1; i <= 4; ++i)
      b.Tile(std::to_string(i), Solid(32, 32, kColours[i]));
  }
  // A 23 x 14 board with transparent tiles over it: 7 animated (two
  // frames), 8 static; `view` shows it at 30 pixels a tile from (-17, -9),
  // the animations held, and `plain` the same without a cache.
  void LoadOverlaidBoard(ArchiveBuilder &b, mapfile::MapEntry m,
                         MapView &plain) {
    b.AddMap("01", m);
    AddBoardTiles(b);
    b.Tile("7", Strip(32, {{255, 255, 255, 128}, {255, 0, 255, 200}}), true, 2,
           1);
    b.Tile("8", Solid(32, 32, {10, 250, 10, 100}), true);
    LoadMaps(*cat, b.Write(dir));
    SetMapTileSize(*cat, view, 30);
    SetMapOffsetX(view, -17);
    SetMapOffsetY(view, -9);
    view.animation = 0;
    plain = view;
    plain.allowCache = false;
    StoreMap(*cat, "01");
  }
  // The screen with only the map drawn on black.
  plat::Picture Drawn(MapView &v, const std::string &id) {
    plat::ClearScreen({0, 0, 0, 255});
    EXPECT_EQ(DrawMap(*cat, v, id), 0);
    return plat_test::Grab(0, 0, plat::ScreenWidth(), plat::ScreenHeight());
  }
};

TEST_F(Maps, CellAccessAndLayerLimits) {
  ArchiveBuilder b;
  mapfile::MapEntry m = Checkerboard(5, 4);
  mapfile::SetCell(m, 1, 2, 2, -5);
  mapfile::SetCell(m, 1, 3, 1, 7);
  b.AddMap("01", m);
  b.AddMap("02", m);
  b.entries.back().data[0] = 'X'; // a wrong magic
  b.AddMap("03", Checkerboard(3, 3));
  mapfile::MapEntry big = mapfile::MakeMap("big", 129, 129, 1, 32, 32);
  mapfile::SetCell(big, 0, 128, 128, 9);
  b.AddMap("04", big);
  AddBoardTiles(b);
  b.index.tiles[0].solid = b.index.tiles[1].solid = true;
  LoadMaps(*cat, b.Write(dir));

  EXPECT_EQ(GetTile(*cat, "01", 0, 1, 1), 4);
  EXPECT_EQ(GetTile(*cat, "01", 1, 3, 1), 7);
  EXPECT_EQ(GetTile(*cat, "01", 2, 0, 0), -1); // layer == layerCount
  EXPECT_EQ(SetTile(*cat, "01", 2, 0, 0, 9), -1);
  EXPECT_EQ(IsTileEmpty(*cat, "01", 1, 2, 2), 0); // -5 is not empty
  EXPECT_EQ(IsTileEmpty(*cat, "01", 1, 0, 0), 1);
  EXPECT_EQ(IsTileEmpty(*cat, "never", 1, 0, 0), -1);
  // Off the grid: a wall for movement, nothing to read or write.
  EXPECT_EQ(IsTileEmpty(*cat, "01", 1, -1, 0), 0);
  EXPECT_EQ(IsTileEmpty(*cat, "01", 1, 5, 0), 0);
  EXPECT_EQ(GetTile(*cat, "01", 0, 0, 4), -1);
  EXPECT_EQ(SetTile(*cat, "01", 0, 200, 0, 1), -1);
  EXPECT_EQ(GetTile(*cat, "01", -1, 0, 0), -1);
  // A map that does not parse exists with its ID only; the others load.
  ASSERT_NE(FindMap(*cat, "02"), nullptr);
  EXPECT_EQ(FindMap(*cat, "02")->entry.layerCount, 0);
  EXPECT_EQ(GetTile(*cat, "03", 0, 2, 2), 1);
  EXPECT_EQ(GetTile(*cat, "04", 0, 128, 128), 9); // the grid's last cell
  EXPECT_EQ(cat->mapIds, (std::vector<std::string>{"01", "02", "03", "04"}));
  EXPECT_EQ(cat->sheets["test"].tileCount, 4);
  // Solid tiles keep a collision mask.
  const auto collide = [&](const char *one, const char *other) {
    return plat::SpriteCollision(cat->tiles[one].sprite, 0, 0,
                                 cat->tiles[other].sprite, 0, 0);
  };
  EXPECT_TRUE(collide("1", "2"));
  EXPECT_FALSE(collide("1", "3"));

  // An index without its magic, or no archive at all, loads nothing.
  MapCatalogue empty;
  ASSERT_TRUE(
      pack::WriteArchive(dir.File("bad.maps"),
                         {{mapfile::kIndexEntry, {'X', 'N', 'X'}},
                          {mapfile::MapEntryName("01"), b.entries[0].data}},
                         {}));
  LoadMaps(empty, dir.File("bad.maps"));
  LoadMaps(empty, dir.File("missing.maps"));
  EXPECT_TRUE(empty.maps.empty());
  EXPECT_TRUE(empty.mapIds.empty());
  EXPECT_EQ(IsTileEmpty(empty, "01", 1, 0, 0), -1); // nothing blocks
  EXPECT_EQ(DrawMap(empty, view, "01"), -1);
}

TEST_F(Maps, SnapshotPutsCellsBackAndReloadKeepsIt) {
  ArchiveBuilder b;
  mapfile::MapEntry m = Checkerboard(4, 4);
  mapfile::SetCell(m, 1, 0, 0, 57); // the first and the last cell
  mapfile::SetCell(m, 1, 3, 3, 56);
  b.index.mapIds.push_back("01"); // listed twice, one entry of that name
  b.AddMap("01", m);
  b.Tile("1", Strip(32, {kColours[1], kColours[2]}), false, 2);
  const std::string path = b.Write(dir);
  LoadMaps(*cat, path);
  EXPECT_EQ(cat->mapIds, (std::vector<std::string>{"01", "01"}));
  const auto cells = [&] {
    return std::pair(GetTile(*cat, "01", 1, 0, 0),
                     GetTile(*cat, "01", 1, 3, 3));
  };
  const auto clear = [&](int value) {
    EXPECT_EQ(SetTile(*cat, "01", 1, 0, 0, value), 0);
    EXPECT_EQ(SetTile(*cat, "01", 1, 3, 3, value), 0);
  };
  EXPECT_EQ(RestoreMap(*cat), 0);
  StoreMap(*cat, "01");
  clear(0);
  EXPECT_EQ(cells(), std::pair(0, 0));
  EXPECT_EQ(RestoreMap(*cat), 1);
  EXPECT_EQ(cells(), std::pair(57, 56));
  // The snapshot stays; a second store is ignored until it is dropped.
  clear(0);
  StoreMap(*cat, "01");
  EXPECT_EQ(RestoreMap(*cat), 1);
  EXPECT_EQ(cells(), std::pair(57, 56));
  EXPECT_EQ(DropStoredMap(*cat), 1);
  EXPECT_EQ(DropStoredMap(*cat), 0);
  clear(0);
  StoreMap(*cat, "01");
  clear(5);
  RestoreMap(*cat);
  EXPECT_EQ(cells(), std::pair(0, 0));

  // A reload overwrites the cells in place and keeps the rest.
  SetMapTileSize(*cat, view, 32);
  DrawMap(*cat, view, "01");
  DrawMap(*cat, view, "01");
  const int8_t frame = cat->tiles["1"].currentFrame;
  LoadMaps(*cat, path);
  EXPECT_EQ(cat->mapIds.size(), 4u);
  EXPECT_EQ(cells(), std::pair(57, 56));
  EXPECT_EQ(cat->tiles["1"].currentFrame, frame); // animation state kept
  EXPECT_TRUE(cat->snapshot.exists);              // snapshot untouched
  EXPECT_EQ(cat->snapshot.mapName, "01");
}

TEST_F(Maps, PositionsAtOneThreeSixSixWide) {
  OpenScreen(1366, 768);
  ArchiveBuilder b;
  b.AddMap("01", Checkerboard(43, 25));
  AddBoardTiles(b);
  LoadMaps(*cat, b.Write(dir));
  SetMapTileSize(*cat, view, 34);
  SetMapOffsetX(view, -48);
  SetMapOffsetY(view, -16);
  Drawn(view, "01");
  // Cell (0, 0) starts at (-48, -16): (2, 1) at (20, 18), (1, 0) ends at
  // (19, 17); the last cell seen, (41, 23), shows two rows of pixels.
  plat_test::ExpectScreen(20, 18, kColours[3]);
  plat_test::ExpectScreen(19, 17, kColours[2]);
  plat_test::ExpectScreen(0, 0, kColours[2]);
  plat_test::ExpectScreen(54, 51, kColours[4]); // cell (3, 1)
  plat_test::ExpectScreen(53, 51, kColours[3]); // still cell (2, 1)
  plat_test::ExpectScreen(1365, 766, kColours[4]);
}

TEST_F(Maps, AnimationStepsWithTheDelay) {
  ArchiveBuilder b;
  b.AddMap("01", Checkerboard(4, 4));
  b.Tile("1", Strip(32, {kColours[1], kColours[2], kColours[3], kColours[4]}),
         false, 4);
  b.Tile("2", Strip(32, {kColours[1], kColours[2], kColours[3]}), false, 3, 2);
  b.Tile("3", Solid(64, 32, kColours[3]), false, 0, 1);
  LoadMaps(*cat, b.Write(dir));
  EXPECT_EQ(plat::SpriteWidth(cat->tiles["1"].sprite), 128);
  SetMapTileSize(*cat, view, 32);
  // Before any step, a strip shows its first frame only; a picture never
  // clipped is scaled into its cell whole.
  view.animation = 0;
  Drawn(view, "01");
  plat_test::ExpectScreen(1, 16, kColours[1]);
  plat_test::ExpectScreen(30, 16, kColours[1]);
  plat_test::ExpectScreen(30, 48, kColours[3]);
  plat_test::ExpectScreen(40, 48, kColours[0]); // cell (1, 1) has no tile
  view.animation = 1;
  std::vector<int> one, two, counter;
  for (int i = 0; i < 6; ++i) {
    ASSERT_EQ(DrawMap(*cat, view, "01"), 0);
    one.push_back(cat->tiles["1"].currentFrame);
    two.push_back(cat->tiles["2"].currentFrame);
    counter.push_back(cat->tiles["3"].frameCounter);
  }
  EXPECT_EQ(one, (std::vector<int>{1, 2, 3, 4, 1, 2}));
  EXPECT_EQ(two, (std::vector<int>{0, 0, 1, 1, 1, 2}));
  EXPECT_EQ(counter, (std::vector<int>{1, 0, 1, 0, 1, 0}));
  EXPECT_EQ(cat->tiles["3"].currentFrame, 0); // frame count 0: never clipped

  // A map that is not loaded draws nothing and steps nothing.
  EXPECT_EQ(DrawMap(*cat, view, "99"), -1);
  EXPECT_EQ(DrawMap(*cat, view, ""), -1);
  EXPECT_EQ(cat->tiles["1"].currentFrame, 2);
  // A step changes what the next frame shows: tile 1 now shows frame 2.
  Drawn(view, "01");
  plat_test::ExpectScreen(5, 5, kColours[2]);
}

TEST_F(Maps, CachedDrawingMatchesCellByCell) {
  OpenScreen(640, 400);
  ArchiveBuilder b;
  mapfile::MapEntry m = Checkerboard(23, 14, 32);
  mapfile::SetCell(m, 1, 3, 3, 7); // animated, transparent
  mapfile::SetCell(m, 1, 6, 2, 8); // static, transparent
  mapfile::SetCell(m, 1, 20, 12, 7);
  // Single frames that a step clips: taller than the map's frames, and
  // halves that a map of 16-pixel frames cuts apart.
  mapfile::SetCell(m, 0, 10, 5, 9);
  mapfile::SetCell(m, 0, 14, 9, 9);
  mapfile::SetCell(m, 0, 12, 7, 10);
  b.AddMap("02", Checkerboard(2, 2, 16));
  b.Tile("9", Painted(32, 64, [](int, int y) {
           return y < 32 ? kColours[4] : kColours[2];
         }));
  b.Tile("10", Strip(16, {{90, 0, 90, 255}, {240, 240, 240, 255}}));
  MapView plain;
  LoadOverlaidBoard(b, m, plain);
  MapView other = plain; // steps through the map of 16-pixel frames
  other.animation = 1;
  // Before frames 1 to 5 a cell changes (layer, x, y, value): one starts to
  // animate, one stops, a pickup is taken, a hole leaves no cache possible
  // and is filled again; before frame 6 the map is restored.
  const std::array<int, 4> edits[] = {
      {1, 5, 5, 7}, {1, 3, 3, 8}, {1, 6, 2, 0}, {0, 8, 8, 0}, {0, 8, 8, 2}};
  for (int frame = 0; frame < 11; ++frame) {
    if (frame >= 1 && frame <= 5) {
      const auto [layer, x, y, value] = edits[frame - 1];
      SetTile(*cat, "01", layer, x, y, value);
    }
    if (frame == 6)
      RestoreMap(*cat);
    const plat::Picture cached = Drawn(view, "01");
    EXPECT_TRUE(Drawn(plain, "01").pixels == cached.pixels)
        << "frame " << frame;
    // Step the animations once for the next frame.
    if (frame == 8) {
      DrawMap(*cat, other, "02");
      continue;
    }
    view.animation = 1;
    DrawMap(*cat, view, "01");
    view.animation = 0;
  }
  EXPECT_TRUE(view.cacheValid);
}

// A cache made a part at a time ahead of the screen that shows it shows
// what a cache made at once shows, with the cells changed meanwhile (drawn
// already or not yet), and the first frame finishes it. Preparing moves no
// animation; a whole new map starts it again.
TEST_F(Maps, ACachePreparedInPartsShowsTheSamePixels) {
  ArchiveBuilder b;
  mapfile::MapEntry m = Checkerboard(23, 14, 32);
  mapfile::SetCell(m, 1, 3, 3, 7);  // animated
  mapfile::SetCell(m, 1, 6, 2, 8);  // static, transparent: drawn early
  mapfile::SetCell(m, 1, 10, 5, 8); // drawn late
  MapView plain;
  LoadOverlaidBoard(b, m, plain);
  const TileRecord animated = cat->tiles["7"];
  // 12 x 7 cells show, 83 of them static, column by column: 20 a part.
  auto partsToWhole = [&] {
    int parts = 1;
    while (!PrepareMapCache(*cat, view, "01", 20) && parts < 100)
      ++parts;
    return parts;
  };
  for (int part = 0; part < 3; ++part)
    EXPECT_FALSE(PrepareMapCache(*cat, view, "01", 20));
  SetTile(*cat, "01", 1, 6, 2, 0);  // drawn already: drawn again
  SetTile(*cat, "01", 1, 10, 5, 0); // not drawn yet
  SetTile(*cat, "01", 1, 4, 4, 7);  // drawn already, now animated
  EXPECT_FALSE(PrepareMapCache(*cat, view, "01", 20));
  EXPECT_EQ(cat->tiles["7"].currentFrame, animated.currentFrame);
  EXPECT_EQ(cat->tiles["7"].frameCounter, animated.frameCounter);
  EXPECT_FALSE(view.cacheValid);
  EXPECT_TRUE(Drawn(plain, "01").pixels == Drawn(view, "01").pixels);
  EXPECT_TRUE(view.cacheValid);
  EXPECT_TRUE(PrepareMapCache(*cat, view, "01", 20)); // whole already
  // Started, then the map restored whole: made again from the start.
  ResetMapView(view);
  EXPECT_FALSE(PrepareMapCache(*cat, view, "01", 20));
  RestoreMap(*cat);
  EXPECT_EQ(partsToWhole(), 5);
  EXPECT_TRUE(Drawn(plain, "01").pixels == Drawn(view, "01").pixels);
}

TEST_F(Maps, FrameSizesBeyondIntClipNothing) {
  // Frame 5 of frames 2^30 + 8 wide starts at 2^32 + 32: far past the
  // picture, whatever int arithmetic would make of it.
  ArchiveBuilder b;
  mapfile::MapEntry m = Checkerboard(4, 4);
  m.tileWidth = (1 << 30) + 8;
  mapfile::SetCell(m, 1, 1, 1, 7);
  b.AddMap("01", m);
  AddBoardTiles(b);
  b.Tile("7", Strip(32, {kColours[2], kColours[3]}), true, 5);
  LoadMaps(*cat, b.Write(dir));
  SetMapTileSize(*cat, view, 32);
  MapView still = view;
  still.animation = 0;
  still.allowCache = false;
  for (int frame = 1; frame <= 5; ++frame) {
    DrawMap(*cat, view, "01"); // steps to this frame
    ASSERT_EQ(cat->tiles["7"].currentFrame, frame);
    // Frame 1 shows the picture (its left part); every later frame lies
    // beyond it and shows the board below.
    SCOPED_TRACE(frame);
    Drawn(still, "01");
    plat_test::ExpectScreen(40, 40, frame == 1 ? kColours[2] : kColours[4]);
  }
}

// Tiles take numbers in first-seen order, backgrounds 16 per set in index
// order; neither range reaches into the other, and beyond its range a tile
// or set gets no picture.
TEST_F(Maps, SpriteNumbersStayInTheirRanges) {
  ArchiveBuilder b;
  b.AddMap("01", Checkerboard(2, 2));
  for (int i = 1; i <= 20000; ++i) // the 20,001st: once the first set's
    b.Tile(std::to_string(i));
  b.Tile("20001", Solid(8, 8, kColours[1]));
  const plat::Picture sky = Solid(16, 16, kColours[2]);
  b.Background("sky", sky);
  for (int i = 1; i < 4095; ++i)
    b.Background("set" + std::to_string(i));
  b.Background("last", sky);
  b.Background("beyond", sky);
  LoadMaps(*cat, b.Write(dir));
  EXPECT_EQ(cat->tiles["1"].sprite, -1); // listed, no picture
  const int tile = cat->tiles["20001"].sprite;
  const int background = cat->backgrounds["sky"].sprites[0];
  ASSERT_GE(tile, 0);
  ASSERT_GE(background, 0);
  EXPECT_NE(tile, background);
  EXPECT_GE(cat->backgrounds["last"].sprites[0], 0);
  EXPECT_EQ(cat->backgrounds["beyond"].sprites[0], -1);
  EXPECT_EQ(cat->backgrounds["beyond"].entry.imageCount, 1);

  // Another archive: its new tiles come after these (the 40,001st gets no
  // picture), one named again keeps its number.
  ArchiveBuilder more;
  more.AddMap("01", Checkerboard(2, 2));
  for (int i = 1; i < 19999; ++i)
    more.Tile("x" + std::to_string(i));
  for (const char *id : {"x19999", "x20000", "20001"})
    more.Tile(id, Solid(8, 8, kColours[3]));
  more.Background("sky", sky);
  LoadMaps(*cat, more.Write(dir, "more.maps"));
  EXPECT_EQ(cat->tileOrder.size(), 40001u);
  EXPECT_EQ(cat->tileOrder[20001], "x1");
  EXPECT_GE(cat->tiles["x19999"].sprite, 0);
  EXPECT_EQ(cat->tiles["x20000"].sprite, -1);
  EXPECT_EQ(cat->tiles["20001"].sprite, tile);
  EXPECT_EQ(cat->backgrounds["sky"].sprites[0], background);
  EXPECT_EQ(plat::SpriteWidth(tile), 8);
  EXPECT_TRUE(
      plat_test::Near(plat_test::SpritePixel(tile, 0, 0), kColours[3], 0));
  EXPECT_EQ(plat::SpriteWidth(background), 16);
  EXPECT_TRUE(plat_test::Near(plat_test::SpritePixel(background, 0, 0),
                              kColours[2], 0));
}

TEST_F(Maps, AFailedBackgroundReloadEmptiesItsSlot) {
  const plat::Picture sky = Solid(16, 16, kColours[2]);
  ArchiveBuilder good, missing, broken;
  good.Background("sky", sky);
  missing.Background("sky");
  broken.Background("sky");
  broken.entries.push_back({mapfile::BackgroundEntryName("sky", "a"), {1, 2}});
  // The same set again, its picture missing, then one that does not decode.
  for (ArchiveBuilder *again : {&missing, &broken}) {
    LoadMaps(*cat, good.Write(dir));
    const int number = cat->backgrounds["sky"].sprites[0];
    ASSERT_GE(number, 0);
    LoadMaps(*cat, again->Write(dir, "again.maps"));
    EXPECT_EQ(cat->backgrounds["sky"].sprites[0], -1);
    EXPECT_FALSE(plat::SpriteExists(number));
  }
}

} // namespace
