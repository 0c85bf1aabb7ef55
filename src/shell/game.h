// game.h — the whole game's state in one struct: every subsystem's state,
// owned for the whole run and handed to the code that works on it.
#pragma once

#include <string>

#include "assets/catalogue.h"
#include "game/state.h"
#include "maps/catalogue.h"
#include "maps/draw.h"
#include "progress/scores.h"
#include "settings/display.h"
#include "settings/languages.h"
#include "settings/preferences.h"
#include "shell/log.h"
#include "shell/loop_state.h"
#include "shell/paths.h"
#include "shell/replay.h"
#include "ui/dialogs.h"

struct Game {
  Paths paths;
  RunLog log;
  Settings settings;
  Languages lang;
  Display display;
  Assets assets;
  MapCatalogue maps;
  MapView mapView;
  Progress progress;
  Play play;
  Loop loop;
  DialogLayout dialogs;
  Replay replay;
  bool prefsFromGameDir = false;
};

// A fatal error travels up to main as this exception, after its message
// box, so that the program ends through the normal shutdown.
struct FatalExit {
  std::string message;
};

// Shows the box titled "Warrenfold::" + the error text and ends the game
// without saving. Never returns.
[[noreturn]] void ShowFatalError(Game &game, const std::string &message);
