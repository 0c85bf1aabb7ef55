// preferences.h — the eight settings kept between runs in
// "Warrenfold.prefs", read once at start and written at an orderly exit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Settings {
  std::string language; // file name of the language, such as "en_GB"
  int32_t music = 1;
  int32_t gameScreen = 2; // 0 full screen, 1 window, 2 borderless
  int32_t resolution = 1; // index into the resolution list (window mode)
  int32_t gamepad = 0;
  int32_t pad = 0;    // 0 left stick, 1 right stick, 2 direction pad
  int32_t button = 1; // confirm button, from 1
  int32_t soundFx = 1;
};

inline const char *kPreferencesFile = "Warrenfold.prefs";

// Reads folder + "Warrenfold.prefs". False when it cannot be opened, with
// the settings untouched; otherwise every key missing from the [Settings]
// group takes its default (GameScreen keeps its current value).
bool LoadPreferences(Settings &settings, const std::string &folder);
// The file's exact bytes for these settings.
std::vector<uint8_t> PreferencesBytes(const Settings &settings);
// Replaces folder + "Warrenfold.prefs" atomically; false when it cannot be
// written (the old file then stays as it was).
bool SavePreferences(const Settings &settings, const std::string &folder);
