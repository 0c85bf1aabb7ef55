// catalogue.cpp — loading every sound, picture, sprite and banner frame of
// the data archive under its number, with its log line.
#include "assets/catalogue.h"

#include <cmath>

#include "assets/numbers.h"
#include "assets/pack.h"
#include "assets/picture_loader.h"
#include "platform/platform.h"
#include "shell/game.h"

namespace {

struct SoundEntry {
  const char *name;
  int number;
};

const SoundEntry kSounds[] = {
    {"music1.ogg", num::kMenuMusic},
    {"music2.ogg", num::kLevelMusic},
    {"music3.ogg", num::kFinaleMusic},
    {"ui_menu_button_click_24.ogg", num::kClick},
    {"ui_button_simple_click_01.ogg", num::kConfirm},
    {"music_sting_short_groovy_flute_02.ogg", num::kSting},
    {"troll_monster_laugh_02.ogg", num::kLaugh},
    {"collect_coin_03.ogg", num::kCoin},
    {"ui_menu_button_beep_11.ogg", num::kBeep},
};

const char *kAspectSuffix[] = {"3x2", "4x3", "5x4", "16x9", "16x10", "17x9"};

// The suffix of the title and studio pictures made for an aspect class;
// the classes without pictures of their own use the 16:9 ones.
std::string AspectSuffix(int aspect) {
  return aspect >= 0 && aspect <= 5 ? kAspectSuffix[aspect] : "16x9";
}

void LogAspect(Game &game) {
  const std::string name = AspectName(game.display.aspectRatio);
  if (!name.empty())
    WriteLog(game.log, "AspectRatio:  " + name);
}

void LogLoaded(Game &game, const std::string &name) {
  WriteLogValue(game.log, "Load asset (" + name + "):", "OK");
}

plat::Picture ExtractPicture(Game &game, pack::Archive &archive,
                             const std::string &name, size_t bufferSize) {
  std::vector<uint8_t> bytes;
  plat::Picture pic;
  if (pack::ExtractEntry(archive, name, bufferSize, bytes) < 0 ||
      !plat::DecodePng(bytes.data(), bytes.size(), pic))
    ReportAssetFailure(game, name);
  return pic;
}

// Scales in proportion (whole hundredths) until the picture covers the
// screen, then cuts out the screen-sized middle.
plat::Picture CoverScreen(const plat::Picture &pic, int sw, int sh) {
  const int pw = pic.width, ph = pic.height;
  int percent = std::max((sw * 100 + pw - 1) / pw, (sh * 100 + ph - 1) / ph);
  plat::Picture scaled = plat::ResamplePicture(
      pic, std::max(sw, pw * percent / 100), std::max(sh, ph * percent / 100));
  plat::Picture out;
  out.width = sw;
  out.height = sh;
  out.pixels.resize(static_cast<size_t>(sw) * sh * 4);
  const int x0 = (scaled.width - sw) / 2, y0 = (scaled.height - sh) / 2;
  for (int y = 0; y < sh; ++y)
    std::copy_n(
        &scaled.pixels[(static_cast<size_t>(y + y0) * scaled.width + x0) * 4],
        static_cast<size_t>(sw) * 4,
        &out.pixels[static_cast<size_t>(y) * sw * 4]);
  return out;
}

bool OddAspect(int aspect) { return aspect == 6 || aspect == 7; }

void LoadTitle(Game &game, pack::Archive &archive) {
  const Display &d = game.display;
  const std::string name = "title_" + AspectSuffix(d.aspectRatio) + ".png";
  LogAspect(game);
  plat::Picture pic = ExtractPicture(game, archive, name, kScreenPictureBuffer);
  if (OddAspect(d.aspectRatio)) {
    pic = CoverScreen(pic, d.screenWidth, d.screenHeight);
  } else if (pic.width != d.screenWidth) {
    const int h = static_cast<int>(std::lround(static_cast<double>(pic.height) /
                                               pic.width * d.screenWidth));
    pic = plat::ResamplePicture(pic, d.screenWidth, h);
  }
  if (plat::CreateSpriteFromPicture(num::kTitle, std::move(pic),
                                    plat::kSpriteAlpha) < 0)
    ReportAssetFailure(game, name);
  LogLoaded(game, name);
}

void LoadStudioLogo(Game &game, pack::Archive &archive) {
  const Display &d = game.display;
  const int sw = d.screenWidth, sh = d.screenHeight;
  const std::string name = "qirn_" + AspectSuffix(d.aspectRatio) + ".png";
  LogAspect(game);
  plat::Picture pic = ExtractPicture(game, archive, name, kScreenPictureBuffer);
  if (pic.width != sw || pic.height != sh) {
    if (OddAspect(d.aspectRatio) && pic.width / pic.height != sw / sh)
      pic = CoverScreen(pic, sw, sh);
    else
      pic = plat::ResamplePicture(pic, sw, sh);
  }
  // The studio logo is shown opaque: no per-pixel alpha.
  for (size_t i = 3; i < pic.pixels.size(); i += 4)
    pic.pixels[i] = 255;
  if (plat::CreateSpriteFromPicture(num::kStudioLogo, std::move(pic),
                                    plat::kSpriteAlpha) < 0)
    ReportAssetFailure(game, name);
  LogLoaded(game, name);
}

struct SpriteEntry {
  std::string name;
  int number;
  unsigned flags;
  int clip; // clip edge in pixels, 0 for none
};

std::vector<SpriteEntry> SpriteTable() {
  using plat::kSpriteAlpha;
  using plat::kSpriteCollision;
  const unsigned actor = kSpriteAlpha | kSpriteCollision;
  std::vector<SpriteEntry> t = {
      {"player_up.png", num::kPlayerUp, actor, 96},
      {"player_down.png", num::kPlayerDown, actor, 96},
      {"player_left.png", num::kPlayerLeft, actor, 96},
      {"player_right.png", num::kPlayerRight, actor, 96},
      {"item_dot.png", num::kItemDot, kSpriteAlpha, 96},
      {"item_cherry.png", num::kItemCherry, kSpriteAlpha, 96},
      {"star.png", num::kStar, 0, 0},
      {"cherrybar.png", num::kCherryBar, 0, 0},
      {"cherrybarscore.png", -1, 0, 0}, // picture 0, not a sprite
      {"shadow.png", num::kShadow, kSpriteAlpha, 0},
  };
  for (int k = 1; k <= 6; ++k) {
    const std::string base = "monster_" + std::to_string(k) + "_";
    t.push_back({base + "up.png", num::MonsterUp(k), actor, 96});
    t.push_back({base + "down.png", num::MonsterDown(k), actor, 96});
    t.push_back({base + "left.png", num::MonsterLeft(k), actor, 96});
    t.push_back({base + "right.png", num::MonsterRight(k), actor, 96});
  }
  t.push_back({"fx.png", num::kImpact, kSpriteAlpha, 192});
  return t;
}

void LoadLogo(Game &game, pack::Archive &archive) {
  const int sw = game.display.screenWidth;
  const std::string name = "logo.png";
  plat::Picture pic = ExtractPicture(game, archive, name, kPictureBuffer);
  if (plat::CreateSpriteFromPicture(num::kLogo, std::move(pic),
                                    plat::kSpriteAlpha) < 0)
    ReportAssetFailure(game, name);
  const int w = (sw / 100) * 25;
  const int h = static_cast<int>(
      std::lround(static_cast<double>(plat::SpriteHeight(num::kLogo)) /
                  plat::SpriteWidth(num::kLogo) * (sw / 100.0) * 25.0));
  plat::ZoomSprite(num::kLogo, w, h);
  LogLoaded(game, name);
}

void LoadSpriteTable(Game &game, pack::Archive &archive) {
  for (const SpriteEntry &e : SpriteTable()) {
    plat::Picture pic = ExtractPicture(game, archive, e.name, kPictureBuffer);
    if (e.number < 0) {
      if (plat::ImageFromPicture(num::kCherryScoreImage, std::move(pic)) < 0)
        ReportAssetFailure(game, e.name);
    } else if (plat::CreateSpriteFromPicture(e.number, std::move(pic),
                                             e.flags) < 0) {
      ReportAssetFailure(game, e.name);
    }
    LogLoaded(game, e.name);
    if (e.clip > 0)
      plat::ClipSprite(e.number, 0, 0, e.clip, e.clip);
  }
}

std::string FrameName(const BannerFamily &f, int frame) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", frame);
  return std::string(f.prefix) + digits + ".png";
}

