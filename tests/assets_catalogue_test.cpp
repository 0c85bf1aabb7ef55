// assets_catalogue_test.cpp — loading the data archive: the log in
// catalogue order, failures of single entries, and sizes per screen.
#include <gtest/gtest.h>

#include "assets/numbers.h"
#include "assets/pack.h"
#include "assets/packwriter.h"
#include "platform/display.h"
#include "platform/images.h"
#include "platform/pictures.h"
#include "platform/sprites.h"
#include "platform/test_hooks.h"
#include "support/blank_png.h"
#include "support/game_fixture.h"
#include "support/ogg_rate.h"

namespace {

using Lines = std::vector<std::string>;

class Catalogue : public GameFixture {
protected:
  // A copy of the shipped data archive with the entry `name` passed through
  // change (false drops it), in a folder of its own that then serves as the
  // game folder.
  void CopyArchive(const std::string &name,
                   const std::function<bool(std::vector<uint8_t> &)> &change) {
    pack::Archive shipped;
    ASSERT_TRUE(pack::Open(shipped, std::string(WARRENFOLD_GAME_DIR) +
                                        "Warrenfold.data"));
    std::vector<pack::WriteEntry> entries;
    for (const pack::EntryInfo &e : pack::Entries(shipped)) {
      pack::WriteEntry w{e.name, {}};
      ASSERT_GE(pack::ExtractEntry(shipped, e.name, 16 << 20, w.data), 0);
      if (e.name != name || change(w.data))
        entries.push_back(std::move(w));
    }
    pack::WriteOptions opt;
    opt.store = true;
    ASSERT_TRUE(pack::WriteArchive(dir.File("Warrenfold.data"), entries, opt));
    game->paths.gameDir = dir.Folder();
  }

