// maps_catalogue_test.cpp — loading map archives, cell access, the level
// snapshot, and drawing maps with animated tiles.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <map>
#include <memory>

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

using plat_test::GetPixel;
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

// Whether pixel (x, y) of p has the colour (alpha aside).
testing::AssertionResult Shows(const plat::Picture &p, int x, int y,
                               plat::Colour want) {
  const plat::Colour got = GetPixel(p, x, y);
  if (plat_test::Near(got, want, 0))
    return testing::AssertionSuccess();
  return testing::AssertionFailure()
         << "pixel " << x << "," << y << " is " << plat_test::Str(got)
         << ", not " << plat_test::Str(want);
}

struct ArchiveBuilder {
  mapfile::Index index;
  std::vector<pack::WriteEntry> entries;

  void AddMap(const std::string &id, const mapfile::MapEntry &m) {
    index.mapIds.push_back(id);
    entries.push_back({mapfile::MapEntryName(id), mapfile::WriteMap(m)});
  }
  void AddRaw(const std::string &name, std::vector<uint8_t> bytes) {
    entries.push_back({name, std::move(bytes)});
  }
  // A tile listed in the index; without AddTile, it has no picture entry.
  void List(const std::string &id, bool transparent = false, int frames = 1,
            int delay = 0) {
    index.tiles.push_back({id, "test", "01", false, transparent,
                           static_cast<int8_t>(frames), delay});
  }
  void AddTile(const std::string &id, const plat::Picture &pic,
               bool transparent, int frames, int delay) {
    List(id, transparent, frames, delay);
    entries.push_back({mapfile::TileEntryName(id), plat_test::Png(pic)});
  }
  // A background set of one image; pic nullptr leaves its entry out.
  void AddBackground(const std::string &set, const std::string &image,
                     const plat::Picture *pic) {
    mapfile::BackgroundEntry e;
    e.name = set;
    e.images.push_back({image, 0, 0, 0});
    index.backgrounds.push_back(e);
    if (pic != nullptr)
      entries.push_back(
          {mapfile::BackgroundEntryName(set, image), plat_test::Png(*pic)});
  }
  std::string Write(const TempDir &dir, const std::string &name = "test.maps",
                    bool goodIndex = true) {
    index.sheets = {"test"};
    std::vector<pack::WriteEntry> all = entries;
    std::vector<uint8_t> idx = mapfile::WriteIndex(index);
    if (!goodIndex)
      idx[0] = 'X';
    all.insert(all.begin(), {mapfile::kIndexEntry, idx});
    pack::WriteOptions opt;
    opt.store = true;
    const std::string path = dir.File(name);
    EXPECT_TRUE(pack::WriteArchive(path, all, opt));
    return path;
  }
};

// A map whose layer 0 holds a checkerboard of tiles 1..4 and whose layer 1
// is empty but for the given cells.
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
    ASSERT_TRUE(
        plat::OpenWindow(320, 200, "maps", plat::WindowStyle::Windowed));
    ASSERT_TRUE(plat::OpenScreenInWindow());
  }
  void TearDown() override {
    ResetMapView(view);
    plat::Shutdown();
  }
  // Another size than the 320 x 200 every test starts with.
  void ReopenScreen(int w, int h) {
    plat::CloseScreen();
    plat::CloseWindow();
    ASSERT_TRUE(plat::OpenWindow(w, h, "maps", plat::WindowStyle::Windowed));
    ASSERT_TRUE(plat::OpenScreenInWindow());
  }
  void AddBoardTiles(ArchiveBuilder &b, int edge = 32) {
    for (int i = 1; i <= 4; ++i)
      b.AddTile(std::to_string(i), Solid(edge, edge, kColours[i]), false, 1, 0);
  }
  static plat::Picture Screen() {
    return plat_test::Grab(0, 0, plat::ScreenWidth(), plat::ScreenHeight());
  }
};

TEST_F(Maps, BadIndexLeavesTheCatalogueEmpty) {
  ArchiveBuilder b;
  b.AddMap("01", Checkerboard(4, 4));
  LoadMaps(*cat, b.Write(dir, "bad.maps", false));
  EXPECT_TRUE(cat->maps.empty());
  EXPECT_TRUE(cat->mapIds.empty());
  LoadMaps(*cat, dir.File("missing.maps"));
  EXPECT_TRUE(cat->maps.empty());
  EXPECT_EQ(IsTileEmpty(*cat, "01", 1, 0, 0), -1); // nothing blocks
  EXPECT_EQ(DrawMap(*cat, view, "01"), -1);
}