// Banner frames are decoded on every core while this thread creates the
// sprites and writes the log in catalogue order; the first failure stops.
void LoadBanners(Game &game, pack::Archive &archive) {
  std::vector<PictureJob> jobs;
  for (const BannerFamily &f : game.assets.families)
    for (int i = 0; i < f.frames; ++i)
      jobs.push_back({FrameName(f, i), kPictureBuffer});
  size_t job = 0;
  for (BannerFamily &f : game.assets.families)
    f.sprites.clear();
  LoadPictures(archive, jobs, [&](size_t index, plat::Picture *pic) {
    const std::string &name = jobs[index].name;
    if (pic == nullptr)
      ReportAssetFailure(game, name);
    const int sprite =
        plat::CreateSpriteFromPicture(plat::kAnyNumber, std::move(*pic),
                                      plat::kSpriteAlpha | plat::kSpriteTrim);
    if (sprite < 0)
      ReportAssetFailure(game, name);
    size_t k = job++;
    for (BannerFamily &f : game.assets.families) {
      if (k < static_cast<size_t>(f.frames)) {
        f.sprites.push_back(sprite);
        break;
      }
      k -= f.frames;
    }
    WriteLogValue(game.log, name, "OK");
  });
}

void MakeWorkSprites(Game &game) {
  const int sw = game.display.screenWidth, sh = game.display.screenHeight;
  const int t = game.display.geometry.tileSize;
  plat::CopySprite(num::kShadow, num::kVeil);
  plat::ZoomSprite(num::kVeil, sw, sh);
  plat::CreateSprite(num::kPanelBand, sw, game.display.geometry.panelHeight);
  plat::CreateSprite(num::kLevelLabel, 6 * t, t);
  plat::CreateSprite(num::kCherryCount, 2 * t, t);
  plat::CreateSprite(num::kPickupCount, 8 * t, t);
  plat::CreateSprite(num::kMenuBox, (sw / 100) * 25, sh / 2);
  if (plat::BeginDraw(plat::Target::Sprite, num::kMenuBox)) {
    plat::Box(0, 0, (sw / 100) * 25, sh / 2, {44, 68, 40, 255});
    plat::EndDraw();
  }
}

} // namespace

