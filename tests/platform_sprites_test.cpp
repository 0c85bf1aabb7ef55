// platform_sprites_test.cpp — sprite loading, numbering, blending, trimming,
// zoom and pictures decoded on demand, checked on the pixels that reach the
// screen.
#include "platform/clock.h"
#include "platform/core.h"
#include "platform/display.h"
#include "platform/images.h"
#include "platform/pictures.h"
#include "platform/sprites.h"
#include "platform/test_hooks.h"
#include "platform_helpers.h"
#include "support/blank_png.h"
#include "support/sanitizer.h"

#include <array>

using namespace plat_test;
using plat::Colour;

namespace {

using SpriteTest = ScreenTest;
constexpr Colour kBlack{0, 0, 0, 255};

// Frames of w x h pixels side by side, each one colour.
plat::Picture Strip(int w, int h, std::initializer_list<Colour> frames) {
  plat::Picture strip = Solid(w * int(frames.size()), h, {});
  int f = 0;
  for (Colour c : frames) {
    for (int i = 0; i < w * h; ++i)
      SetPixel(strip, f * w + i % w, i / w, c);
    ++f;
  }
  return strip;
}

// Each number's answer to SpriteOpaque.
std::vector<int> Opaque(std::initializer_list<int> numbers) {
  std::vector<int> out;
  for (int n : numbers)
    out.push_back(plat::SpriteOpaque(n));
  return out;
}
using V = std::vector<int>;

std::vector<int> Resident(std::initializer_list<int> numbers) {
  std::vector<int> out;
  for (int n : numbers)
    out.push_back(plat::SpriteResident(n));
  return out;
}

TEST_F(SpriteTest, NumbersRefusalsAndOpacity) {
  plat::Picture p = Solid(6, 6, {9, 9, 9, 255});
  EXPECT_EQ(V({Load(plat::kAnyNumber, p, plat::kSpriteAlpha),
               Load(plat::kAnyNumber, p, plat::kSpriteAlpha)}),
            V({100, 101}));
  plat::FreeSprite(100);
  EXPECT_FALSE(plat::SpriteExists(100));
  EXPECT_EQ(plat::CreateSprite(plat::kAnyNumber, 2, 2), 100);
  // A fixed number is used as given; a used one is replaced, even by a
  // picture that is refused.
  EXPECT_EQ(Load(5, p, plat::kSpriteAlpha), 5);
  EXPECT_EQ(plat::CreateSprite(5, 8, 3), 5);
  EXPECT_EQ(V({plat::SpriteWidth(5), plat::SpriteHeight(5)}), V({8, 3}));
  // A new sprite is transparent black, and blending it changes nothing.
  EXPECT_TRUE(Near(SpritePixel(5, 7, 2), {0, 0, 0, 0}, 0));
  plat::ClearScreen({9, 99, 9, 255});
  plat::DisplaySpriteTransparent(5, 0, 0, 255);
  ExpectScreen(7, 2, {9, 99, 9, 255});
  const uint8_t junk[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(plat::LoadSprite(5, junk, sizeof junk, 0), -1);
  EXPECT_FALSE(plat::SpriteExists(5));
  EXPECT_EQ(V({plat::CreateSprite(-7, 2, 2), plat::CreateSprite(9, 0, 5),
               plat::CreateSprite(9, 100000, 100000)}),
            V({-1, -1, -1}));
  // Opaque only when every pixel is solid, after the colour key (3 has no
  // black, 4 has one black pixel).
  ASSERT_EQ(Load(1, p, plat::kSpriteAlpha), 1);
  SetPixel(p, 5, 5, {9, 9, 9, 254});
  ASSERT_EQ(Load(2, p, plat::kSpriteAlpha), 2);
  ASSERT_EQ(Load(3, p, 0), 3);
  SetPixel(p, 0, 0, {0, 0, 0, 255});
  ASSERT_EQ(Load(4, p, 0), 4);
  ASSERT_EQ(plat::CreateTargetSprite(6, 6, 6), 6);
  EXPECT_EQ(Opaque({1, 2, 3, 4, 6, 77}), V({1, 0, 1, 0, 0, 0}));
  EXPECT_EQ(plat::SpriteWidth(77), 0);
}

TEST_F(SpriteTest, ColourKeyIntensityAndOpaqueCopies) {
  plat::Picture p = Solid(3, 1, {0, 0, 0, 255});
  SetPixel(p, 1, 0, {0, 0, 1, 40});   // nearly black but not black
  SetPixel(p, 2, 0, {90, 80, 70, 0}); // transparent in the file
  ASSERT_EQ(Load(1, p, 0), 1);
  ASSERT_EQ(Load(2, p, plat::kSpriteAlpha), 2);
  const int alphas[2][3] = {{0, 255, 255}, {255, 40, 0}};
  for (int x = 0; x < 3; ++x)
    for (int s : {1, 2})
      EXPECT_EQ(SpritePixel(s, x, 0).a, alphas[s - 1][x]) << s << " at " << x;
  // On screen: the keyed black pixel lets the background through; an
  // opaque display copies transparent pixels too.
  plat::ClearScreen({200, 0, 0, 255});
  plat::DisplaySpriteTransparent(1, 10, 10);
  plat::DisplaySprite(2, 10, 11);
  ExpectScreen(10, 10, {200, 0, 0, 255});
  ExpectScreen(12, 10, {90, 80, 70, 255});
  ExpectScreen(12, 11, {90, 80, 70, 255});

  // The intensity scales the alpha; 255 is the default.
  ASSERT_EQ(Load(3, Solid(8, 8, {255, 100, 50, 255}), plat::kSpriteAlpha), 3);
  const std::pair<int, Colour> shown[] = {{0, kBlack},
                                          {1, {1, 0, 0, 255}},
                                          {128, {128, 50, 25, 255}},
                                          {255, {255, 100, 50, 255}}};
  for (const auto &[intensity, want] : shown) {
    plat::ClearScreen(kBlack);
    plat::DisplaySpriteTransparent(3, 0, 0, intensity);
    ExpectScreen(3, 3, want, intensity == 128);
  }
  const plat::Picture full = Grab(0, 0, 8, 8);
  plat::ClearScreen(kBlack);
  plat::DisplaySpriteTransparent(3, 0, 0);
  EXPECT_EQ(Grab(0, 0, 8, 8).pixels, full.pixels);

  // One translucent colour stretched over the screen (the veil) blends like
  // a picture: 220 * 127/255 + c * 128/255.
  ASSERT_EQ(Load(4, Solid(4, 4, {20, 40, 60, 128}), plat::kSpriteAlpha), 4);
  ASSERT_EQ(plat::CopySprite(4, 5), 5);
  plat::ZoomSprite(5, kW, kH);
  for (int intensity : {255, 0}) {
    plat::ClearScreen({220, 220, 220, 255});
    plat::DisplaySpriteTransparent(5, 0, 0, intensity);
    ExpectScreen(kW - 1, kH - 1,
                 intensity ? Colour{120, 130, 140, 255} : Colour{220, 220, 220},
                 2);
  }
}

TEST_F(SpriteTest, ShrunkCopiesFollowTheClipAndTheZoom) {
  const Colour frames[4] = {
      {255, 0, 0, 255}, {0, 255, 0, 128}, {0, 0, 255, 255}, {255, 255, 0, 255}};
  ASSERT_EQ(Load(1, Strip(8, 8, {frames[0], frames[1], frames[2], frames[3]}),
                 plat::kSpriteAlpha),
            1);
  plat::SetSpriteQuality(1);
  plat::ZoomSprite(1, 4, 4);
  for (int f : {0, 2, 1, 3}) {
    plat::ClipSprite(1, f * 8, 0, 8, 8);
    plat::ClearScreen(kBlack);
    plat::DisplaySpriteTransparent(1, 10, 10);
    const Colour &c = frames[f];
    const Colour want{uint8_t(c.r * c.a / 255), uint8_t(c.g * c.a / 255),
                      uint8_t(c.b * c.a / 255), 255};
    const plat::Picture shot = Grab(9, 9, 6, 6);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) {
        const bool inside = x >= 1 && x <= 4 && y >= 1 && y <= 4;
        const Colour got = GetPixel(shot, x, y);
        EXPECT_TRUE(Near(got, inside ? want : kBlack, 1))
            << "frame " << f << " at " << x << "," << y << ": " << Str(got);
      }
  }
  // The renderer's own scaling, grown; a clip of the whole strip undoes the
  // clip, -1 the zoom.
  plat::SetSpriteQuality(0);
  plat::ZoomSprite(1, 12, 12);
  plat::ClearScreen(kBlack);
  plat::DisplaySprite(1, 20, 20);
  ExpectScreen(31, 31, frames[3]);
  ExpectScreen(32, 32, kBlack);
  plat::ClipSprite(1, 0, 0, 32, 8);
  plat::ZoomSprite(1, -1, -1);
  plat::DisplaySprite(1, 0, 0);
  ExpectScreen(31, 7, frames[3]);
  EXPECT_EQ(plat::SpriteWidth(1), 32);
  // On a smooth gradient the shrunk copy and the renderer's own bilinear
  // scaling differ only slightly, whatever the zoom was before, also for a
  // clip whose top falls between output rows.
  plat::SetSpriteQuality(1);
  plat::Picture p = Solid(40, 40, kBlack);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 40; ++x)
      SetPixel(p, x, y, {uint8_t(x * 6), uint8_t(y * 6), 100, 255});
  ASSERT_EQ(Load(2, p, plat::kSpriteAlpha), 2);
  for (const auto &[w, h, top] :
       {std::array{20, 20, 0}, {10, 20, 0}, {10, 13, 0}, {10, 13, 1}}) {
    plat::ClipSprite(2, 0, top, 40, 40 - top);
    plat::ZoomSprite(2, w, h);
    plat::Picture shots[2];
    for (bool prescale : {true, false}) {
      plat::SetSpritePrescale(prescale);
      plat::ClearScreen(kBlack);
      plat::DisplaySpriteTransparent(2, 0, 0);
      shots[prescale] = Grab(0, 0, w, h);
    }
    plat::SetSpritePrescale(true);
    for (int y = 1; y < h - 1; ++y)
      for (int x = 1; x < w - 1; ++x)
        EXPECT_TRUE(Near(GetPixel(shots[1], x, y), GetPixel(shots[0], x, y), 8))
            << w << "x" << h << " at " << x << "," << y << ": "
            << Str(GetPixel(shots[1], x, y)) << " vs "
            << Str(GetPixel(shots[0], x, y));
  }
}

