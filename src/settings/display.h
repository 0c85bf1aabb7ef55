// display.h — screen modes and sizes, the aspect class, every size and
// position derived from the screen, and opening the screen.
#pragma once

#include <string>
#include <vector>

#include "settings/preferences.h"

struct RunLog;

// The aspect class of a screen size, from its ratio written with two
// decimals.
enum class Aspect : int {
  R3x2 = 0,
  R4x3 = 1,
  R5x4 = 2,
  R16x9 = 3,
  R16x10 = 4,
  R17x9 = 5,
  R21x9 = 6,
  Other = 7,
};
// The class's number as the run log writes it.
inline int AspectNumber(Aspect a) { return static_cast<int>(a); }

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
  Aspect aspectRatio = Aspect::R3x2;
  ScreenGeometry geometry;
  std::vector<std::string> resolutions; // "1024x576" ... "3840x2160"
};

inline const char *kWindowTitle =
    "Warrenfold 1.0.0.3 - Corvantis (duskmoth.example)";

// The ten window sizes, in their fixed order.
std::vector<std::string> ResolutionList();
// Splits "WxH"; false when the text is not of that form.
bool ResolutionSize(const std::string &entry, int &w, int &h);
Aspect ClassifyAspectRatio(int width, int height);
// "3:2" ... "17:9"; "" for the classes without a name.
std::string AspectName(Aspect aspectClass);
ScreenGeometry ComputeScreenGeometry(int width, int height, Aspect aspectClass);
// The display of a screen of that size: its aspect class, geometry and the
// resolution list.
Display DisplayForSize(int width, int height);
// Window mode takes its size from the list, the full-size modes from
// desktop 0.
void ChooseScreenSize(Display &display, ScreenMode gameScreen, int resolution);
// Opens the screen for the mode and writes the "Opening screen" lines.
// Any other number opens nothing and logs nothing.
bool OpenGameScreen(Display &display, ScreenMode gameScreen, RunLog &log);
// Log name of a screen mode, "" for unknown ones.
std::string ScreenModeName(ScreenMode gameScreen);
