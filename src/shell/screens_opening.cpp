// screens_opening.cpp — the studio logo and the title fading in over it.
// Esc skips ahead; nothing moves and no music of their own plays.
#include "assets/numbers.h"
#include "platform/sprites.h"
#include "shell/game.h"
#include "shell/screen_parts.h"
#include "shell/screens.h"

namespace {

void DrawStudioLogo(Game &) { plat::DisplaySprite(num::kStudioLogo, 0, 0); }

void DrawTitle(Game &game) {
  plat::DisplaySprite(num::kStudioLogo, 0, 0);
  if (game.loop.fade < 256)
    plat::DisplaySpriteTransparent(num::kTitle, 0, 0, game.loop.fade);
  else
    plat::DisplaySprite(num::kTitle, 0, 0);
  // The title fades out over the menu.
  PrepareMenuScene(game);
}

void StudioLogoLogic(Game &game) {
  Loop &loop = game.loop;
  if (++loop.frameCounter > 100) {
    loop.fade = 0;
    loop.frameCounter = 0;
    loop.state = ScreenState::TitleFadeIn;
  }
}

void TitleLogic(Game &game) {
  Loop &loop = game.loop;
  if (loop.fade != 256) {
    loop.fade += 8;
  } else if (++loop.frameCounter > 100) {
    loop.state = ScreenState::MainMenu;
    loop.frameCounter = 0;
  }
}

void SkipStudioLogo(Game &game) {
  game.loop.state = ScreenState::TitleFadeIn;
  game.loop.frameCounter = 0;
}

// The title then fades out over the menu from where it had come.
void SkipTitle(Game &game) {
  game.loop.state = ScreenState::MainMenu;
  game.loop.frameCounter = 0;
}

} // namespace

extern const Screen kStudioLogoScreen = {
    .group = ScreenGroup::Opening,
    .draw = DrawStudioLogo,
    .logic = StudioLogoLogic,
    .back = SkipStudioLogo,
};

extern const Screen kTitleScreen = {
    .group = ScreenGroup::Opening,
    .draw = DrawTitle,
    .logic = TitleLogic,
    .back = SkipTitle,
};