// Zooming many sprites at once gives each the shrunk copy zooming it alone
// gives, past the first batch too; a sprite named twice takes the last
// zoom.
TEST_F(SpriteTest, ZoomingManyAtOnceShowsWhatZoomingEachShows) {
  plat::SetSpriteQuality(1);
  constexpr int kCount = 70;
  std::vector<plat::SpriteZoom> zooms;
  for (int i = 0; i < kCount; ++i) {
    plat::Picture p = Solid(24 + i % 5, 20 + i % 3, kBlack);
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x)
        SetPixel(p, x, y,
                 {uint8_t(x * 9 + i), uint8_t(y * 11), uint8_t(i * 3),
                  uint8_t((x + y + i) % 4 ? 255 : 90)});
    ASSERT_EQ(Load(1 + i, p, plat::kSpriteAlpha), 1 + i);
    ASSERT_EQ(Load(101 + i, p, plat::kSpriteAlpha), 101 + i);
    if (i % 7 == 0) {
      plat::ClipSprite(1 + i, 2, 1, 16, 14);
      plat::ClipSprite(101 + i, 2, 1, 16, 14);
    }
    zooms.push_back({1 + i, 10 + i % 4, 9 + i % 5});
    plat::ZoomSprite(101 + i, 10 + i % 4, 9 + i % 5);
  }
  zooms.insert(zooms.begin() + 3, {1 + 5, 4, 4});
  zooms.push_back({1 + 2, 12, 7});
  plat::ZoomSprite(101 + 2, 12, 7);
  plat::ZoomSprites(zooms);
  for (int i = 0; i < kCount; ++i) {
    plat::ClearScreen(kBlack);
    plat::DisplaySpriteTransparent(1 + i, 0, 0, 230);
    const plat::Picture batch = Grab(0, 0, 16, 16);
    plat::ClearScreen(kBlack);
    plat::DisplaySpriteTransparent(101 + i, 0, 0, 230);
    EXPECT_TRUE(batch.pixels == Grab(0, 0, 16, 16).pixels) << "sprite " << i;
  }
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

