// platform_sprites_test.cpp — sprite loading, numbering, blending, trimming
// and the pre-scaled zoom, checked on the pixels that reach the screen.
#include "platform_helpers.h"

#include <cstring>

using namespace plat_test;
using plat::Colour;

namespace {

using SpriteTest = ScreenTest;

int Load(int number, const plat::Picture &pic, unsigned flags) {
  std::vector<uint8_t> png = Png(pic);
  return plat::LoadSprite(number, png.data(), png.size(), flags);
}

TEST_F(SpriteTest, NumbersAreChosenFromTheFirstFreeNumber) {
  plat::Picture p = Solid(4, 4, {1, 2, 3, 255});
  EXPECT_EQ(Load(plat::kAnyNumber, p, plat::kSpriteAlpha), 100);
  EXPECT_EQ(Load(plat::kAnyNumber, p, plat::kSpriteAlpha), 101);
  plat::FreeSprite(100);
  EXPECT_FALSE(plat::SpriteExists(100));
  EXPECT_EQ(plat::CreateSprite(plat::kAnyNumber, 2, 2), 100);
  // A fixed number is used as given; a used one is replaced.
  EXPECT_EQ(Load(5, p, plat::kSpriteAlpha), 5);
  EXPECT_EQ(plat::CreateSprite(5, 8, 3), 5);
  EXPECT_EQ(plat::SpriteWidth(5), 8);
  EXPECT_EQ(plat::SpriteHeight(5), 3);
  EXPECT_EQ(plat::CreateSprite(-7, 2, 2), -1);
}

TEST_F(SpriteTest, BadPicturesAreRefusedAndFreeTheOldSprite) {
  EXPECT_EQ(plat::CreateSprite(7, 4, 4), 7);
  const uint8_t junk[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(plat::LoadSprite(7, junk, sizeof junk, 0), -1);
  EXPECT_FALSE(plat::SpriteExists(7));
  std::vector<uint8_t> big(10'000'001, 0);
  EXPECT_EQ(plat::LoadSprite(8, big.data(), big.size(), 0), -1);
  EXPECT_EQ(plat::CreateSprite(9, 0, 5), -1);
  EXPECT_EQ(plat::CreateSprite(9, 100000, 100000), -1);
}

TEST_F(SpriteTest, ColourKeyMakesOnlyBlackTransparent) {
  plat::Picture p = Solid(3, 1, {0, 0, 0, 255});
  SetPixel(p, 1, 0, {0, 0, 1, 40});   // nearly black but not black
  SetPixel(p, 2, 0, {90, 80, 70, 0}); // transparent in the file
  ASSERT_EQ(Load(1, p, 0), 1);
  ASSERT_EQ(Load(2, p, plat::kSpriteAlpha), 2);
  plat::Picture keyed, kept;
  ASSERT_TRUE(plat::SpritePixels(1, keyed));
  ASSERT_TRUE(plat::SpritePixels(2, kept));
  EXPECT_EQ(GetPixel(keyed, 0, 0).a, 0);
  EXPECT_EQ(GetPixel(keyed, 1, 0).a, 255);
  EXPECT_EQ(GetPixel(keyed, 2, 0).a, 255);
  EXPECT_EQ(GetPixel(kept, 0, 0).a, 255);
  EXPECT_EQ(GetPixel(kept, 1, 0).a, 40);
  EXPECT_EQ(GetPixel(kept, 2, 0).a, 0);

  // On screen: the keyed black pixel lets the background through.
  plat::ClearScreen({200, 0, 0, 255});
  plat::DisplaySpriteTransparent(1, 10, 10);
  EXPECT_TRUE(Near(ScreenPixel(10, 10), {200, 0, 0, 255}, 0));
  EXPECT_TRUE(Near(ScreenPixel(12, 10), {90, 80, 70, 255}, 0));
}

TEST_F(SpriteTest, IntensityScalesTheAlpha) {
  ASSERT_EQ(Load(1, Solid(8, 8, {200, 100, 50, 255}), plat::kSpriteAlpha), 1);
  const Colour black{0, 0, 0, 255};
  plat::ClearScreen(black);
  plat::DisplaySpriteTransparent(1, 0, 0, 0);
  EXPECT_TRUE(Near(ScreenPixel(3, 3), black, 0));
  plat::DisplaySpriteTransparent(1, 0, 0, 128);
  Colour half = ScreenPixel(3, 3);
  EXPECT_TRUE(Near(half, {100, 50, 25, 255}, 1)) << Str(half);
  plat::ClearScreen(black);
  plat::DisplaySpriteTransparent(1, 0, 0, 255);
  plat::Picture full = Grab(0, 0, 8, 8);
  plat::ClearScreen(black);
  plat::DisplaySpriteTransparent(1, 0, 0);
  EXPECT_EQ(Grab(0, 0, 8, 8).pixels, full.pixels);
  EXPECT_TRUE(Near(GetPixel(full, 7, 7), {200, 100, 50, 255}, 0));
}

TEST_F(SpriteTest, OpaqueDisplayCopiesTransparentPixelsToo) {
  plat::Picture p = Solid(2, 1, {0, 0, 0, 0});
  SetPixel(p, 1, 0, {10, 20, 30, 255});
  ASSERT_EQ(Load(1, p, plat::kSpriteAlpha), 1);
  plat::ClearScreen({255, 255, 255, 255});
  plat::DisplaySprite(1, 5, 5);
  EXPECT_TRUE(Near(ScreenPixel(5, 5), {0, 0, 0, 255}, 0));
  EXPECT_TRUE(Near(ScreenPixel(6, 5), {10, 20, 30, 255}, 0));
}

TEST_F(SpriteTest, ClipAndZoomPlaceTheRightPixels) {
  // Four 2x2 frames side by side, each one colour.
  const Colour frames[4] = {
      {255, 0, 0, 255}, {0, 255, 0, 255}, {0, 0, 255, 255}, {255, 255, 0, 255}};
  plat::Picture strip = Solid(8, 2, {0, 0, 0, 255});
  for (int f = 0; f < 4; ++f)
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 2; ++x)
        SetPixel(strip, f * 2 + x, y, frames[f]);
  ASSERT_EQ(Load(1, strip, plat::kSpriteAlpha), 1);
  plat::ClearScreen({0, 0, 0, 255});
  plat::ClipSprite(1, 4, 0, 2, 2);
  plat::DisplaySprite(1, 10, 10);
  EXPECT_TRUE(Near(ScreenPixel(10, 10), frames[2], 0));
  EXPECT_TRUE(Near(ScreenPixel(12, 10), {0, 0, 0, 255}, 0)); // nothing beyond
  plat::ZoomSprite(1, 6, 6);
  plat::DisplaySprite(1, 20, 20);
  EXPECT_TRUE(Near(ScreenPixel(25, 25), frames[2], 0));
  EXPECT_TRUE(Near(ScreenPixel(26, 26), {0, 0, 0, 255}, 0));
  // A clip of the whole sprite undoes the clip; -1 undoes the zoom.
  plat::ClipSprite(1, 0, 0, 8, 2);
  plat::ZoomSprite(1, -1, -1);
  plat::ClearScreen({0, 0, 0, 255});
  plat::DisplaySprite(1, 0, 0);
  EXPECT_TRUE(Near(ScreenPixel(7, 1), frames[3], 0));
  EXPECT_EQ(plat::SpriteWidth(1), 8);
}

TEST_F(SpriteTest, PrescaledZoomFollowsTheClipAcrossTheStrip) {
  const Colour frames[4] = {
      {255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 255}, {255, 255, 0, 255}};
  plat::Picture strip = Solid(32, 8, {0, 0, 0, 0});
  for (int f = 0; f < 4; ++f)
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        SetPixel(strip, f * 8 + x, y, frames[f]);
  ASSERT_EQ(Load(1, strip, plat::kSpriteAlpha), 1);
  plat::SetSpriteQuality(1);
  plat::ClipSprite(1, 0, 0, 8, 8);
  plat::ZoomSprite(1, 4, 4);
  for (int f : {0, 2, 1, 3}) {
    plat::ClipSprite(1, f * 8, 0, 8, 8);
    plat::ClearScreen({0, 0, 0, 255});
    plat::DisplaySpriteTransparent(1, 10, 10);
    const Colour &c = frames[f];
    Colour want{uint8_t(c.r * c.a / 255), uint8_t(c.g * c.a / 255),
                uint8_t(c.b * c.a / 255), 255};
    plat::Picture shot = Grab(9, 9, 6, 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) {
        bool inside = x >= 1 && x <= 4 && y >= 1 && y <= 4;
        Colour got = GetPixel(shot, x, y);
        EXPECT_TRUE(Near(got, inside ? want : Colour{0, 0, 0, 255}, 1))
            << "frame " << f << " at " << x << "," << y << ": " << Str(got);
      }
  }
}

TEST_F(SpriteTest, PrescaledAndRendererZoomAgreeOnSmoothPictures) {
  // A smooth gradient: area averaging and the renderer's bilinear scaling
  // differ only slightly on it.
  plat::Picture p = Solid(40, 40, {0, 0, 0, 255});
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      SetPixel(p, x, y, {uint8_t(x * 6), uint8_t(y * 6), 100, 255});
  ASSERT_EQ(Load(1, p, plat::kSpriteAlpha), 1);
  plat::SetSpriteQuality(1);
  plat::ZoomSprite(1, 20, 20);
  plat::ClearScreen({0, 0, 0, 255});
  plat::DisplaySpriteTransparent(1, 0, 0);
  plat::Picture pre = Grab(0, 0, 20, 20);
  plat::SetSpritePrescale(false);
  plat::ClearScreen({0, 0, 0, 255});
  plat::DisplaySpriteTransparent(1, 0, 0);
  plat::Picture direct = Grab(0, 0, 20, 20);
  for (int y = 1; y < 19; ++y)
    for (int x = 1; x < 19; ++x)
      EXPECT_TRUE(Near(GetPixel(pre, x, y), GetPixel(direct, x, y), 8))
          << x << "," << y << ": " << Str(GetPixel(pre, x, y)) << " vs "
          << Str(GetPixel(direct, x, y));
}

TEST_F(SpriteTest, TrimmedSpritesDrawTheSamePixels) {
  // Mostly transparent, with a soft-edged blob off centre.
  plat::Picture p = Solid(60, 40, {0, 0, 0, 0});
  for (int y = 12; y < 30; ++y)
    for (int x = 30; x < 52; ++x)
      SetPixel(p, x, y,
               {uint8_t(x * 4), uint8_t(y * 5), 77,
                uint8_t((x == 30 || y == 29) ? 90 : 255)});
  ASSERT_EQ(Load(1, p, plat::kSpriteAlpha), 1);
  ASSERT_EQ(Load(2, p, plat::kSpriteAlpha | plat::kSpriteTrim), 2);
  EXPECT_EQ(plat::SpriteWidth(2), 60);
  EXPECT_EQ(plat::SpriteHeight(2), 40);
  plat::Picture back;
  ASSERT_TRUE(plat::SpritePixels(2, back));
  EXPECT_EQ(back.pixels, p.pixels); // what was trimmed off was transparent

  auto shoot = [](int sprite, bool blended) {
    plat::ClearScreen({40, 90, 140, 255});
    if (blended)
      plat::DisplaySpriteTransparent(sprite, 7, 5, 200);
    else
      plat::DisplaySprite(sprite, 7, 5);
    return Grab(0, 0, 80, 60).pixels;
  };
  plat::SetSpriteQuality(1);
  for (bool blended : {true, false}) {
    EXPECT_EQ(shoot(1, blended), shoot(2, blended)) << "natural size";
    plat::ClipSprite(1, 20, 10, 30, 20);
    plat::ClipSprite(2, 20, 10, 30, 20);
    EXPECT_EQ(shoot(1, blended), shoot(2, blended)) << "clipped";
    plat::ZoomSprite(1, 15, 10);
    plat::ZoomSprite(2, 15, 10);
    EXPECT_EQ(shoot(1, blended), shoot(2, blended)) << "shrunk";
    plat::ClipSprite(1, 0, 0, 60, 40);
    plat::ClipSprite(2, 0, 0, 60, 40);
    plat::ZoomSprite(1, -1, -1);
    plat::ZoomSprite(2, -1, -1);
  }
  // Clipped to a fully transparent corner: blended draws nothing, opaque
  // draws transparent black, as the untrimmed sprite does.
  plat::ClipSprite(1, 0, 0, 10, 10);
  plat::ClipSprite(2, 0, 0, 10, 10);
  EXPECT_EQ(shoot(1, true), shoot(2, true));
  EXPECT_EQ(shoot(1, false), shoot(2, false));
}

TEST_F(SpriteTest, OneColourSpritesBlendLikePictures) {
  // The veil: one translucent colour, stretched over the screen.
  ASSERT_EQ(Load(1, Solid(4, 4, {20, 40, 60, 128}), plat::kSpriteAlpha), 1);
  ASSERT_EQ(plat::CopySprite(1, 2), 2);
  plat::ZoomSprite(2, kW, kH);
  plat::ClearScreen({220, 220, 220, 255});
  plat::DisplaySpriteTransparent(2, 0, 0);
  Colour veiled = ScreenPixel(kW - 1, kH - 1);
  // 220 * 127/255 + c * 128/255
  EXPECT_TRUE(Near(veiled, {120, 130, 140, 255}, 2)) << Str(veiled);
  plat::ClearScreen({220, 220, 220, 255});
  plat::DisplaySpriteTransparent(2, 0, 0, 0);
  EXPECT_TRUE(Near(ScreenPixel(5, 5), {220, 220, 220, 255}, 0));
}

TEST_F(SpriteTest, CopiesAreIndependent) {
  ASSERT_EQ(Load(1, Solid(4, 4, {10, 10, 10, 255}), plat::kSpriteAlpha), 1);
  plat::ClipSprite(1, 1, 1, 2, 2);
  ASSERT_EQ(plat::CopySprite(1, 2), 2);
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Sprite, 2));
  plat::Box(0, 0, 4, 4, {250, 0, 0, 255});
  plat::EndDraw();
  plat::Picture a, b;
  ASSERT_TRUE(plat::SpritePixels(1, a));
  ASSERT_TRUE(plat::SpritePixels(2, b));
  EXPECT_TRUE(Near(GetPixel(a, 0, 0), {10, 10, 10, 255}, 0));
  EXPECT_TRUE(Near(GetPixel(b, 0, 0), {250, 0, 0, 255}, 0));
  // The copy keeps the clip.
  plat::ClearScreen({0, 0, 0, 255});
  plat::DisplaySprite(2, 0, 0);
  EXPECT_TRUE(Near(ScreenPixel(1, 1), {250, 0, 0, 255}, 0));
  EXPECT_TRUE(Near(ScreenPixel(2, 2), {0, 0, 0, 255}, 0));
  // Onto itself, and from nothing.
  EXPECT_EQ(plat::CopySprite(2, 2), 2);
  EXPECT_EQ(plat::CopySprite(55, 3), -1);
}