void LoadSounds(Game &game) {
  pack::Archive archive;
  if (!pack::Open(archive, game.paths.gameDir + kDataArchive))
    ReportAssetFailure(game, "music and sfx");
  for (const SoundEntry &s : kSounds) {
    std::vector<uint8_t> bytes;
    if (pack::ExtractEntry(archive, s.name, kSoundBuffer, bytes) < 0 ||
        !plat::LoadSound(s.number, bytes.data(), bytes.size())) {
      pack::Close(archive);
      ReportAssetFailure(game, s.name);
    }
    LogLoaded(game, s.name);
  }
  pack::Close(archive);
}

void LoadScreenAssets(Game &game) {
  pack::Archive archive;
  if (!pack::Open(archive, game.paths.gameDir + kDataArchive))
    ReportAssetFailure(game, "");
  try {
    LoadTitle(game, archive);
    LoadStudioLogo(game, archive);
    LoadLogo(game, archive);
    LoadSpriteTable(game, archive);
    LoadBanners(game, archive);
  } catch (...) {
    pack::Close(archive);
    throw;
  }
  pack::Close(archive);
  PlaceBanners(game.assets, game.display.screenWidth,
               game.display.screenHeight);
  MakeWorkSprites(game);
}

void ReloadScreenAssets(Game &game) {
  LoadMaps(game.maps, game.paths.gameDir + kMapArchive);
  LoadScreenAssets(game);
}

void PlaceBanners(Assets &assets, int sw, int sh) {
  for (BannerFamily &f : assets.families) {
    f.displayWidth = static_cast<double>(sw) * f.nativeWidth / 1920.0;
    f.displayHeight =
        f.displayWidth * (static_cast<double>(f.nativeHeight) / f.nativeWidth);
    f.x = static_cast<int>(std::lround(sw / 2 - f.displayWidth / 2));
    switch (f.place) {
    case BannerPlace::Centred:
      f.y = static_cast<int>(std::lround(sh / 2 - f.displayHeight / 2));
      break;
    case BannerPlace::AboveMiddle:
      f.y = static_cast<int>(std::lround(sh / 2 - f.displayHeight));
      break;
    case BannerPlace::BelowMiddle:
      f.y = sh / 2;
      break;
    }
  }
}

void ScaleToTileSize(Game &game) {
  const int t = game.display.geometry.tileSize;
  if (t != 96) {
    for (int n = num::kPlayerUp; n <= num::kItemCherry; ++n)
      plat::ZoomSprite(n, t, t);
    plat::ZoomSprite(num::kStar, 2 * t, t);
    plat::ZoomSprite(num::kCherryBar, t, t);
    plat::ResizeImage(num::kCherryScoreImage, 2 * t, t);
    for (int k = 1; k <= 6; ++k) {
      plat::ZoomSprite(num::MonsterUp(k), t, t);
      plat::ZoomSprite(num::MonsterDown(k), t, t);
      plat::ZoomSprite(num::MonsterLeft(k), t, t);
      plat::ZoomSprite(num::MonsterRight(k), t, t);
    }
    plat::ZoomSprite(num::kImpact, 2 * t, 2 * t);
  }
  if (game.display.screenWidth != 1920) {
    for (const BannerFamily &f : game.assets.families)
      for (int sprite : f.sprites)
        plat::ZoomSprite(sprite, static_cast<int>(std::lround(f.displayWidth)),
                         static_cast<int>(std::lround(f.displayHeight)));
  }
}

void ReportAssetFailure(Game &game, const std::string &name) {
  WriteLogValue(game.log, "Load asset (" + name + "):", "FAILED");
  ResetMapView(game.mapView);
  plat::CloseScreen();
  if (game.settings.gameScreen != 0)
    plat::CloseWindow();
  ShowFatalError(game, Text(game.lang, "tErrorASSET"));
}