// The screen after showing the sprite at (7, 5) over a coloured ground.
plat::PixelBytes Shown(int number, bool blended = true) {
  plat::ClearScreen({40, 90, 140, 255});
  if (blended)
    plat::DisplaySpriteTransparent(number, 7, 5, 200);
  else
    plat::DisplaySprite(number, 7, 5);
  return Grab(0, 0, 80, 60).pixels;
}

TEST_F(SpriteTest, TrimmedSpritesDrawTheSamePixels) {
  const plat::Picture p = Banner(60, 40, 9);
  ASSERT_EQ(Load(1, p, plat::kSpriteAlpha), 1);
  ASSERT_EQ(Load(2, p, plat::kSpriteAlpha | plat::kSpriteTrim), 2);
  EXPECT_EQ(V({plat::SpriteWidth(2), plat::SpriteHeight(2)}), V({60, 40}));
  plat::Picture back;
  ASSERT_TRUE(plat::SpritePixels(2, back));
  EXPECT_EQ(back.pixels, p.pixels); // what was trimmed off was transparent
  // Clip x, y, w, h, zoom w, h and the quality: natural size, clipped,
  // shrunk on the frame grid and off it, grown, a fully transparent corner.
  const int views[][7] = {
      {0, 0, 60, 40, -1, -1, 1},   {20, 10, 30, 20, -1, -1, 1},
      {20, 10, 30, 20, 15, 10, 1}, {21, 11, 30, 20, 15, 10, 1},
      {1, 1, 50, 36, 100, 72, 0},  {0, 0, 4, 3, -1, -1, 1}};
  for (const auto &v : views)
    for (bool blended : {true, false}) {
      plat::SetSpriteQuality(v[6]);
      for (int s : {1, 2}) {
        plat::ClipSprite(s, v[0], v[1], v[2], v[3]);
        plat::ZoomSprite(s, v[4], v[5]);
      }
      EXPECT_EQ(Shown(1, blended), Shown(2, blended))
          << "clip " << v[0] << "," << v[1] << " " << v[2] << "x" << v[3]
          << " zoom " << v[4] << "x" << v[5] << (blended ? " blended" : "");
    }
}