TEST_F(SpriteTest, TargetSpritesTakeTheDrawingWhileSet) {
  EXPECT_TRUE(plat::InitSprites());
  ASSERT_EQ(Load(2, Solid(4, 4, {0, 0, 255, 255}), plat::kSpriteAlpha), 2);
  ASSERT_EQ(plat::CreateTargetSprite(1, 40, 30), 1);
  EXPECT_FALSE(plat::SetRenderTarget(2)); // not a target
  plat::ClearScreen({0, 128, 0, 255});
  ASSERT_TRUE(plat::SetRenderTarget(1));
  plat::ClearScreen({255, 0, 0, 255});
  plat::DisplaySprite(2, 5, 5);
  plat::DisplaySprite(1, 0, 0); // not into itself
  ASSERT_TRUE(plat::SetRenderTarget(-1));
  EXPECT_TRUE(Near(ScreenPixel(6, 6), {0, 128, 0, 255}, 0)); // screen untouched
  // Shown clipped, as a cache of the static part of a picture is.
  plat::ClipSprite(1, 4, 4, 10, 10);
  plat::DisplaySprite(1, 100, 100);
  EXPECT_TRUE(Near(ScreenPixel(100, 100), {255, 0, 0, 255}, 0));
  EXPECT_TRUE(Near(ScreenPixel(101, 101), {0, 0, 255, 255}, 0));
  EXPECT_TRUE(Near(ScreenPixel(110, 110), {0, 128, 0, 255}, 0));
  plat::Picture p;
  ASSERT_TRUE(plat::SpritePixels(1, p));
  EXPECT_TRUE(Near(GetPixel(p, 39, 29), {255, 0, 0, 255}, 0));
  // Freeing the target while set returns drawing to the screen.
  ASSERT_TRUE(plat::SetRenderTarget(1));
  plat::FreeSprite(1);
  plat::ClearScreen({1, 2, 3, 255});
  EXPECT_TRUE(Near(ScreenPixel(0, 0), {1, 2, 3, 255}, 0));
}

