// screenshot.cpp — F1: the current frame as a bitmap in the save folder.
#include "platform/screenshot.h"
#include "platform/clock.h"
#include "shell/actions.h"
#include "shell/game.h"

void TakeScreenshot(Game &game) {
  // One sprite number serves every shot; it is overwritten each time.
  constexpr int kShotSprite = 99;
  if (!plat::GrabSprite(kShotSprite, 0, 0, game.display.screenWidth,
                        game.display.screenHeight)) {
    WriteLogValue(game.log, "Saving screenshot:", "FAILED");
    return;
  }
  // The time is read once, after the grab: the moment the shot was made.
  const std::string name =
      "Warrenfold " +
      plat::FormatDate(plat::Now(), "%dd-%mm-%yyyy %hh-%ii-%ss") + ".bmp";
  const bool ok = plat::SaveSpriteBmp(kShotSprite, game.paths.saveTo + name);
  WriteLogValue(game.log, "Saving screenshot:", ok ? "OK" : "FAILED");
}
