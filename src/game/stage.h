// stage.h — the parts of the game's state that gameplay works on, handed
// down by the shell: the play itself, the mazes, the screen's sizes, the
// banner frames, the settings it reads and the sound service.
#pragma once

#include "assets/catalogue.h"
#include "assets/sound.h"
#include "game/state.h"
#include "maps/catalogue.h"
#include "maps/draw.h"
#include "settings/display.h"
#include "settings/languages.h"
#include "settings/preferences.h"

// Whether two sprites' drawn pixels touch; the platform's pixel test in the
// game, a stand-in in tests that have no sprites.
using CollisionTest = bool (*)(int a, int ax, int ay, int b, int bx, int by);

struct Stage {
  Play &play;
  MapCatalogue &maps;
  MapView &mapView;
  const Display &display;
  const Assets &assets;
  const Settings &settings;
  const Languages &lang;
  SoundSink &sound;
  CollisionTest collide = nullptr; // nullptr: the platform's
};

// What a frame of gameplay ended with; the loop turns it into a screen
// state.
enum class Outcome {
  None,
  CountdownOver, // play begins
  Caught,        // the caught sequence has ended: the caught dialog
  LevelCleared,  // the last pickup was taken: the level is won
  LevelWon,      // the victory sequence has ended: the level-complete dialog
};