TEST_F(SpriteTest, CopiesAndTargetsKeepTheirOwnPixels) {
  ASSERT_EQ(Load(1, Solid(4, 4, {10, 10, 10, 255}), plat::kSpriteAlpha), 1);
  plat::ClipSprite(1, 1, 1, 2, 2);
  ASSERT_EQ(plat::CopySprite(1, 2), 2);
  ASSERT_TRUE(plat::BeginDraw(plat::Target::Sprite, 2));
  plat::Box(0, 0, 4, 4, {250, 0, 0, 255});
  plat::EndDraw();
  EXPECT_TRUE(Near(SpritePixel(1, 0, 0), {10, 10, 10, 255}, 0));
  plat::ClearScreen(kBlack);
  plat::DisplaySprite(2, 0, 0); // the copy keeps the clip
  ExpectScreen(1, 1, {250, 0, 0, 255});
  ExpectScreen(2, 2, kBlack);
  EXPECT_EQ(plat::CopySprite(2, 2), 2); // onto itself
  EXPECT_EQ(plat::CopySprite(55, 3), -1);

  // A target sprite takes the drawing while set, never into itself.
  EXPECT_TRUE(plat::InitSprites());
  ASSERT_EQ(Load(2, Solid(4, 4, {0, 0, 255, 255}), plat::kSpriteAlpha), 2);
  ASSERT_EQ(plat::CreateTargetSprite(1, 40, 30), 1);
  EXPECT_TRUE(Near(SpritePixel(1, 39, 29), {0, 0, 0, 0}, 0));
  EXPECT_FALSE(plat::SetRenderTarget(2)); // not a target
  plat::ClearScreen({0, 128, 0, 255});
  ASSERT_TRUE(plat::SetRenderTarget(1));
  plat::ClearScreen({255, 0, 0, 255});
  plat::DisplaySprite(2, 5, 5);
  plat::DisplaySprite(1, 0, 0);
  ASSERT_TRUE(plat::SetRenderTarget(-1));
  ExpectScreen(6, 6, {0, 128, 0, 255}); // the screen untouched
  // Shown clipped, as a cache of the static part of a picture is.
  plat::ClipSprite(1, 4, 4, 10, 10);
  plat::DisplaySprite(1, 100, 100);
  ExpectScreen(100, 100, {255, 0, 0, 255});
  ExpectScreen(101, 101, {0, 0, 255, 255});
  ExpectScreen(110, 110, {0, 128, 0, 255});
  EXPECT_TRUE(Near(SpritePixel(1, 39, 29), {255, 0, 0, 255}, 0));
  // Freeing the target while set returns drawing to the screen.
  ASSERT_TRUE(plat::SetRenderTarget(1));
  plat::FreeSprite(1);
  plat::ClearScreen({1, 2, 3, 255});
  ExpectScreen(0, 0, {1, 2, 3, 255});
}

// Waits, flipping, for the helper to have the reserve ready.
uint64_t ReadyReserve() {
  for (int i = 0; i < 5000 && plat::WarmReserveBytes() == 0; ++i) {
    plat::Flip();
    plat::Sleep(1);
  }
  return plat::WarmReserveBytes();
}

TEST_F(SpriteTest, ScreenSizedPicturesTakeTheMemoryWarmedForThem) {
  const uint64_t screen = uint64_t(kW) * kH * 4;
  plat::Flip();
  EXPECT_EQ(plat::WarmReserveBytes(), 0u); // none until asked for
  plat::PrepareScreenMemory();
  const uint64_t size = ReadyReserve();
  EXPECT_GE(size, screen);
  EXPECT_LT(size, screen * 2);
  // A small picture leaves it; a screen-sized one takes it.
  ASSERT_EQ(plat::CreateTargetSprite(1, 40, 30), 1);
  EXPECT_EQ(plat::WarmReserveBytes(), size);
  ASSERT_EQ(plat::CreateTargetSprite(2, kW, kH), 2);
  EXPECT_EQ(plat::WarmReserveBytes(), 0u);
  EXPECT_TRUE(Near(SpritePixel(2, kW - 1, kH - 1), {0, 0, 0, 0}, 0));
  // Made again after the next present, for the next such picture.
  EXPECT_EQ(ReadyReserve(), size);
  plat::CloseScreen();
  plat::Flip();
  EXPECT_EQ(plat::WarmReserveBytes(), 0u);
}

