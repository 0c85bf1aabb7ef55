// catalogue.h — what the data archive holds and how each entry becomes a
// numbered sound, picture, sprite or banner frame.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "settings/display.h"

struct RunLog;

// An entry of the data archive that could not be loaded: the game cannot
// run without it. Thrown after its "FAILED" line; the shell closes the
// screen and shows the asset error.
struct AssetFailure {
  std::string name;
};

enum class BannerPlace { Centred, AboveMiddle, BelowMiddle };

struct BannerFamily {
  const char *prefix;
  int frames;
  int nativeWidth, nativeHeight; // at a 1920-pixel-wide screen
  BannerPlace place;
  std::vector<int> sprites; // platform-assigned sprite numbers, by frame
  double displayWidth = 0, displayHeight = 0;
  int x = 0, y = 0;
};

enum Family { kCountdown = 0, kGameOver, kVictory, kCongrats, kGameFinished };

struct Assets {
  std::array<BannerFamily, 5> families = {{
      {"countdown_", 47, 420, 351, BannerPlace::Centred, {}},
      {"gameover_", 34, 1193, 280, BannerPlace::Centred, {}},
      {"victory_", 34, 1397, 800, BannerPlace::Centred, {}},
      {"congrats_", 29, 1169, 212, BannerPlace::AboveMiddle, {}},
      {"gamefinished_", 41, 1719, 281, BannerPlace::BelowMiddle, {}},
  }};
};

inline const char *kDataArchive = "Warrenfold.data";

// Buffer sizes: they cap what one entry may unpack to.
constexpr size_t kSoundBuffer = 15728640;
constexpr size_t kScreenPictureBuffer = 4194304;
constexpr size_t kPictureBuffer = 204800;

// The nine sounds of gameDir's data archive, before the screen opens.
// Throws AssetFailure.
void LoadSounds(const std::string &gameDir, RunLog &log);
// Title, studio logo, sprites, banner frames and the work sprites for the
// open screen. Throws AssetFailure.
void LoadScreenAssets(Assets &assets, const Display &display,
                      const std::string &gameDir, RunLog &log);
// Display sizes and positions of the banners for the current screen.
void PlaceBanners(Assets &assets, int screenWidth, int screenHeight);
// Zooms the tile-sized sprites and the banner frames for this screen.
void ScaleToTileSize(const Assets &assets, const Display &display);
// Logs "FAILED" for the entry and throws AssetFailure.
[[noreturn]] void ReportAssetFailure(RunLog &log, const std::string &name);