TEST_F(Maps, CellAccessAndLayerLimits) {
  ArchiveBuilder b;
  mapfile::MapEntry m = Checkerboard(5, 4);
  mapfile::SetCell(m, 1, 2, 2, -5);
  mapfile::SetCell(m, 1, 3, 1, 7);
  b.AddMap("01", m);
  std::vector<uint8_t> broken = mapfile::WriteMap(m);
  broken[0] = 'X';
  b.index.mapIds.push_back("02");
  b.AddRaw(mapfile::MapEntryName("02"), broken);
  b.AddMap("03", Checkerboard(3, 3));
  AddBoardTiles(b);
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
  // A map with a wrong magic exists with its ID only; the others load.
  ASSERT_NE(FindMap(*cat, "02"), nullptr);
  EXPECT_EQ(FindMap(*cat, "02")->entry.layerCount, 0);
  EXPECT_EQ(GetTile(*cat, "03", 0, 2, 2), 1);
  EXPECT_EQ(cat->mapIds, (std::vector<std::string>{"01", "02", "03"}));
  EXPECT_EQ(cat->sheets["test"].tileCount, 4);
}

TEST_F(Maps, SnapshotPutsCellsBack) {
  ArchiveBuilder b;
  mapfile::MapEntry m = mapfile::MakeMap("snap", 8, 9, 4, 32, 32);
  mapfile::SetCell(m, 3, 5, 7, 57);
  b.AddMap("03", m);
  LoadMaps(*cat, b.Write(dir));
  EXPECT_EQ(RestoreMap(*cat), 0);
  StoreMap(*cat, "03");
  EXPECT_EQ(SetTile(*cat, "03", 3, 5, 7, 0), 0);
  EXPECT_EQ(GetTile(*cat, "03", 3, 5, 7), 0);
  EXPECT_EQ(RestoreMap(*cat), 1);
  EXPECT_EQ(GetTile(*cat, "03", 3, 5, 7), 57);
  // The snapshot stays; a second store is ignored until it is dropped.
  SetTile(*cat, "03", 3, 5, 7, 0);
  StoreMap(*cat, "03");
  EXPECT_EQ(RestoreMap(*cat), 1);
  EXPECT_EQ(GetTile(*cat, "03", 3, 5, 7), 57);
  EXPECT_EQ(DropStoredMap(*cat), 1);
  EXPECT_EQ(DropStoredMap(*cat), 0);
  SetTile(*cat, "03", 3, 5, 7, 0);
  StoreMap(*cat, "03");
  SetTile(*cat, "03", 3, 5, 7, 56);
  RestoreMap(*cat);
  EXPECT_EQ(GetTile(*cat, "03", 3, 5, 7), 0);
}

TEST_F(Maps, ReloadOverwritesInPlaceAndKeepsTheRest) {
  ArchiveBuilder b;
  mapfile::MapEntry first = Checkerboard(4, 4);
  mapfile::SetCell(first, 1, 1, 1, 3);
  b.index.mapIds.push_back("01"); // listed twice, one entry of that name
  b.AddMap("01", first);
  b.AddTile("1", Strip(32, {kColours[1], kColours[2]}), false, 2, 0);
  const std::string path = b.Write(dir);
  LoadMaps(*cat, path);
  EXPECT_EQ(cat->mapIds, (std::vector<std::string>{"01", "01"}));
  EXPECT_EQ(GetTile(*cat, "01", 1, 1, 1), 3);

  SetMapTileSize(*cat, view, 32);
  StoreMap(*cat, "01");
  SetTile(*cat, "01", 0, 0, 0, 2);
  DrawMap(*cat, view, "01");
  DrawMap(*cat, view, "01");
  const int8_t frame = cat->tiles["1"].currentFrame;
  LoadMaps(*cat, path);
  EXPECT_EQ(cat->mapIds.size(), 4u);
  EXPECT_EQ(GetTile(*cat, "01", 0, 0, 0), 1);     // cells reset to the archive
  EXPECT_EQ(cat->tiles["1"].currentFrame, frame); // animation state kept
  EXPECT_TRUE(cat->snapshot.exists);              // snapshot untouched
  EXPECT_EQ(cat->snapshot.mapName, "01");
}

