// display.cpp — screen sizes, aspect classes, geometry and screen opening.
#include "settings/display.h"

#include <cstdio>
#include <cstdlib>

#include "platform/display.h"
#include "platform/run_log.h"

std::vector<std::string> ResolutionList() {
  return {"1024x576",  "1280x720",  "1366x768",  "1600x900",  "1920x1080",
          "2048x1152", "2560x1440", "2880x1620", "3200x1800", "3840x2160"};
}

bool ResolutionSize(const std::string &entry, int &w, int &h) {
  size_t x = entry.find('x');
  if (x == std::string::npos)
    return false;
  w = std::atoi(entry.substr(0, x).c_str());
  h = std::atoi(entry.substr(x + 1).c_str());
  return w > 0 && h > 0;
}

Aspect ClassifyAspectRatio(int width, int height) {
  if (height <= 0)
    return Aspect::Other;
  char text[32];
  std::snprintf(text, sizeof text, "%.2f",
                static_cast<double>(width) / static_cast<double>(height));
  const std::string r = text;
  if (r == "1.50")
    return Aspect::R3x2;
  if (r == "1.33")
    return Aspect::R4x3;
  if (r == "1.25")
    return Aspect::R5x4;
  if (r == "1.77" || r == "1.78")
    return Aspect::R16x9;
  if (r == "1.60")
    return Aspect::R16x10;
  if (r == "1.89" || r == "1.90")
    return Aspect::R17x9;
  if (r == "2.37" || r == "2.38" || r == "2.39")
    return Aspect::R21x9;
  return Aspect::Other;
}

std::string AspectName(Aspect aspectClass) {
  static const char *names[] = {"3:2", "4:3", "5:4", "16:9", "16:10", "17:9"};
  const int n = AspectNumber(aspectClass);
  return n >= 0 && n <= 5 ? names[n] : "";
}

namespace {

struct CardRow {
  int select, settings, creditsW, creditsH, helpW, helpH, quit;
};

// Percentages of the screen width (W) and height (H) per case.
CardRow CardsFor(int width, Aspect aspectClass) {
  const CardRow wide = {45, 55, 55, 60, 55, 60, 55};
  if (width == 1920 || width == 3840)
    return wide;
  switch (aspectClass) {
  case Aspect::R3x2:
    return {55, 65, 60, 60, 60, 60, 60};
  case Aspect::R4x3:
    return {55, 60, 60, 50, 60, 50, 60};
  case Aspect::R5x4:
    return {55, 65, 60, 50, 60, 50, 60};
  case Aspect::R16x10:
    return {55, 65, 55, 60, 55, 60, 55};
  default: // 16:9, 17:9, and the classes without a row of their own
    return wide;
  }
}

} // namespace

ScreenGeometry ComputeScreenGeometry(int width, int height,
                                     Aspect aspectClass) {
  ScreenGeometry g;
  if (width == 1920) {
    g.tileSize = 48;
    g.panelHeight = 72;
    g.playOriginX = -72;
    g.playOriginY = -24;
    g.panelTextSize = 44;
    g.playerStep = 3.0;
  } else if (width == 3840) {
    g.tileSize = 96;
    g.panelHeight = 144;
    g.playOriginX = -144;
    g.playOriginY = -48;
    g.panelTextSize = 88;
    g.playerStep = 6.0;
  } else {
    // Every class uses the general rows; 21:9 screens take those of class 7.
    g.tileSize = width / 40;
    g.panelHeight = g.tileSize + g.tileSize / 2;
    g.playOriginX = (width - 43 * g.tileSize) / 2;
    g.playOriginY =
        (height - g.panelHeight) / 2 - (25 * g.tileSize) / 2 + g.panelHeight;
    g.panelTextSize = g.tileSize - 4;
    g.playerStep = g.tileSize / 16.0;
  }
  const CardRow c = CardsFor(width, aspectClass);
  const int w1 = width / 100, h1 = height / 100;
  g.levelSelectWidth = w1 * c.select;
  g.settingsWidth = w1 * c.settings;
  g.creditsWidth = w1 * c.creditsW;
  g.creditsHeight = h1 * c.creditsH;
  g.helpWidth = w1 * c.helpW;
  g.helpHeight = h1 * c.helpH;
  g.quitWidth = w1 * c.quit;

  const int t = g.tileSize;
  g.panelRowTop = t / 4;
  g.levelPictureX = 2 * t;
  g.counterPictureX = width / 2 - (8 * t) / 2;
  g.cherryBarX = width - 3 * t;
  g.cherryCountX = width - 2 * t;
  g.menuOriginX = width / 2 - (43 * t) / 2;
  g.menuOriginY = height / 2 - (35 * t) / 2;
  return g;
}

Display DisplayForSize(int width, int height) {
  Display d;
  d.screenWidth = width;
  d.screenHeight = height;
  d.aspectRatio = ClassifyAspectRatio(width, height);
  d.geometry = ComputeScreenGeometry(width, height, d.aspectRatio);
  d.resolutions = ResolutionList();
  return d;
}

void ChooseScreenSize(Display &display, ScreenMode gameScreen, int resolution) {
  if (gameScreen == ScreenMode::Window) {
    const auto list = ResolutionList();
    if (resolution < 0 || resolution >= static_cast<int>(list.size()))
      resolution = 1;
    ResolutionSize(list[resolution], display.screenWidth, display.screenHeight);
  } else {
    plat::DesktopSize(display.screenWidth, display.screenHeight);
  }
}

std::string ScreenModeName(ScreenMode gameScreen) {
  switch (gameScreen) {
  case ScreenMode::FullScreen:
    return "Fullscreen";
  case ScreenMode::Window:
    return "Windowed";
  case ScreenMode::Borderless:
    return "Borderless";
  default:
    return "";
  }
}

bool OpenGameScreen(Display &display, ScreenMode gameScreen, RunLog &log) {
  const int w = display.screenWidth, h = display.screenHeight;
  bool ok = false;
  switch (gameScreen) {
  case ScreenMode::FullScreen:
    ok = plat::OpenFullScreen(w, h, kWindowTitle);
    break;
  case ScreenMode::Window:
    ok = plat::OpenWindow(w, h, kWindowTitle, plat::WindowStyle::Windowed) &&
         plat::OpenScreenInWindow();
    break;
  case ScreenMode::Borderless:
    ok = plat::OpenWindow(w, h, kWindowTitle, plat::WindowStyle::Borderless) &&
         plat::OpenScreenInWindow();
    if (ok)
      plat::ShowCursor(false);
    break;
  default:
    return false;
  }
  WriteLogValue(log, "Opening screen (" + ScreenModeName(gameScreen) + "):",
                ok ? "OK" : "FAILED");
  if (ok) {
    WriteLogValue(log, "Screenwidth:", std::to_string(w));
    WriteLogValue(log, "Screenheight:", std::to_string(h));
  }
  return ok;
}