TEST_F(SpriteTest, TheHeapIsFaultedInAheadOfItsUse) {
  if (kAddressSanitizer)
    GTEST_SKIP() << "the sanitizer's allocator maps its memory apart";
  // Megabytes taken (and never touched) at about 200 MB a second, slower
  // than the helper faults them in, until the heap has grown by 48 MB past
  // the free memory earlier tests left in it.
  const uint64_t before = plat::HeapBytesFaultedAhead();
  constexpr uint64_t kGrown = uint64_t(48) << 20;
  std::vector<void *> held;
  while (plat::HeapBytesFaultedAhead() - before < kGrown &&
         held.size() < 1024) {
    held.push_back(std::malloc(1 << 20));
    plat::Sleep(5);
  }
  EXPECT_GE(plat::HeapBytesFaultedAhead() - before, kGrown);
  for (void *p : held)
    std::free(p);
}

// The helpers must not outlive a program that ends without Shutdown (a
// fuzz target's exit): that ended it with std::terminate instead.
TEST(WarmMemory, AProgramEndedWithoutShutdownEndsCleanly) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        plat::Init();
        plat::OpenWindow(320, 240, "test", plat::WindowStyle::Windowed);
        plat::OpenScreenInWindow();
        plat::PrepareScreenMemory();
        std::exit(0);
      },
      testing::ExitedWithCode(0), "");
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
  EXPECT_EQ(V({plat::ScreenWidth(), plat::ScreenHeight()}), V({kW, kH}));
  plat::EndDraw(); // that drawing ended with the screen: none reaches here
  EXPECT_EQ(SpritePixel(1, 0, 0).a, 0);
}

TEST_F(SpriteTest, OnDemandSpritesShowTheSamePixelsAndKeepToTheirBudget) {
  const unsigned flags = plat::kSpriteAlpha | plat::kSpriteTrim;
  const plat::Picture a = Banner(40, 30, 1);
  ASSERT_EQ(Load(1, a, flags), 1); // decoded at once: the reference
  for (int n : {2, 3, 4})
    ASSERT_EQ(
        plat::LoadSpriteOnDemand(n, Png(n == 2 ? a : Banner(40, 30, n)), flags),
        n);
  // Its size is known before any decoding.
  EXPECT_FALSE(plat::SpriteResident(2));
  EXPECT_EQ(V({plat::SpriteWidth(2), plat::SpriteHeight(2)}), V({40, 30}));
  EXPECT_EQ(plat::OnDemandResidentBytes(), 0u);
  EXPECT_EQ(Shown(2), Shown(1));
  EXPECT_TRUE(plat::SpriteResident(2));
  // Room for one picture besides the one being made: showing a third drops
  // the one shown least recently.
  const uint64_t one = plat::OnDemandResidentBytes();
  plat::SetOnDemandBudget(one + 40 * 30 * 4);
  Shown(3);
  Shown(2);
  Shown(4);
  EXPECT_EQ(Resident({2, 3, 4}), V({1, 0, 1}));
  plat::SetOnDemandBudget(one);
  Shown(3);
  EXPECT_FALSE(plat::SpriteResident(2));
  EXPECT_LE(plat::OnDemandResidentBytes(), one);
  // Made again, the same, when shown again, here at a shrinking zoom (as
  // banners on a small screen).
  plat::ZoomSprite(1, 20, 15);
  plat::ZoomSprite(2, 20, 15);
  EXPECT_EQ(Shown(2), Shown(1));
  EXPECT_FALSE(plat::SpriteResident(3));
  // Copies and pixel reads make the picture too.
  ASSERT_EQ(plat::CopySprite(3, 5), 5);
  plat::Picture copied, read;
  ASSERT_TRUE(plat::SpritePixels(5, copied));
  ASSERT_TRUE(plat::SpritePixels(3, read));
  EXPECT_EQ(copied.pixels, read.pixels);
  plat::SetOnDemandBudget(uint64_t(128) << 20);
}

