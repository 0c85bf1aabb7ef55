// catalogue.cpp — loading every sound, picture, sprite and banner frame of
// the data archive under its number, with its log line.
#include "assets/catalogue.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <mutex>
#include <optional>

#include "assets/numbers.h"
#include "assets/ordered_work.h"
#include "assets/pack.h"
#include "platform/core.h"
#include "platform/images.h"
#include "platform/pictures.h"
#include "platform/run_log.h"
#include "platform/sound.h"
#include "platform/sprites.h"

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
std::string AspectSuffix(Aspect aspect) {
  const int n = AspectNumber(aspect);
  return n >= 0 && n <= 5 ? kAspectSuffix[n] : "16x9";
}

void LogAspect(RunLog &log, Aspect aspect) {
  const std::string name = AspectName(aspect);
  if (!name.empty())
    WriteLog(log, "AspectRatio:  " + name);
}

void LogLoaded(RunLog &log, const std::string &name) {
  WriteLogValue(log, "Load asset (" + name + "):", "OK");
}

// Largest scaled copy fitting may make, in pixels: the platform's limit
// for any picture (256 MiB of BGRA).
constexpr int64_t kMaxFitPixels = int64_t(64) << 20;

// A picture of w x h that fitting may make.
bool FitSizeOk(int64_t w, int64_t h) {
  return w > 0 && h > 0 && w <= kMaxFitPixels && h <= kMaxFitPixels &&
         w * h <= kMaxFitPixels;
}

bool HasSize(const plat::Picture &pic, int w, int h) {
  return pic.width == w && pic.height == h &&
         pic.pixels.size() == static_cast<size_t>(w) * h * 4;
}

// Scales in proportion (whole hundredths) until the picture covers the
// screen, then cuts out the screen-sized middle. Nothing when the scaled
// copy would be too large: a picture of a far other shape than the screen.
std::optional<plat::Picture> CoverScreen(const plat::Picture &pic, int sw,
                                         int sh) {
  const int64_t pw = pic.width, ph = pic.height;
  if (pw <= 0 || ph <= 0 || !FitSizeOk(sw, sh))
    return std::nullopt;
  const int64_t percent = std::max((sw * int64_t(100) + pw - 1) / pw,
                                   (sh * int64_t(100) + ph - 1) / ph);
  const int64_t w = std::max<int64_t>(sw, pw * percent / 100);
  const int64_t h = std::max<int64_t>(sh, ph * percent / 100);
  if (!FitSizeOk(w, h))
    return std::nullopt;
  const plat::Picture scaled =
      plat::ResamplePicture(pic, static_cast<int>(w), static_cast<int>(h));
  if (!HasSize(scaled, static_cast<int>(w), static_cast<int>(h)))
    return std::nullopt;
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

// Smooth scaling to w x h; nothing when that size cannot be made.
std::optional<plat::Picture> Resized(const plat::Picture &pic, int64_t w,
                                     int64_t h) {
  if (!FitSizeOk(w, h))
    return std::nullopt;
  plat::Picture out =
      plat::ResamplePicture(pic, static_cast<int>(w), static_cast<int>(h));
  if (!HasSize(out, static_cast<int>(w), static_cast<int>(h)))
    return std::nullopt;
  return out;
}

bool OddAspect(Aspect aspect) {
  return aspect == Aspect::R21x9 || aspect == Aspect::Other;
}

// How an entry of the picture step becomes what the game draws.
enum class Kind { Title, StudioLogo, Logo, Sprite, CherryScore, Frame };

struct Job {
  std::string name;
  Kind kind;
  int number = 0; // sprite number
  unsigned flags = 0;
  int clip = 0;   // clip edge in pixels, 0 for none
  int family = 0; // banner family of a frame
};

std::string FrameName(const BannerFamily &f, int frame) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%02d", frame);
  return std::string(f.prefix) + digits + ".png";
}

