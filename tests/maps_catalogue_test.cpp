// maps_catalogue_test.cpp — loading map archives, cell access, the level
// snapshot, and drawing maps with animated tiles.
#include <gtest/gtest.h>

#include <memory>

#include "assets/packwriter.h"
#include "maps/catalogue.h"
#include "maps/draw.h"
#include "maps/mapfile.h"
#include "platform/platform.h"
#include "platform/test_hooks.h"
#include "support/temp_dir.h"

namespace {

plat::Picture Solid(int w, int h, plat::Colour c) {
  plat::Picture p;
  p.width = w;
  p.height = h;
  p.pixels.resize(static_cast<size_t>(w) * h * 4);
  for (size_t i = 0; i < p.pixels.size(); i += 4) {
    p.pixels[i] = c.b;
    p.pixels[i + 1] = c.g;
    p.pixels[i + 2] = c.r;
    p.pixels[i + 3] = c.a;
  }
  return p;
}

// A strip of frames, each a solid colour.
plat::Picture Strip(int edge, const std::vector<plat::Colour> &frames) {
  plat::Picture p = Solid(edge * static_cast<int>(frames.size()), edge, {});
  for (size_t f = 0; f < frames.size(); ++f)
    for (int y = 0; y < edge; ++y)
      for (int x = 0; x < edge; ++x) {
        uint8_t *px =
            &p.pixels[(static_cast<size_t>(y) * p.width + f * edge + x) * 4];
        px[0] = frames[f].b;
        px[1] = frames[f].g;
        px[2] = frames[f].r;
        px[3] = frames[f].a;
      }
  return p;
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
  void AddTile(const std::string &id, const plat::Picture &pic,
               bool transparent, int frames, int delay,
               const std::string &owner = "01") {
    mapfile::TileEntry t;
    t.id = id;
    t.sheet = "test";
    t.owningMap = owner;
    t.transparent = transparent;
    t.frameCount = static_cast<int8_t>(frames);
    t.frameDelay = delay;
    index.tiles.push_back(t);
    std::vector<uint8_t> png;
    EXPECT_TRUE(plat::EncodePng(pic, png));
    entries.push_back({mapfile::TileEntryName(id), png});
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
  }
  void TearDown() override {
    ResetMapView(view);
    plat::Shutdown();
  }
  void OpenScreen(int w, int h) {
    ASSERT_TRUE(plat::OpenWindow(w, h, "maps", plat::WindowStyle::Windowed));
    ASSERT_TRUE(plat::OpenScreenInWindow());
  }
  void AddBoardTiles(ArchiveBuilder &b, int edge = 32) {
    for (int i = 1; i <= 4; ++i)
      b.AddTile(std::to_string(i), Solid(edge, edge, kColours[i]), false, 1, 0);
  }
  plat::Picture Screen() {
    plat::Picture shot;
    EXPECT_TRUE(
        plat::GrabSprite(98, 0, 0, plat::ScreenWidth(), plat::ScreenHeight()));
    EXPECT_TRUE(plat::SpritePixels(98, shot));
    return shot;
  }
  static plat::Colour At(const plat::Picture &p, int x, int y) {
    const uint8_t *px = &p.pixels[(static_cast<size_t>(y) * p.width + x) * 4];
    return {px[2], px[1], px[0], px[3]};
  }
  static bool Same(plat::Colour a, plat::Colour b) {
    if (a.r == b.r && a.g == b.g && a.b == b.b)
      return true;
    std::fprintf(stderr, "colour %d,%d,%d is not %d,%d,%d\n", a.r, a.g, a.b,
                 b.r, b.g, b.b);
    return false;
  }
};

TEST_F(Maps, BadIndexLeavesTheCatalogueEmpty) {
  OpenScreen(320, 200);
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
  OpenScreen(320, 200);
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
  EXPECT_EQ(FindMap(*cat, "02")->layerCount, 0);
  EXPECT_EQ(GetTile(*cat, "03", 0, 2, 2), 1);
  EXPECT_EQ(cat->mapIds, (std::vector<std::string>{"01", "02", "03"}));
  EXPECT_EQ(cat->sheets["test"].tileCount, 4);
}

TEST_F(Maps, SnapshotPutsCellsBack) {
  OpenScreen(320, 200);
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
  OpenScreen(320, 200);
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
  OpenScreen(320, 200);
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
    EXPECT_EQ(FindMap(*cat, id)->layerCount, 0) << id;
  }
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
  ASSERT_EQ(DrawMap(*cat, view, "01"), 0);
  const plat::Picture s = Screen();
  // Cell (0, 0) starts at (-48, -16): (2, 1) at (20, 18), (1, 0) ends at
  // (19, 17).
  EXPECT_TRUE(Same(At(s, 20, 18), kColours[3]));
  EXPECT_TRUE(Same(At(s, 19, 17), kColours[2]));
  EXPECT_TRUE(Same(At(s, 0, 0), kColours[2]));
  EXPECT_TRUE(Same(At(s, 54, 51), kColours[4])); // cell (3, 1)
  EXPECT_TRUE(Same(At(s, 53, 51), kColours[3])); // still cell (2, 1)
}

TEST_F(Maps, AnimationStepsWithTheDelay) {
  OpenScreen(320, 200);
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
  EXPECT_TRUE(Same(At(Screen(), 5, 5), kColours[2]));
}

TEST_F(Maps, AnimatedTilesStartOnTheirFirstFrame) {
  OpenScreen(320, 200);
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
  EXPECT_TRUE(Same(At(s, 1, 16), kColours[1]));
  EXPECT_TRUE(Same(At(s, 30, 16), kColours[1]));
  EXPECT_TRUE(Same(At(s, 40, 16), kColours[4]));
  EXPECT_TRUE(Same(At(s, 62, 16), kColours[4]));
  EXPECT_TRUE(Same(At(s, 80, 16), kColours[0]));
}

TEST_F(Maps, CachedDrawingMatchesCellByCell) {
  OpenScreen(640, 400);
  ArchiveBuilder b;
  mapfile::MapEntry m = Checkerboard(23, 14, 32);
  mapfile::SetCell(m, 1, 3, 3, 7); // animated, transparent
  mapfile::SetCell(m, 1, 6, 2, 8); // static, transparent
  mapfile::SetCell(m, 1, 20, 12, 7);
  b.AddMap("01", m);
  AddBoardTiles(b);
  b.AddTile("7", Strip(32, {{255, 255, 255, 128}, {255, 0, 255, 200}}), true, 2,
            1);
  b.AddTile("8", Solid(32, 32, {10, 250, 10, 100}), true, 1, 0);
  LoadMaps(*cat, b.Write(dir));
  SetMapTileSize(*cat, view, 30);
  SetMapOffsetX(view, -17);
  SetMapOffsetY(view, -9);
  MapView plain = view;
  plain.allowCache = false;
  view.animation = 0;
  plain.animation = 0;
  StoreMap(*cat, "01");
  for (int frame = 0; frame < 8; ++frame) {
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
    view.animation = 1;
    DrawMap(*cat, view, "01");
    view.animation = 0;
  }
  EXPECT_TRUE(view.cacheValid);
}

} // namespace