TEST_F(SpriteTest, OpaqueOnlyWhenEveryPixelIsSolid) {
  plat::Picture p = Solid(6, 6, {9, 9, 9, 255});
  ASSERT_EQ(Load(1, p, plat::kSpriteAlpha), 1);
  EXPECT_TRUE(plat::SpriteOpaque(1));
  SetPixel(p, 5, 5, {9, 9, 9, 254});
  ASSERT_EQ(Load(2, p, plat::kSpriteAlpha), 2);
  EXPECT_FALSE(plat::SpriteOpaque(2));
  ASSERT_EQ(Load(3, p, 0), 3); // colour key: no black, so opaque
  EXPECT_TRUE(plat::SpriteOpaque(3));
  SetPixel(p, 0, 0, {0, 0, 0, 255});
  ASSERT_EQ(Load(4, p, 0), 4);
  EXPECT_FALSE(plat::SpriteOpaque(4));
  ASSERT_EQ(plat::CreateTargetSprite(5, 6, 6), 5);
  EXPECT_FALSE(plat::SpriteOpaque(5));
  EXPECT_FALSE(plat::SpriteOpaque(77));
}

TEST_F(SpriteTest, ClosingTheScreenFreesSpritesAndEndsTheDrawing) {
  ASSERT_EQ(plat::CreateSprite(1, 4, 4), 1);
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Sprite, 1));
  plat::Box(0, 0, 4, 4, {255, 0, 0, 255});
  plat::CloseScreen();
  EXPECT_FALSE(plat::SpriteExists(1));
  EXPECT_FALSE(plat::ScreenOpen());
  EXPECT_EQ(plat::CreateSprite(1, 4, 4), -1); // no screen, no sprites
  ASSERT_TRUE(plat::OpenScreenInWindow());
  EXPECT_EQ(plat::CreateSprite(1, 4, 4), 1);
  EXPECT_EQ(plat::ScreenWidth(), kW);
  EXPECT_EQ(plat::ScreenHeight(), kH);
  plat::EndDraw(); // that drawing ended with the screen: none reaches here
  plat::Picture p;
  ASSERT_TRUE(plat::SpritePixels(1, p));
  EXPECT_EQ(GetPixel(p, 0, 0).a, 0);
}