TEST_F(SpriteTest, OnDemandSpritesRefuseDamageWhenLoaded) {
  const std::vector<uint8_t> good = Png(Banner(16, 12, 3));
  std::vector<uint8_t> flipped = good, trailing = good;
  flipped[flipped.size() / 2] ^= 1; // inside the picture data
  trailing.push_back(0);
  const std::pair<std::vector<uint8_t>, unsigned> refused[] = {
      {{}, plat::kSpriteAlpha},
      {std::vector<uint8_t>(good.begin(), good.end() - 1), plat::kSpriteAlpha},
      {flipped, plat::kSpriteAlpha},
      {trailing, plat::kSpriteAlpha},
      // Collision masks are needed from the start.
      {good, plat::kSpriteAlpha | plat::kSpriteCollision}};
  for (const auto &[png, flags] : refused) {
    ASSERT_EQ(plat::LoadSpriteOnDemand(5, std::vector<uint8_t>(good), 0), 5);
    EXPECT_EQ(plat::LoadSpriteOnDemand(5, std::vector<uint8_t>(png), flags),
              -1);
    EXPECT_FALSE(plat::SpriteExists(5));
  }

  // Damage made to pass the checks (picture data broken, its checksum
  // fixed): the sprite loads, shows nothing and is not a crash.
  const std::string data = "\x78\x01" + std::string(300, '\x5a');
  const std::string png = testpng::PngWithData(16, 12, data);
  std::vector<uint8_t> crafted(png.begin(), png.end());
  ASSERT_EQ(plat::LoadSpriteOnDemand(6, std::move(crafted), plat::kSpriteAlpha),
            6);
  const plat::Picture before = Grab(0, 0, 30, 30);
  plat::DisplaySprite(6, 0, 0);
  plat::DisplaySprite(6, 0, 0);
  EXPECT_EQ(Grab(0, 0, 30, 30).pixels, before.pixels);
  EXPECT_FALSE(plat::SpriteResident(6));
  EXPECT_FALSE(plat::SpriteOpaque(6));
}

// The frames of a sequence decoded ahead on a worker thread: the same
// pixels, and never more held, decoded ahead or made, than the budget.
TEST_F(SpriteTest, SequencesDecodedAheadKeepToTheBudget) {
  const unsigned flags = plat::kSpriteAlpha | plat::kSpriteTrim;
  std::vector<int> frames;
  for (int i = 0; i < 12; ++i) {
    ASSERT_EQ(plat::LoadSpriteOnDemand(10 + i, Png(Banner(60, 40, i)), flags),
              10 + i);
    ASSERT_EQ(Load(30 + i, Banner(60, 40, i), flags), 30 + i); // references
    frames.push_back(10 + i);
  }
  const uint64_t budget = 4 * 60 * 40 * 4; // four frames' pictures
  plat::SetOnDemandBudget(budget);
  plat::PrefetchSequences({frames});
  EXPECT_GT(plat::OnDemandResidentBytes(), 0u); // asked for ahead
  EXPECT_LE(plat::OnDemandResidentBytes(), budget);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(Shown(10 + i), Shown(30 + i)) << i;
    EXPECT_LE(plat::OnDemandResidentBytes(), budget) << i;
  }
  EXPECT_TRUE(plat::SpriteResident(21));
  // Another sequence: the frames asked for and not shown give their room
  // back once decoded.
  plat::PrefetchSequences({{10, 11, 12, 13, 14, 15}});
  Shown(10);
  plat::PrefetchSequences({});
  Shown(11);
  EXPECT_LE(plat::OnDemandResidentBytes(), budget);
  plat::SetOnDemandBudget(uint64_t(128) << 20);
}