// Every picture of the step, in catalogue order.
std::vector<Job> PictureJobs(const Assets &assets, const Display &display) {
  using plat::kSpriteAlpha;
  using plat::kSpriteCollision;
  const unsigned actor = kSpriteAlpha | kSpriteCollision;
  const std::string suffix = AspectSuffix(display.aspectRatio);
  std::vector<Job> t = {
      {"title_" + suffix + ".png", Kind::Title, num::kTitle},
      {"qirn_" + suffix + ".png", Kind::StudioLogo, num::kStudioLogo},
      {"logo.png", Kind::Logo, num::kLogo, kSpriteAlpha},
      {"player_up.png", Kind::Sprite, num::kPlayerUp, actor, 96},
      {"player_down.png", Kind::Sprite, num::kPlayerDown, actor, 96},
      {"player_left.png", Kind::Sprite, num::kPlayerLeft, actor, 96},
      {"player_right.png", Kind::Sprite, num::kPlayerRight, actor, 96},
      {"item_dot.png", Kind::Sprite, num::kItemDot, kSpriteAlpha, 96},
      {"item_cherry.png", Kind::Sprite, num::kItemCherry, kSpriteAlpha, 96},
      {"star.png", Kind::Sprite, num::kStar, 0},
      {"cherrybar.png", Kind::Sprite, num::kCherryBar, 0},
      {"cherrybarscore.png", Kind::CherryScore, num::kCherryScoreImage},
      {"shadow.png", Kind::Sprite, num::kShadow, kSpriteAlpha},
  };
  for (int k = 1; k <= 6; ++k) {
    const std::string base = "monster_" + std::to_string(k) + "_";
    t.push_back({base + "up.png", Kind::Sprite, num::MonsterUp(k), actor, 96});
    t.push_back(
        {base + "down.png", Kind::Sprite, num::MonsterDown(k), actor, 96});
    t.push_back(
        {base + "left.png", Kind::Sprite, num::MonsterLeft(k), actor, 96});
    t.push_back(
        {base + "right.png", Kind::Sprite, num::MonsterRight(k), actor, 96});
  }
  t.push_back({"fx.png", Kind::Sprite, num::kImpact, kSpriteAlpha, 192});
  for (size_t f = 0; f < assets.families.size(); ++f)
    for (int i = 0; i < assets.families[f].frames; ++i)
      t.push_back({FrameName(assets.families[f], i), Kind::Frame,
                   plat::kAnyNumber, kSpriteAlpha | plat::kSpriteTrim, 0,
                   static_cast<int>(f)});
  return t;
}

// The part of a job that needs no screen: fitting the full-screen
// pictures to the screen (on a worker thread). Nothing when the picture
// cannot be fitted: the job fails like a damaged picture.
std::optional<plat::Picture> FitToScreen(const Job &job, plat::Picture pic,
                                         const Display &d) {
  const int sw = d.screenWidth, sh = d.screenHeight;
  if (job.kind == Kind::Title) {
    if (OddAspect(d.aspectRatio))
      return CoverScreen(pic, sw, sh);
    if (pic.width != sw) {
      const double h =
          std::round(static_cast<double>(pic.height) / pic.width * sw);
      if (!(h >= 1.0 && h <= double(kMaxFitPixels)))
        return std::nullopt;
      return Resized(pic, sw, static_cast<int64_t>(h));
    }
  } else if (job.kind == Kind::StudioLogo) {
    if (pic.width != sw || pic.height != sh) {
      std::optional<plat::Picture> fitted =
          OddAspect(d.aspectRatio) && pic.width / pic.height != sw / sh
              ? CoverScreen(pic, sw, sh)
              : Resized(pic, sw, sh);
      if (!fitted)
        return std::nullopt;
      pic = std::move(*fitted);
    }
    // The studio logo is shown opaque: no per-pixel alpha.
    for (size_t i = 3; i < pic.pixels.size(); i += 4)
      pic.pixels[i] = 255;
  }
  return pic;
}

// A banner is drawn at most at its family's size on the widest screen the
// game lays out (twice the size made for a 1920-pixel screen). A frame
// larger than that is damaged: decoded, it could take gigabytes.
bool FrameSizeOk(const BannerFamily &f, int w, int h) {
  constexpr int kWidestLayout = 3840;
  return w <= f.nativeWidth * kWidestLayout / 1920 &&
         h <= f.nativeHeight * kWidestLayout / 1920;
}

// What a worker hands over: a decoded picture, or for a banner frame its
// PNG bytes (decoded when the frame is first shown).
struct Loaded {
  plat::Picture pic;
  std::vector<uint8_t> png;
};

