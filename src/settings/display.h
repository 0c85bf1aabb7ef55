// display.h — screen modes and sizes, the aspect class, every size and
// position derived from the screen, and opening the screen.
#pragma once

#include <string>
#include <vector>

struct RunLog;

struct ScreenGeometry {
  int tileSize = 0;
  int panelHeight = 0;
  int playOriginX = 0, playOriginY = 0;
  int menuOriginX = 0, menuOriginY = 0;
  int panelTextSize = 0;
  // Panel row of the in-game band.
  int panelRowTop = 0;
  int levelPictureX = 0, counterPictureX = 0, cherryBarX = 0, cherryCountX = 0;
  // Dialog card sizes.
  int levelSelectWidth = 0, settingsWidth = 0, creditsWidth = 0,
      creditsHeight = 0, helpWidth = 0, helpHeight = 0, quitWidth = 0;
  double playerStep = 0.0; // pixels per frame: a tile in 16 frames
};

struct Display {
  int screenWidth = 0;
  int screenHeight = 0;
  int aspectRatio = 0; // class 0..7
  ScreenGeometry geometry;
  std::vector<std::string> resolutions; // "1024x576" ... "3840x2160"
};

inline const char *kWindowTitle =
    "Warrenfold 1.0.0.3 - Corvantis (duskmoth.example)";

// The ten window sizes, in their fixed order.
std::vector<std::string> ResolutionList();
// Splits "WxH"; false when the text is not of that form.
bool ResolutionSize(const std::string &entry, int &w, int &h);
// 0 3:2, 1 4:3, 2 5:4, 3 16:9, 4 16:10, 5 17:9, 6 21:9, 7 any other, from
// the ratio written with two decimals.
int ClassifyAspectRatio(int width, int height);
// "3:2" ... "17:9"; "" for the classes without a name.
std::string AspectName(int aspectClass);
ScreenGeometry ComputeScreenGeometry(int width, int height, int aspectClass);
// Window mode takes its size from the list, the full-size modes from
// desktop 0.
void ChooseScreenSize(Display &display, int gameScreen, int resolution);
// Opens the screen for the mode and writes the "Opening screen" lines.
// Any mode but 0, 1 and 2 opens nothing and logs nothing.
bool OpenGameScreen(Display &display, int gameScreen, RunLog &log);
// Log name of a screen mode, "" for unknown ones.
std::string ScreenModeName(int gameScreen);
