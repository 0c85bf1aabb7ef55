// game.h — the whole game's state in one struct: every subsystem's state,
// owned for the whole run and handed to the code that works on it.
#pragma once

#include <string>

#include "assets/catalogue.h"
#include "assets/sound.h"
#include "game/stage.h"
#include "maps/catalogue.h"
#include "maps/draw.h"
#include "platform/input_frame.h"
#include "platform/run_log.h"
#include "progress/scores.h"
#include "settings/display.h"
#include "settings/languages.h"
#include "settings/preferences.h"
#include "shell/loop_state.h"
#include "shell/paths.h"
#include "shell/replay.h"
#include "ui/dialogs.h"

struct Game {
  Paths paths;
  RunLog log;
  Settings settings;
  Settings settingsSynced; // as last read from or written to the file
  Languages lang;
  Display display;
  Assets assets;
  MapCatalogue maps;
  MapView mapView;
  Progress progress;
  Play play;
  SoundSink sound;
  InputFrame input; // this pass's input
  Loop loop;
  DialogLayout dialogs;
  Replay replay;
  bool prefsFromGameDir = false;
};

// The parts gameplay works on.
inline Stage StageOf(Game &game) {
  return Stage{game.play,   game.maps,     game.mapView, game.display,
               game.assets, game.settings, game.lang,    game.sound};
}
// What the card renderers read.
inline CardSources CardSourcesOf(const Game &game) {
  return CardSources{game.lang, game.display, game.dialogs, game.progress,
                     game.play};
}
// Plays an effect when sound effects are on.
inline void Effect(Game &game, int sound, int volume = -1) {
  if (EffectsOn(game.settings))
    PlayEffect(game.sound, sound, volume);
}

// A fatal error travels up to main as this exception, after its message
// box, so that the program ends through the normal shutdown.
struct FatalExit {
  std::string message;
};

// Shows the box titled "Warrenfold::" + the error text and ends the game
// without saving. Never returns.
[[noreturn]] void ShowFatalError(Game &game, const std::string &message);
// An asset could not be loaded: closes the screen and ends the game with
// the asset error. Never returns.
[[noreturn]] void FailOnAsset(Game &game);
// An asset could not be loaded: closes the screen and ends the game with
// the asset error. Never returns.
[[noreturn]] void FailOnAsset(Game &game);