// The screen-side part of a job, on this thread; false when it failed.
bool Install(Assets &assets, const Display &display, const Job &job,
             Loaded &&loaded) {
  plat::Picture &pic = loaded.pic;
  switch (job.kind) {
  case Kind::Title:
  case Kind::StudioLogo:
    return plat::CreateSpriteFromPicture(job.number, std::move(pic),
                                         plat::kSpriteAlpha) >= 0;
  case Kind::Logo: {
    if (plat::CreateSpriteFromPicture(job.number, std::move(pic), job.flags) <
        0)
      return false;
    const int sw = display.screenWidth;
    const int h = static_cast<int>(
        std::lround(static_cast<double>(plat::SpriteHeight(job.number)) /
                    plat::SpriteWidth(job.number) * (sw / 100.0) * 25.0));
    plat::ZoomSprite(job.number, (sw / 100) * 25, h);
    return true;
  }
  case Kind::Sprite:
    return plat::CreateSpriteFromPicture(job.number, std::move(pic),
                                         job.flags) >= 0;
  case Kind::CherryScore:
    return plat::ImageFromPicture(job.number, std::move(pic)) >= 0;
  case Kind::Frame: {
    const int sprite =
        plat::LoadSpriteOnDemand(job.number, std::move(loaded.png), job.flags);
    if (sprite < 0 ||
        !FrameSizeOk(assets.families[job.family], plat::SpriteWidth(sprite),
                     plat::SpriteHeight(sprite)))
      return false;
    assets.families[job.family].sprites.push_back(sprite);
    return true;
  }
  }
  return false;
}

// Extraction (one at a time), decoding and fitting run on every core; this
// thread makes the sprites and writes the log in catalogue order, and the
// first failure stops the loading.
void LoadPictureStep(Assets &assets, const Display &display, RunLog &log,
                     pack::Archive &archive) {
  const std::vector<Job> jobs = PictureJobs(assets, display);
  for (BannerFamily &f : assets.families)
    f.sprites.clear();
  std::mutex archiveMutex; // the archive reader is not shared-safe
  // A few pictures ahead: banner frames are megabytes each once decoded.
  constexpr size_t kAhead = 4;
  OrderedWork<Loaded>(
      jobs.size(), kAhead,
      [&](size_t i) -> std::optional<Loaded> {
        const Job &job = jobs[i];
        const bool screenSized =
            job.kind == Kind::Title || job.kind == Kind::StudioLogo;
        std::vector<uint8_t> bytes;
        {
          std::lock_guard<std::mutex> lock(archiveMutex);
          if (pack::ExtractEntry(archive, job.name,
                                 screenSized ? kScreenPictureBuffer
                                             : kPictureBuffer,
                                 bytes) < 0)
            return std::nullopt;
        }
        Loaded loaded;
        if (job.kind == Kind::Frame) {
          loaded.png = std::move(bytes);
          return loaded;
        }
        if (!plat::DecodePng(bytes.data(), bytes.size(), loaded.pic))
          return std::nullopt;
        std::optional<plat::Picture> fitted =
            FitToScreen(job, std::move(loaded.pic), display);
        if (!fitted)
          return std::nullopt;
        loaded.pic = std::move(*fitted);
        return loaded;
      },
      [&](size_t i, Loaded *loaded) {
        const Job &job = jobs[i];
        if (job.kind == Kind::Title || job.kind == Kind::StudioLogo)
          LogAspect(log, display.aspectRatio);
        if (loaded == nullptr ||
            !Install(assets, display, job, std::move(*loaded)))
          ReportAssetFailure(log, job.name);
        if (job.kind == Kind::Frame)
          WriteLogValue(log, job.name, "OK");
        else
          LogLoaded(log, job.name);
        if (job.clip > 0)
          plat::ClipSprite(job.number, 0, 0, job.clip, job.clip);
      });
}

void MakeWorkSprites(const Display &display) {
  const int sw = display.screenWidth, sh = display.screenHeight;
  const int t = display.geometry.tileSize;
  plat::CopySprite(num::kShadow, num::kVeil);
  plat::ZoomSprite(num::kVeil, sw, sh);
  plat::CreateSprite(num::kPanelBand, sw, display.geometry.panelHeight);
  plat::CreateSprite(num::kLevelLabel, 6 * t, t);
  plat::CreateSprite(num::kCherryCount, 2 * t, t);
  plat::CreateSprite(num::kPickupCount, 8 * t, t);
  plat::CreateSprite(num::kMenuBox, (sw / 100) * 25, sh / 2);
  if (plat::BeginDraw(plat::Target::Sprite, num::kMenuBox)) {
    plat::Box(0, 0, (sw / 100) * 25, sh / 2, {44, 68, 40, 255});
    plat::EndDraw();
  }
}