TEST_F(Maps, OversizedOrTruncatedEntriesAreRejected) {
  ArchiveBuilder b;
  std::vector<uint8_t> bytes = mapfile::WriteMap(Checkerboard(4, 4));
  // 17 layers, 130 columns, a truncated copy: none of them loads.
  std::vector<uint8_t> layers = bytes, wide = bytes;
  layers[596] = 17;
  wide[580] = 130;
  std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + bytes.size() / 2);
  b.index.mapIds = {"a", "b", "c"};
  b.AddRaw(mapfile::MapEntryName("a"), layers);
  b.AddRaw(mapfile::MapEntryName("b"), wide);
  b.AddRaw(mapfile::MapEntryName("c"), cut);
  LoadMaps(*cat, b.Write(dir));
  for (const char *id : {"a", "b", "c"}) {
    ASSERT_NE(FindMap(*cat, id), nullptr) << id;
    EXPECT_EQ(FindMap(*cat, id)->entry.layerCount, 0) << id;
  }
}

TEST_F(Maps, PositionsAtOneThreeSixSixWide) {
  ReopenScreen(1366, 768);
  ArchiveBuilder b;
  b.AddMap("01", Checkerboard(43, 25));
  AddBoardTiles(b);
  LoadMaps(*cat, b.Write(dir));
  SetMapTileSize(*cat, view, 34);
  SetMapOffsetX(view, -48);
  SetMapOffsetY(view, -16);
  ASSERT_EQ(DrawMap(*cat, view, "01"), 0);
  const plat::Picture s = Screen();
  // Cell (0, 0) starts at (-48, -16): (2, 1) at (20, 18), (1, 0) ends at
  // (19, 17).
  EXPECT_TRUE(Shows(s, 20, 18, kColours[3]));
  EXPECT_TRUE(Shows(s, 19, 17, kColours[2]));
  EXPECT_TRUE(Shows(s, 0, 0, kColours[2]));
  EXPECT_TRUE(Shows(s, 54, 51, kColours[4])); // cell (3, 1)
  EXPECT_TRUE(Shows(s, 53, 51, kColours[3])); // still cell (2, 1)
}

TEST_F(Maps, AnimationStepsWithTheDelay) {
  ArchiveBuilder b;
  b.AddMap("01", Checkerboard(4, 4));
  b.AddTile("1",
            Strip(32, {kColours[1], kColours[2], kColours[3], kColours[4]}),
            false, 4, 0);
  b.AddTile("2", Strip(32, {kColours[1], kColours[2], kColours[3]}), false, 3,
            2);
  b.AddTile("3", Solid(32, 32, kColours[3]), false, 0, 1);
  LoadMaps(*cat, b.Write(dir));
  SetMapTileSize(*cat, view, 32);
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
  plat::ClearScreen({0, 0, 0, 255});
  DrawMap(*cat, view, "01");
  EXPECT_TRUE(Shows(Screen(), 5, 5, kColours[2]));
}

TEST_F(Maps, AnimatedTilesStartOnTheirFirstFrame) {
  ArchiveBuilder b;
  mapfile::MapEntry m = mapfile::MakeMap("small", 2, 2, 1, 32, 32);
  mapfile::SetCell(m, 0, 0, 0, 5);
  mapfile::SetCell(m, 0, 1, 0, 6);
  b.AddMap("01", m);
  b.AddTile("5", Strip(32, {kColours[1], kColours[2], kColours[3]}), false, 3,
            100);
  b.AddTile("6", Solid(64, 32, kColours[4]), false, 1, 100);
  LoadMaps(*cat, b.Write(dir));
  EXPECT_EQ(plat::SpriteWidth(cat->tiles["5"].sprite), 96);
  SetMapTileSize(*cat, view, 32);
  view.animation = 0;
  plat::ClearScreen({0, 0, 0, 255});
  DrawMap(*cat, view, "01");
  const plat::Picture s = Screen();
  // The strip shows its first frame only; the single wide frame is scaled
  // into its cell whole.
  EXPECT_TRUE(Shows(s, 1, 16, kColours[1]));
  EXPECT_TRUE(Shows(s, 30, 16, kColours[1]));
  EXPECT_TRUE(Shows(s, 40, 16, kColours[4]));
  EXPECT_TRUE(Shows(s, 62, 16, kColours[4]));
  EXPECT_TRUE(Shows(s, 80, 16, kColours[0]));
}

