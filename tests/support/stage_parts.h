// stage_parts.h — the parts gameplay works on, owned by a test: no screen,
// no sounds (the sink records), no archive.
#pragma once

#include "game/levels.h"
#include "game/stage.h"

struct StageParts {
  Play play;
  MapCatalogue maps;
  MapView view;
  Display display;
  Assets assets;
  Settings settings;
  Languages lang;
  SoundSink sound;
  Stage stage{play, maps, view, display, assets, settings, lang, sound};

  explicit StageParts(int width = 1920, int height = 1080) {
    play.levels = BuiltInLevels();
    display = DisplayForSize(width, height);
    play.player.speed = display.geometry.playerStep;
    play.player.offset = display.geometry.playerStep;
    sound.recording = true;
    // Without sprites, two actors touch when their tile squares overlap.
    stage.collide = [](int, int ax, int ay, int, int bx, int by) {
      return ax < bx + kTouch && bx < ax + kTouch && ay < by + kTouch &&
             by < ay + kTouch;
    };
  }
  static constexpr int kTouch = 48; // the squares' edge at 1920 x 1080
};