bool IsMusic(int number) {
  return number == num::kMenuMusic || number == num::kLevelMusic ||
         number == num::kFinaleMusic;
}

} // namespace

void LoadSounds(const std::string &gameDir, RunLog &log) {
  pack::Archive archive;
  if (!pack::Open(archive, gameDir + kDataArchive))
    ReportAssetFailure(log, "music and sfx");
  // Extracted here one by one, the effects decoded on every core, made
  // sounds and logged in catalogue order; the first failure stops the
  // loading. The music tracks stay compressed and are decoded as they play
  // (a whole track would take megabytes and most of the start-up).
  const size_t count = std::size(kSounds);
  std::vector<std::vector<uint8_t>> ogg(count);
  size_t extracted = 0;
  for (; extracted < count; ++extracted)
    if (pack::ExtractEntry(archive, kSounds[extracted].name, kSoundBuffer,
                           ogg[extracted]) < 0)
      break;
  pack::Close(archive);
  OrderedWork<std::vector<uint8_t>>(
      extracted, count,
      [&](size_t i) -> std::optional<std::vector<uint8_t>> {
        if (IsMusic(kSounds[i].number))
          return std::move(ogg[i]);
        std::vector<uint8_t> pcm;
        if (!plat::DecodeSound(ogg[i].data(), ogg[i].size(), pcm))
          return std::nullopt;
        std::vector<uint8_t>().swap(ogg[i]);
        return pcm;
      },
      [&](size_t i, std::vector<uint8_t> *bytes) {
        const int number = kSounds[i].number;
        const bool made =
            bytes != nullptr &&
            (IsMusic(number)
                 ? plat::LoadStreamedSound(number, std::move(*bytes))
                 : plat::LoadSoundPcm(number, std::move(*bytes)));
        if (!made)
          ReportAssetFailure(log, kSounds[i].name);
        LogLoaded(log, kSounds[i].name);
      });
  if (extracted < count)
    ReportAssetFailure(log, kSounds[extracted].name);
}

void LoadScreenAssets(Assets &assets, const Display &display,
                      const std::string &gameDir, RunLog &log) {
  pack::Archive archive;
  if (!pack::Open(archive, gameDir + kDataArchive))
    ReportAssetFailure(log, "");
  try {
    LoadPictureStep(assets, display, log, archive);
  } catch (...) {
    pack::Close(archive);
    throw;
  }
  pack::Close(archive);
  PlaceBanners(assets, display.screenWidth, display.screenHeight);
  MakeWorkSprites(display);
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

void ScaleToTileSize(const Assets &assets, const Display &display) {
  const int t = display.geometry.tileSize;
  if (t != 96) {
    std::vector<plat::SpriteZoom> zooms;
    for (int n = num::kPlayerUp; n <= num::kItemCherry; ++n)
      zooms.push_back({n, t, t});
    zooms.push_back({num::kStar, 2 * t, t});
    zooms.push_back({num::kCherryBar, t, t});
    for (int k = 1; k <= 6; ++k) {
      zooms.push_back({num::MonsterUp(k), t, t});
      zooms.push_back({num::MonsterDown(k), t, t});
      zooms.push_back({num::MonsterLeft(k), t, t});
      zooms.push_back({num::MonsterRight(k), t, t});
    }
    zooms.push_back({num::kImpact, 2 * t, 2 * t});
    plat::ZoomSprites(zooms);
    plat::ResizeImage(num::kCherryScoreImage, 2 * t, t);
  }
  if (display.screenWidth != 1920) {
    for (const BannerFamily &f : assets.families)
      for (int sprite : f.sprites)
        plat::ZoomSprite(sprite, static_cast<int>(std::lround(f.displayWidth)),
                         static_cast<int>(std::lround(f.displayHeight)));
  }
}

void ReportAssetFailure(RunLog &log, const std::string &name) {
  WriteLogValue(log, "Load asset (" + name + "):", "FAILED");
  throw AssetFailure{name};
}