// A dialog's dimmed backdrop is composed once and copied, composed again
// only where it changed, and shows every pass what drawing it all shows;
// a kept display whose sprite changes before the veil shows its old
// pixels, as it would have.
TEST_F(SpriteTest, BackdropsShowWhatDrawingThemShows) {
  plat::Picture level = Solid(kW, kH, {0, 0, 0, 255});
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      SetPixel(level, x, y, {uint8_t(x), uint8_t(y), uint8_t(x ^ y), 255});
  const unsigned flags = plat::kSpriteAlpha;
  ASSERT_EQ(Load(1, level, flags), 1);
  ASSERT_EQ(Load(3, Solid(1, 1, {0, 0, 0, 128}), flags), 3); // the veil
  plat::ZoomSprite(3, kW, kH);
  ASSERT_EQ(Load(4, Solid(50, 40, {200, 190, 10, 255}), flags), 4);
  struct Pass {
    int x, y, intensity, veil;
    bool monster, replaced;
    uint64_t composed; // pixels composed again (-1: some, not all)
  };
  const uint64_t all = uint64_t(kW) * kH, some = ~uint64_t(0);
  const Pass passes[] = {
      {10, 10, 200, 128, true, false, all},
      {10, 10, 200, 128, true, false, 0},
      {60, 40, 200, 128, true, false, some},
      {60, 40, 90, 128, true, false, some},
      {60, 40, 90, 60, true, false, all},
      {60, 40, 90, 60, false, false, all},
      {60, 40, 90, 60, false, false, 0},
      {60, 40, 90, 60, true, true, all},
  };
  const unsigned trimmed = flags | plat::kSpriteTrim;
  ASSERT_EQ(Load(2, Banner(40, 30, 1), trimmed), 2);
  for (const Pass &p : passes) {
    plat::Picture frames[2];
    uint64_t composed = 0;
    for (int shortcuts = 0; shortcuts < 2; ++shortcuts) {
      plat::SetDrawingShortcuts(shortcuts == 1);
      if (p.replaced) {
        ASSERT_EQ(Load(2, Banner(40, 30, 1), trimmed), 2);
      }
      plat::BeginBackdrop();
      plat::DisplaySprite(1, 0, 0);
      if (p.monster)
        plat::DisplaySpriteTransparent(2, p.x, p.y, p.intensity);
      if (p.replaced) { // drawn into before the veil: shown as it was
        ASSERT_EQ(Load(2, Banner(40, 30, 9), flags), 2);
      }
      plat::EndBackdrop(3, p.veil);
      plat::DisplaySprite(4, 100, 100);
      frames[shortcuts] = Grab(0, 0, kW, kH);
      composed = plat::BackdropPixelsComposed();
    }
    EXPECT_EQ(frames[0].pixels, frames[1].pixels) << p.x << " " << p.veil;
    if (p.composed == some) {
      EXPECT_TRUE(composed > 0 && composed < all) << composed;
    } else {
      EXPECT_EQ(composed, p.composed) << p.x << " " << p.veil;
    }
  }
  plat::SetDrawingShortcuts(true);
}

// A large picture fading in is blended on the CPU where that is quicker:
// the same pixels as the renderer's own blend, faint to almost full, on
// and partly off the screen, trimmed; zoomed, the renderer blends it.
TEST_F(SpriteTest, FadesBlendTheSamePixelsAsTheRenderer) {
  plat::Picture ground = Solid(kW, kH, kBlack), title = Solid(kW, kH, {});
  uint32_t seed = 1;
  auto next = [&seed] {
    seed = seed * 1103515245u + 12345u;
    return uint8_t(seed >> 23);
  };
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      SetPixel(ground, x, y, {next(), next(), next(), 255});
      // Opaque rows, as the title's, rows of every alpha, a clear border.
      const uint8_t a = x < 2 || y < 2 ? 0 : y % 3 ? 255 : next();
      SetPixel(title, x, y, {next(), next(), next(), a});
    }
  ASSERT_EQ(Load(1, ground, plat::kSpriteAlpha), 1);
  ASSERT_EQ(Load(2, title, plat::kSpriteAlpha | plat::kSpriteTrim), 2);
  // x, y, intensity, zoom w, h
  const int shows[][5] = {{0, 0, 8, -1, -1},
                          {-8, -6, 100, -1, -1},
                          {10, 7, 254, -1, -1},
                          {3, -5, 129, 400, 300}};
  for (const auto &v : shows) {
    plat::ZoomSprite(2, v[3], v[4]);
    plat::PixelBytes shots[2];
    for (int shortcuts : {0, 1}) {
      plat::SetDrawingShortcuts(shortcuts == 1);
      plat::DisplaySprite(1, 0, 0);
      plat::DisplaySpriteTransparent(2, v[0], v[1], v[2]);
      shots[shortcuts] = Grab(0, 0, kW, kH).pixels;
    }
    EXPECT_TRUE(shots[0] == shots[1]) << v[0] << "," << v[1] << " at " << v[2];
  }
  plat::SetDrawingShortcuts(true);
}