TEST_F(Maps, CachedDrawingMatchesCellByCell) {
  ReopenScreen(640, 400);
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
  b.AddMap("01", m);
  b.AddMap("02", Checkerboard(2, 2, 16));
  AddBoardTiles(b);
  b.AddTile("7", Strip(32, {{255, 255, 255, 128}, {255, 0, 255, 200}}), true, 2,
            1);
  b.AddTile("8", Solid(32, 32, {10, 250, 10, 100}), true, 1, 0);
  b.AddTile("9",
            Painted(32, 64,
                    [](int, int y) {
                      return y < 32 ? plat::Colour{250, 120, 0, 255}
                                    : plat::Colour{0, 120, 250, 255};
                    }),
            false, 1, 0);
  b.AddTile("10",
            Painted(32, 32,
                    [](int x, int) {
                      return x < 16 ? plat::Colour{90, 0, 90, 255}
                                    : plat::Colour{240, 240, 240, 255};
                    }),
            false, 1, 0);
  LoadMaps(*cat, b.Write(dir));
  SetMapTileSize(*cat, view, 30);
  SetMapOffsetX(view, -17);
  SetMapOffsetY(view, -9);
  MapView plain = view;
  plain.allowCache = false;
  view.animation = 0;
  plain.animation = 0;
  MapView other = plain; // steps through the map of 16-pixel frames
  other.animation = 1;
  StoreMap(*cat, "01");
  for (int frame = 0; frame < 11; ++frame) {
    if (frame == 1)
      SetTile(*cat, "01", 1, 5, 5, 7); // a cell starts to animate
    if (frame == 2)
      SetTile(*cat, "01", 1, 3, 3, 8); // and one stops
    if (frame == 3)
      SetTile(*cat, "01", 1, 6, 2, 0); // a pickup taken
    if (frame == 4)
      SetTile(*cat, "01", 0, 8, 8, 0); // a hole: no cache possible
    if (frame == 5)
      SetTile(*cat, "01", 0, 8, 8, 2);
    if (frame == 6)
      RestoreMap(*cat);
    plat::ClearScreen({0, 0, 0, 255});
    ASSERT_EQ(DrawMap(*cat, view, "01"), 0);
    const plat::Picture cached = Screen();
    plat::ClearScreen({0, 0, 0, 255});
    ASSERT_EQ(DrawMap(*cat, plain, "01"), 0);
    EXPECT_TRUE(Screen().pixels == cached.pixels) << "frame " << frame;
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

TEST_F(Maps, FrameSizesBeyondIntClipNothing) {
  // Frame 5 of frames 2^30 + 8 wide starts at 2^32 + 32: far past the
  // picture, whatever int arithmetic would make of it.
  ArchiveBuilder b;
  mapfile::MapEntry m = Checkerboard(4, 4);
  m.tileWidth = (1 << 30) + 8;
  mapfile::SetCell(m, 1, 1, 1, 7);
  b.AddMap("01", m);
  AddBoardTiles(b);
  b.AddTile(
      "7",
      Painted(64, 32,
              [](int x, int) { return x < 32 ? kColours[2] : kColours[3]; }),
      true, 5, 0);
  LoadMaps(*cat, b.Write(dir));
  SetMapTileSize(*cat, view, 32);
  MapView still = view;
  still.animation = 0;
  still.allowCache = false;
  for (int frame = 1; frame <= 5; ++frame) {
    DrawMap(*cat, view, "01"); // steps to this frame
    ASSERT_EQ(cat->tiles["7"].currentFrame, frame);
    plat::ClearScreen({0, 0, 0, 255});
    DrawMap(*cat, still, "01");
    // Frame 1 shows the picture (its left part); every later frame lies
    // beyond it and shows the board below.
    EXPECT_TRUE(Shows(Screen(), 40, 40, frame == 1 ? kColours[2] : kColours[4]))
        << "frame " << frame;
  }
}

TEST_F(Maps, TileAndBackgroundPicturesNeverShareANumber) {
  ArchiveBuilder b;
  b.AddMap("01", Checkerboard(2, 2));
  // The 20,001st tile: once the first background's number.
  for (int i = 1; i <= 20000; ++i)
    b.List(std::to_string(i));
  b.AddTile("20001", Solid(8, 8, kColours[1]), false, 1, 0);
  const plat::Picture sky = Solid(16, 16, kColours[2]);
  b.AddBackground("sky", "day", &sky);
  LoadMaps(*cat, b.Write(dir));

  const int tile = cat->tiles["20001"].sprite;
  const int background = cat->backgrounds["sky"].sprites[0];
  ASSERT_GE(tile, 0);
  ASSERT_GE(background, 0);
  EXPECT_NE(tile, background);
  plat::Picture pic;
  ASSERT_TRUE(plat::SpritePixels(tile, pic));
  EXPECT_EQ(pic.width, 8);
  EXPECT_TRUE(Shows(pic, 0, 0, kColours[1]));
  ASSERT_TRUE(plat::SpritePixels(background, pic));
  EXPECT_EQ(pic.width, 16);
  EXPECT_TRUE(Shows(pic, 0, 0, kColours[2]));

  // Another archive's tiles come after these; the 40,001st tile seen gets
  // no picture rather than a number beyond the tiles' range.
  ArchiveBuilder more;
  more.AddMap("01", Checkerboard(2, 2));
  for (int i = 1; i < 20000; ++i)
    more.List("x" + std::to_string(i));
  more.AddTile("x20000", Solid(8, 8, kColours[3]), false, 1, 0);
  more.AddBackground("sky", "day", &sky);
  LoadMaps(*cat, more.Write(dir, "more.maps"));
  EXPECT_EQ(cat->tileOrder.size(), 40001u);
  EXPECT_EQ(cat->tiles["x20000"].sprite, -1);
  EXPECT_EQ(cat->backgrounds["sky"].sprites[0], background);
  ASSERT_TRUE(plat::SpritePixels(background, pic));
  EXPECT_TRUE(Shows(pic, 0, 0, kColours[2]));
  EXPECT_EQ(cat->tiles["20001"].sprite, tile);
}

TEST_F(Maps, BackgroundSetsBeyondTheirRangeGetNoPicture) {
  ArchiveBuilder b;
  const plat::Picture pic = Solid(4, 4, kColours[1]);
  for (int i = 0; i < 4095; ++i)
    b.AddBackground("set" + std::to_string(i), "img", nullptr);
  b.AddBackground("last", "img", &pic);
  b.AddBackground("beyond", "img", &pic);
  LoadMaps(*cat, b.Write(dir));
  EXPECT_GE(cat->backgrounds["last"].sprites[0], 0);
  EXPECT_EQ(cat->backgrounds["beyond"].sprites[0], -1);
  EXPECT_EQ(cat->backgrounds["beyond"].entry.imageCount, 1);
}

TEST_F(Maps, AFailedBackgroundReloadEmptiesItsSlot) {
  const plat::Picture sky = Solid(16, 16, kColours[2]);
  ArchiveBuilder first;
  first.AddBackground("sky", "day", &sky);
  LoadMaps(*cat, first.Write(dir, "first.maps"));
  const int number = cat->backgrounds["sky"].sprites[0];
  ASSERT_GE(number, 0);

  // The same set again, its picture missing, then one that does not decode.
  ArchiveBuilder missing;
  missing.AddBackground("sky", "day", nullptr);
  LoadMaps(*cat, missing.Write(dir, "missing.maps"));
  EXPECT_EQ(cat->backgrounds["sky"].sprites[0], -1);
  EXPECT_FALSE(plat::SpriteExists(number));

  LoadMaps(*cat, first.Write(dir, "first.maps"));
  ASSERT_GE(cat->backgrounds["sky"].sprites[0], 0);
  ArchiveBuilder broken;
  broken.AddBackground("sky", "day", nullptr);
  broken.AddRaw(mapfile::BackgroundEntryName("sky", "day"), {1, 2, 3});
  LoadMaps(*cat, broken.Write(dir, "broken.maps"));
  EXPECT_EQ(cat->backgrounds["sky"].sprites[0], -1);
  EXPECT_FALSE(plat::SpriteExists(number));
}

// A read-only file that counts the reads starting at each offset.
struct CountingFile {
  std::FILE *real = nullptr;
  uint64_t pos = 0;
  std::map<uint64_t, int> readsAt;

  static ssize_t Read(void *cookie, char *buf, size_t n) {
    auto *f = static_cast<CountingFile *>(cookie);
    ++f->readsAt[f->pos];
    const size_t got = std::fread(buf, 1, n, f->real);
    f->pos += got;
    return static_cast<ssize_t>(got);
  }
  static int Seek(void *cookie, off64_t *offset, int whence) {
    auto *f = static_cast<CountingFile *>(cookie);
    if (fseeko(f->real, *offset, whence) != 0)
      return -1;
    *offset = ftello(f->real);
    f->pos = static_cast<uint64_t>(*offset);
    return 0;
  }
  static int Close(void *cookie) {
    return std::fclose(static_cast<CountingFile *>(cookie)->real);
  }
};

TEST_F(Maps, ThousandsOfMissingTilesReadEachPictureOnce) {
  ArchiveBuilder b;
  b.AddMap("01", Checkerboard(2, 2));
  // Three of every four tiles have no picture.
  std::vector<std::string> present;
  for (int i = 1; i <= 2000; ++i) {
    const std::string id = std::to_string(i);
    if (i % 4 == 0) {
      b.AddTile(id, Solid(4, 4, kColours[i % 5]), false, 1, 0);
      present.push_back(id);
    } else {
      b.List(id);
    }
  }
  const std::string path = b.Write(dir);

  CountingFile counting; // outlives the archive that closes it
  pack::Archive archive;
  ASSERT_TRUE(pack::Open(archive, path));
  counting.real = std::fopen(path.c_str(), "rb");
  ASSERT_NE(counting.real, nullptr);
  cookie_io_functions_t io{CountingFile::Read, nullptr, CountingFile::Seek,
                           CountingFile::Close};
  std::FILE *f = fopencookie(&counting, "rb", io);
  ASSERT_NE(f, nullptr);
  std::setvbuf(f, nullptr, _IONBF, 0);
  archive.file.reset(f);
  LoadMapsFrom(*cat, archive);

  const std::vector<pack::EntryInfo> &entries = pack::Entries(archive);
  for (const std::string &id : present) {
    size_t k = 0;
    while (k < entries.size() && entries[k].name != "TILES/" + id)
      ++k;
    ASSERT_LT(k, entries.size()) << id;
    EXPECT_EQ(counting.readsAt[archive.dataOffsets[k]], 1) << "tile " << id;
    EXPECT_GE(cat->tiles[id].sprite, 0) << id;
  }
  pack::Close(archive);
  // Index order kept; every listed tile has its record.
  ASSERT_EQ(cat->tileOrder.size(), 2000u);
  for (int i = 1; i <= 2000; ++i)
    EXPECT_EQ(cat->tileOrder[i - 1], std::to_string(i));
  EXPECT_EQ(cat->tiles["3"].sprite, -1);
  EXPECT_EQ(cat->sheets["test"].tileCount, 500);
}

TEST_F(Maps, TileNumbersFollowTheFirstLoadThatNamedThem) {
  ArchiveBuilder first;
  first.AddMap("01", Checkerboard(2, 2));
  for (const char *id : {"5", "6", "7"})
    first.AddTile(id, Solid(4, 4, kColours[1]), false, 1, 0);
  LoadMaps(*cat, first.Write(dir, "first.maps"));
  const int five = cat->tiles["5"].sprite, seven = cat->tiles["7"].sprite;
  ArchiveBuilder second;
  second.AddMap("01", Checkerboard(2, 2));
  for (const char *id : {"8", "7", "5"})
    second.AddTile(id, Solid(4, 4, kColours[2]), false, 1, 0);
  LoadMaps(*cat, second.Write(dir, "second.maps"));
  EXPECT_EQ(cat->tileOrder, (std::vector<std::string>{"5", "6", "7", "8"}));
  EXPECT_EQ(cat->tiles["5"].sprite, five);
  EXPECT_EQ(cat->tiles["7"].sprite, seven);
  EXPECT_EQ(cat->tiles["8"].sprite, seven + 1);
}

} // namespace