  // A window of the listed size `resolution`, or of w x h when given.
  void OpenScreen(int resolution, int w = 0, int h = 0) {
    game->settings.gameScreen = ScreenMode::Window;
    Display &d = game->display;
    ChooseScreenSize(d, ScreenMode::Window, resolution);
    if (w > 0) {
      d.screenWidth = w;
      d.screenHeight = h;
    }
    ASSERT_TRUE(OpenGameScreen(d, ScreenMode::Window, game->log));
    d.aspectRatio = ClassifyAspectRatio(d.screenWidth, d.screenHeight);
    d.geometry =
        ComputeScreenGeometry(d.screenWidth, d.screenHeight, d.aspectRatio);
    NewLogLines();
  }
};

Lines ExpectedPictureLog(const std::string &aspect, const std::string &suffix) {
  Lines l = {
      "AspectRatio:  " + aspect, "Load asset (title_" + suffix + ".png):\t\tOK",
      "AspectRatio:  " + aspect, "Load asset (qirn_" + suffix + ".png):\t\tOK"};
  for (const char *name :
       {"logo.png", "player_up.png", "player_down.png", "player_left.png",
        "player_right.png", "item_dot.png", "item_cherry.png", "star.png",
        "cherrybar.png", "cherrybarscore.png", "shadow.png"})
    l.push_back(std::string("Load asset (") + name + "):\t\tOK");
  for (int k = 1; k <= 6; ++k)
    for (const char *dir : {"up", "down", "left", "right"})
      l.push_back("Load asset (monster_" + std::to_string(k) + "_" + dir +
                  ".png):\t\tOK");
  l.push_back("Load asset (fx.png):\t\tOK");
  const std::pair<const char *, int> families[] = {{"countdown_", 47},
                                                   {"gameover_", 34},
                                                   {"victory_", 34},
                                                   {"congrats_", 29},
                                                   {"gamefinished_", 41}};
  for (const auto &[prefix, frames] : families)
    for (int i = 0; i < frames; ++i) {
      char number[16];
      std::snprintf(number, sizeof number, "%02d", i);
      l.push_back(std::string(prefix) + number + ".png\t\tOK");
    }
  return l;
}

TEST_F(Catalogue, EverythingLoadsInCatalogueOrder) {
  OpenScreen(4);
  LoadSounds(game->paths.gameDir, game->log);
  EXPECT_EQ(
      NewLogLines(),
      (Lines{"Load asset (music1.ogg):\t\tOK", "Load asset (music2.ogg):\t\tOK",
             "Load asset (music3.ogg):\t\tOK",
             "Load asset (ui_menu_button_click_24.ogg):\t\tOK",
             "Load asset (ui_button_simple_click_01.ogg):\t\tOK",
             "Load asset (music_sting_short_groovy_flute_02.ogg):\t\tOK",
             "Load asset (troll_monster_laugh_02.ogg):\t\tOK",
             "Load asset (collect_coin_03.ogg):\t\tOK",
             "Load asset (ui_menu_button_beep_11.ogg):\t\tOK"}));
  LoadScreenAssets(game->assets, game->display, game->paths.gameDir, game->log);
  EXPECT_EQ(NewLogLines(), ExpectedPictureLog("16:9", "16x9"));
  for (const BannerFamily &f : game->assets.families)
    EXPECT_EQ(f.sprites.size(), static_cast<size_t>(f.frames)) << f.prefix;
  // The title fills the screen's width; the logo a quarter of it.
  EXPECT_EQ(plat::SpriteWidth(num::kTitle), 1920);
  int w = 0, h = 0;
  ASSERT_TRUE(plat::SpriteDisplaySize(num::kLogo, w, h));
  EXPECT_EQ(w, 19 * 25);
  ASSERT_TRUE(plat::SpriteDisplaySize(num::kPlayerUp, w, h));
  EXPECT_EQ(w, 96); // the first frame of the strip
  EXPECT_TRUE(plat::ImageExists(num::kCherryScoreImage));
  // Work sprites.
  EXPECT_EQ(plat::SpriteWidth(num::kPanelBand), 1920);
  EXPECT_EQ(plat::SpriteHeight(num::kPanelBand), 72);
  EXPECT_EQ(plat::SpriteWidth(num::kPickupCount), 8 * 48);
  EXPECT_EQ(plat::SpriteWidth(num::kMenuBox), 19 * 25);
  ASSERT_TRUE(plat::SpriteDisplaySize(num::kVeil, w, h));
  EXPECT_EQ(w, 1920);
  EXPECT_EQ(h, 1080);
  // Banners keep their size at 1920, placed by their kind.
  const BannerFamily &v = game->assets.families[kVictory];
  ASSERT_TRUE(plat::SpriteDisplaySize(v.sprites[5], w, h));
  EXPECT_EQ(w, 1397);
  EXPECT_EQ(h, 800);
  EXPECT_EQ(v.x, 960 - 698); // 1397 / 2 = 698.5, rounded half away
  EXPECT_EQ(v.y, 140);
  EXPECT_EQ(game->assets.families[kCongrats].y, 540 - 212);
  EXPECT_EQ(game->assets.families[kGameFinished].y, 540);
  // The characters then take the 48-pixel tile, the last monster too; the
  // star keeps its two tiles.
  ScaleToTileSize(game->assets, game->display);
  for (auto [n, width] : {std::pair{num::kPlayerLeft, 48},
                          {num::MonsterRight(6), 48},
                          {num::kStar, 96}}) {
    ASSERT_TRUE(plat::SpriteDisplaySize(n, w, h));
    EXPECT_EQ(w, width) << n;
  }
}

TEST_F(Catalogue, FourKDoublesTheBannersAndKeepsTheTiles) {
  ASSERT_TRUE(Start(1, 9));
  int w = 0, h = 0;
  ASSERT_TRUE(plat::SpriteDisplaySize(
      game->assets.families[kGameOver].sprites[0], w, h));
  EXPECT_EQ(w, 2386);
  EXPECT_EQ(h, 560);
  for (int n : {num::kPlayerLeft, num::MonsterUp(3)}) {
    ASSERT_TRUE(plat::SpriteDisplaySize(n, w, h));
    EXPECT_EQ(w, 96) << n;
  }
  ASSERT_TRUE(plat::SpriteDisplaySize(num::kImpact, w, h));
  EXPECT_EQ(w, 192);
}

TEST_F(Catalogue, TitleAndStudioLogoCoverAWideScreen) {
  OpenScreen(0, 2560, 1080);
  ASSERT_EQ(game->display.aspectRatio, Aspect::R21x9);
  LoadScreenAssets(game->assets, game->display, game->paths.gameDir, game->log);
  for (int n : {num::kTitle, num::kStudioLogo}) {
    EXPECT_EQ(plat::SpriteWidth(n), 2560) << n;
    EXPECT_EQ(plat::SpriteHeight(n), 1080) << n;
  }
}

// A picture missing or damaged stops the loading with the asset error,
// after the line of the entry before it; the shell then closes the screen.
TEST_F(Catalogue, ABadPictureStopsWithTheAssetError) {
  const auto junk = [](std::vector<uint8_t> &d) {
    return d.assign(300, 7), true;
  };
  // Covering a 21:9 screen with a picture of a far other shape would take
  // a scaled copy larger than any picture may be.
  const auto wide = [](std::vector<uint8_t> &d) {
    const std::string png = testpng::BlankPng(4000, 40);
    return d.assign(png.begin(), png.end()), true;
  };
  const auto tall = [](std::vector<uint8_t> &d) {
    const std::string png = testpng::BlankPng(40, 4000);
    return d.assign(png.begin(), png.end()), true;
  };
  const struct {
    const char *entry, *before; // before: "" when the failure comes first
    std::function<bool(std::vector<uint8_t> &)> change;
    int w, h;
  } cases[] = {
      {"countdown_07.png", "countdown_06.png\t\tOK",
       [](std::vector<uint8_t> &) { return false; }, 0, 0},
      {"star.png", "Load asset (item_cherry.png):\t\tOK", junk, 0, 0},
      // The 21:9 class has no name: no aspect line comes first.
      {"title_16x9.png", "", wide, 2560, 1080},
      {"qirn_16x9.png", "Load asset (title_16x9.png):\t\tOK", tall, 2560, 1080},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.entry);
    CopyArchive(c.entry, c.change);
    OpenScreen(0, c.w, c.h);
    EXPECT_THROW(LoadScreenAssets(game->assets, game->display,
                                  game->paths.gameDir, game->log),
                 AssetFailure);
    Lines lines = NewLogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(),
              std::string("Load asset (") + c.entry + "):\t\tFAILED");
    lines.pop_back();
    EXPECT_EQ(lines.empty() ? "" : lines.back(), c.before);
    EXPECT_THROW(FailOnAsset(*game), FatalExit);
    EXPECT_FALSE(plat::ScreenOpen());
  }
}