// A picture shown smoothly zoomed frame after frame (a banner's frame held)
// is scaled once and kept: the same pixels as the renderer scaling it every
// time, grown and shrunk, blended, faded and copied, on the screen and
// partly off each edge, trimmed and clipped, two at once and a third
// beside them, which is scaled as it comes.
TEST_F(SpriteTest, KeptZoomedCopiesShowTheSamePixels) {
  plat::SetSpriteQuality(1);
  plat::SetSpritePrescale(false); // shrinks go through the renderer too
  plat::Picture ground = Solid(kW, kH, kBlack);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x)
      SetPixel(ground, x, y,
               {uint8_t(x * 3 + y), uint8_t(x ^ y), uint8_t(y * 5), 255});
  const unsigned trimmed = plat::kSpriteAlpha | plat::kSpriteTrim;
  ASSERT_EQ(Load(1, ground, plat::kSpriteAlpha), 1);
  ASSERT_EQ(Load(2, Banner(120, 40, 3), trimmed), 2);
  ASSERT_EQ(Load(3, Banner(44, 30, 8), trimmed), 3);
  ASSERT_EQ(Load(4, Banner(20, 16, 5), plat::kSpriteAlpha), 4);
  plat::ZoomSprite(3, 180, 120); // a larger copy than most of sprite 2
  plat::ZoomSprite(4, 37, 29);
  // Sprite 2: its clip's left, zoom w, h, x, y, intensity (0: copied).
  const int shows[][6] = {
      {0, 150, 100, 10, 8, 255},   {60, 150, 100, 10, 8, 255},
      {0, 131, 87, -20, 30, 120},  {60, 90, 61, 250, 200, 255},
      {0, 31, 19, 5, 5, 0},        {60, 97, 33, 300, -9, 77},
      {0, 400, 290, -40, -20, 200}};
  auto frame = [](const int *v) {
    plat::DisplaySprite(1, 0, 0);
    if (v[5] == 0)
      plat::DisplaySprite(2, v[3], v[4]);
    else
      plat::DisplaySpriteTransparent(2, v[3], v[4], v[5]);
    plat::DisplaySpriteTransparent(3, 130, 20, 255);
    plat::DisplaySpriteTransparent(4, 100, 150, 180);
    return Grab(0, 0, kW, kH).pixels;
  };
  auto show = [](const int *v) {
    plat::ClipSprite(2, v[0], 0, 60, 40);
    plat::ZoomSprite(2, v[1], v[2]);
  };
  std::vector<plat::PixelBytes> scaledEachTime;
  plat::SetDrawingShortcuts(false);
  for (const auto &v : shows) {
    show(v);
    scaledEachTime.push_back(frame(v));
  }
  plat::SetDrawingShortcuts(true);
  for (size_t i = 0; i < std::size(shows); ++i) {
    const int *v = shows[i];
    show(v);
    for (int held = 0; held < 3; ++held) {
      const uint64_t before = plat::ZoomedCopiesScaled();
      EXPECT_TRUE(frame(v) == scaledEachTime[i])
          << v[0] << " " << v[1] << "x" << v[2] << " frame " << held;
      // Sprite 3 keeps its copy while sprite 2 changes beside it.
      const uint64_t scaled = held > 0 ? 0 : i == 0 ? 2 : 1;
      EXPECT_EQ(plat::ZoomedCopiesScaled() - before, scaled)
          << v[1] << "x" << v[2] << " frame " << held;
      plat::Flip();
    }
  }
  plat::SetSpritePrescale(true);
}

// The veil dimming the screen behind a dialog is blended on the CPU where
// that is quicker: the same pixels as the renderer's own fill, every byte
// value under veils of several colours and strengths, over the whole
// screen and partly off it, on the screen and in the composed backdrop.
TEST_F(SpriteTest, VeilsDimTheSamePixelsAsTheRenderer) {
  plat::Picture ground = Solid(kW, kH, kBlack);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) // every value in every channel
      SetPixel(ground, x, y,
               {uint8_t(x + y), uint8_t(x * 7 + y), uint8_t(255 - x - y), 255});
  ASSERT_EQ(Load(1, ground, plat::kSpriteAlpha), 1);
  ASSERT_EQ(Load(4, Solid(50, 40, {200, 190, 10, 255}), plat::kSpriteAlpha), 4);
  const plat::Colour veils[] = {{0, 0, 0, 128},
                                {30, 200, 90, 77},
                                {255, 255, 255, 254},
                                {9, 8, 7, 1},
                                {10, 20, 30, 255}};
  // x, y, intensity
  const int shows[][3] = {{0, 0, 255}, {-30, 20, 200}, {5, -7, 129}};
  for (const plat::Colour &veil : veils)
    for (const auto &v : shows)
      for (bool backdrop : {false, true}) {
        ASSERT_EQ(Load(3, Solid(1, 1, veil), plat::kSpriteAlpha), 3);
        plat::ZoomSprite(3, kW, kH);
        plat::PixelBytes shots[2];
        for (int shortcuts : {0, 1}) {
          plat::SetDrawingShortcuts(shortcuts == 1);
          if (backdrop)
            plat::BeginBackdrop();
          plat::DisplaySprite(1, 0, 0);
          if (backdrop) {
            plat::EndBackdrop(3, v[2]);
            plat::DisplaySprite(4, 100, 100);
          } else {
            plat::DisplaySpriteTransparent(3, v[0], v[1], v[2]);
          }
          shots[shortcuts] = Grab(0, 0, kW, kH).pixels;
        }
        EXPECT_TRUE(shots[0] == shots[1])
            << int(veil.r) << "," << int(veil.a) << " at " << v[2]
            << (backdrop ? " in the backdrop" : " on the screen");
      }
  plat::SetDrawingShortcuts(true);
}

} // namespace