// A picture with a trimmable border, colours that differ pixel by pixel
// and some half-transparent pixels.
plat::Picture Banner(int w, int h, int seed) {
  plat::Picture p = Solid(w, h, {0, 0, 0, 0});
  for (int y = 3; y < h - 4; ++y)
    for (int x = 5; x < w - 2; ++x)
      SetPixel(p, x, y,
               {uint8_t(x * 7 + seed), uint8_t(y * 5), uint8_t(seed * 3),
                uint8_t((x + y) % 3 ? 255 : 120)});
  return p;
}

plat::Picture Shown(int number, int w, int h) {
  plat::ClearScreen({10, 20, 30, 255});
  plat::DisplaySpriteTransparent(number, 4, 6, 200);
  return Grab(0, 0, w + 10, h + 10);
}

TEST_F(SpriteTest, OnDemandSpritesShowTheSamePixelsAndKeepToTheirBudget) {
  const unsigned flags = plat::kSpriteAlpha | plat::kSpriteTrim;
  const plat::Picture a = Banner(40, 30, 1), b = Banner(40, 30, 2);
  ASSERT_EQ(Load(1, a, flags), 1); // decoded at once: the reference
  ASSERT_EQ(plat::LoadSpriteOnDemand(2, Png(a), flags), 2);
  ASSERT_EQ(plat::LoadSpriteOnDemand(3, Png(b), flags), 3);
  // Its size is known before any decoding.
  EXPECT_FALSE(plat::SpriteResident(2));
  EXPECT_EQ(plat::SpriteWidth(2), 40);
  EXPECT_EQ(plat::SpriteHeight(2), 30);
  EXPECT_EQ(plat::OnDemandResidentBytes(), 0u);

  const plat::Picture reference = Shown(1, 40, 30);
  EXPECT_EQ(Shown(2, 40, 30).pixels, reference.pixels);
  EXPECT_TRUE(plat::SpriteResident(2));
  plat::ZoomSprite(1, 20, 15); // a shrinking zoom, as banners on a small
  plat::ZoomSprite(2, 20, 15); // screen
  EXPECT_EQ(Shown(2, 40, 30).pixels, Shown(1, 40, 30).pixels);

  // A budget of one picture: showing the other drops the first, which is
  // made again, the same, when shown again.
  plat::SetOnDemandBudget(plat::OnDemandResidentBytes());
  Shown(3, 40, 30);
  EXPECT_TRUE(plat::SpriteResident(3));
  EXPECT_FALSE(plat::SpriteResident(2));
  EXPECT_LE(plat::OnDemandResidentBytes(), 40u * 30 * 4);
  EXPECT_EQ(Shown(2, 40, 30).pixels, Shown(1, 40, 30).pixels);
  EXPECT_FALSE(plat::SpriteResident(3));
  // Copies and pixel reads make the picture too.
  ASSERT_EQ(plat::CopySprite(3, 4), 4);
  plat::Picture copied, shownB;
  ASSERT_TRUE(plat::SpritePixels(4, copied));
  ASSERT_TRUE(plat::SpritePixels(3, shownB));
  EXPECT_EQ(copied.pixels, shownB.pixels);
  plat::SetOnDemandBudget(uint64_t(128) << 20);
}

