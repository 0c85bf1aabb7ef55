// shell_frames_test.cpp — whole passes of the loop drawn in this process
// and read back: a dialog over a level veils the whole level and shows its
// card where its layout puts it.
#include <gtest/gtest.h>

#include <algorithm>

#include "assets/numbers.h"
#include "platform/screenshot.h"
#include "platform/test_hooks.h"
#include "support/game_fixture.h"

namespace {

using plat::Key;
using Frames = UnpacedGame;

constexpr int kGrab = 990;

plat::Picture Grab(int x, int y, int w, int h) {
  plat::Picture p;
  EXPECT_TRUE(plat::GrabSprite(kGrab, x, y, w, h));
  EXPECT_TRUE(plat::SpritePixels(kGrab, p));
  return p;
}

const uint8_t *At(const plat::Picture &p, int x, int y) {
  return &p.pixels[(size_t(y) * p.width + x) * 4];
}

// The studio logo and the title show no card: there a pass renders one
// stale card, the settings card first; a screen that shows cards renders
// every stale one before it draws.
TEST_F(Frames, TheOpeningRendersOneCardAPass) {
  ASSERT_TRUE(Start(1, 0));
  ASSERT_EQ(game->loop.state, ScreenState::StudioLogo);
  const unsigned all = game->loop.staleCards;
  ASSERT_EQ(all, unsigned(kCardSettings | kCardMainMenu | kCardCredits |
                          kCardHelp | kCardLevelSelect | kCardQuit));
  DrawState(*game);
  EXPECT_EQ(game->loop.staleCards, all & ~unsigned(kCardSettings));
  game->loop.state = ScreenState::TitleFadeIn;
  DrawState(*game);
  EXPECT_EQ(game->loop.staleCards,
            all & ~unsigned(kCardSettings | kCardMainMenu));
  game->loop.state = ScreenState::MainMenu;
  DrawState(*game);
  EXPECT_EQ(game->loop.staleCards, 0u);
}

// The title draws the menu maze into its cache a part a pass, so that the
// menu, which first shows under the title fading out, finds it whole.
TEST_F(Frames, TheTitlePreparesTheMenuMaze) {
  ASSERT_TRUE(Start(1, 0));
  game->loop.state = ScreenState::TitleFadeIn;
  DrawState(*game);
  EXPECT_FALSE(game->mapView.cacheValid); // a part only
  EXPECT_TRUE(game->mapView.cacheStarted);
  for (int pass = 0; pass < 30 && !game->mapView.cacheValid; ++pass)
    DrawState(*game);
  EXPECT_TRUE(game->mapView.cacheValid);
  EXPECT_EQ(game->mapView.cacheMap, "M0");
}

TEST_F(Frames, TheQuitQuestionOverALevel) {
  ASSERT_TRUE(Start(1, 0));
  const int w = game->display.screenWidth, h = game->display.screenHeight;
  auto press = [&](Key k) {
    plat::InjectKey(k, true);
    RunFrame(*game);
    plat::InjectKey(k, false);
    RunFrame(*game);
  };
  game->loop.state = ScreenState::LevelSelect;
  press(Key::Return);
  for (int i = 0; i < 150 && game->loop.state != ScreenState::Playing; ++i)
    RunFrame(*game);
  ASSERT_EQ(game->loop.state, ScreenState::Playing);
  RunFrame(*game); // a pass draws the state it began in
  const plat::Picture level = Grab(0, 0, w, h);
  press(Key::Esc);
  press(Key::Down);
  press(Key::Return);
  ASSERT_EQ(game->loop.state, ScreenState::QuitQuestionInGame);
  RunFrame(*game);
  const plat::Picture shown = Grab(0, 0, w, h);

  // Outside the card the veil halves every pixel, to the screen's edges:
  // nothing stays brighter than half of full.
  const CardPlace &at = game->dialogs.quitCentred;
  int bright = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      bright += *std::max_element(At(level, x, y), At(level, x, y) + 3) > 160;
      const bool onCard =
          x >= at.x && x < at.x + at.w && y >= at.y && y < at.y + at.h;
      if (!onCard) {
        ASSERT_LE(*std::max_element(At(shown, x, y), At(shown, x, y) + 3), 130)
            << x << "," << y;
      }
    }
  EXPECT_GT(bright, w); // there was something to veil
  // The card, opaque, where the layout puts it, pixel for pixel.
  plat::Picture card;
  ASSERT_TRUE(plat::SpritePixels(num::kQuitCard, card));
  ASSERT_EQ(card.width, at.w);
  int compared = 0;
  for (int y = 0; y < card.height; ++y)
    for (int x = 0; x < card.width; ++x)
      if (At(card, x, y)[3] == 255) {
        ASSERT_TRUE(std::equal(At(card, x, y), At(card, x, y) + 3,
                               At(shown, at.x + x, at.y + y)))
            << x << "," << y;
        ++compared;
      }
  EXPECT_GT(compared, card.width * card.height / 2);
}

} // namespace