// A damaged sound, or one whose header says 1 Hz (resampled to the
// device's rate it would not fit in memory), fails after those before it.
TEST_F(Catalogue, DamagedSoundsFail) {
  CopyArchive("collect_coin_03.ogg",
              [](std::vector<uint8_t> &d) { return d.resize(40), true; });
  EXPECT_THROW(LoadSounds(game->paths.gameDir, game->log), AssetFailure);
  EXPECT_EQ(NewLogLines().size(), 8u);
  CopyArchive("ui_menu_button_beep_11.ogg", [](std::vector<uint8_t> &d) {
    EXPECT_TRUE(ogg_test::SetVorbisRate(d, 1));
    return true;
  });
  EXPECT_THROW(LoadSounds(game->paths.gameDir, game->log), AssetFailure);
  const Lines lines = NewLogLines();
  ASSERT_EQ(lines.size(), 9u);
  EXPECT_EQ(lines.back(), "Load asset (ui_menu_button_beep_11.ogg):\t\tFAILED");
}

TEST(Sound, RequestsCountedByKindAndSound) {
  SoundSink sink;
  sink.requests = {{SoundAsk::Effect, 3},
                   {SoundAsk::StartMusic, 3},
                   {SoundAsk::Effect, 4},
                   {SoundAsk::Effect, 3}};
  EXPECT_EQ(CountRequests(sink, SoundAsk::Effect, 3), 2);
  EXPECT_EQ(CountRequests(sink, SoundAsk::StartMusic, 3), 1);
  EXPECT_EQ(CountRequests(sink, SoundAsk::StopMusic, 3), 0);
}

TEST_F(Catalogue, NoArchiveAtAll) {
  game->paths.gameDir = dir.Folder();
  EXPECT_THROW(LoadSounds(game->paths.gameDir, game->log), AssetFailure);
  EXPECT_EQ(NewLogLines(), (Lines{"Load asset (music and sfx):\t\tFAILED"}));
  OpenScreen(0);
  EXPECT_THROW(LoadScreenAssets(game->assets, game->display,
                                game->paths.gameDir, game->log),
               AssetFailure);
  EXPECT_EQ(NewLogLines(), (Lines{"Load asset ():\t\tFAILED"}));
}

} // namespace