TEST_F(SpriteTest, OnDemandSpritesRefuseDamageWhenLoaded) {
  const std::vector<uint8_t> good = Png(Banner(16, 12, 3));
  auto refused = [](std::vector<uint8_t> png, unsigned flags) {
    return plat::LoadSpriteOnDemand(5, std::move(png), flags) == -1 &&
           !plat::SpriteExists(5);
  };
  EXPECT_TRUE(refused({}, plat::kSpriteAlpha));
  EXPECT_TRUE(refused(std::vector<uint8_t>(good.begin(), good.end() - 1),
                      plat::kSpriteAlpha));
  std::vector<uint8_t> flipped = good;
  flipped[flipped.size() / 2] ^= 1; // inside the picture data
  EXPECT_TRUE(refused(flipped, plat::kSpriteAlpha));
  std::vector<uint8_t> trailing = good;
  trailing.push_back(0);
  EXPECT_TRUE(refused(trailing, plat::kSpriteAlpha));
  // Collision masks are needed from the start.
  EXPECT_TRUE(refused(good, plat::kSpriteAlpha | plat::kSpriteCollision));
  EXPECT_FALSE(refused(good, plat::kSpriteAlpha));

  // Damage made to pass the checks (picture data broken, its checksum
  // fixed): the sprite loads, shows nothing and is not a crash.
  std::vector<uint8_t> crafted = good;
  size_t at = 8;
  while (std::memcmp(&crafted[at + 4], "IDAT", 4) != 0)
    at += 12 + (size_t(crafted[at]) << 24 | size_t(crafted[at + 1]) << 16 |
                size_t(crafted[at + 2]) << 8 | crafted[at + 3]);
  const size_t length = size_t(crafted[at + 2]) << 8 | crafted[at + 3];
  for (size_t i = 2; i < length; ++i)
    crafted[at + 8 + i] ^= 0x5a;
  const uint32_t crc = Crc32(&crafted[at + 4], length + 4);
  for (int k = 0; k < 4; ++k)
    crafted[at + 8 + length + k] = uint8_t(crc >> (24 - 8 * k));
  ASSERT_EQ(plat::LoadSpriteOnDemand(6, std::move(crafted), plat::kSpriteAlpha),
            6);
  const plat::Picture before = Grab(0, 0, 30, 30);
  plat::DisplaySprite(6, 0, 0);
  plat::DisplaySprite(6, 0, 0);
  EXPECT_EQ(Grab(0, 0, 30, 30).pixels, before.pixels);
  EXPECT_FALSE(plat::SpriteResident(6));
  EXPECT_FALSE(plat::SpriteOpaque(6));
}

} // namespace
