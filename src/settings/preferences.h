// preferences.h — the eight settings kept between runs in
// "Warrenfold.prefs", read once at start and written at an orderly exit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// How the game takes the screen. A hand-edited file may hold any other
// number; such a mode opens no screen.
enum class ScreenMode : int32_t { FullScreen = 0, Window = 1, Borderless = 2 };

struct Settings {
  std::string language; // file name of the language, such as "en_GB"
  int32_t music = 1;    // as stored; read it through MusicOn
  ScreenMode gameScreen = ScreenMode::Borderless;
  int32_t resolution = 1; // index into the resolution list (window mode)
  int32_t gamepad = 0;
  int32_t pad = 0;     // 0 left stick, 1 right stick, 2 direction pad
  int32_t button = 1;  // confirm button, from 1
  int32_t soundFx = 1; // as stored; read it through EffectsOn
};

// A stored flag counts as on unless it is 0, so an edited value such as 2
// means the same everywhere.
inline bool MusicOn(const Settings &s) { return s.music != 0; }
inline bool EffectsOn(const Settings &s) { return s.soundFx != 0; }
// The modes that have a window of their own.
inline bool HasWindow(ScreenMode m) {
  return m == ScreenMode::Window || m == ScreenMode::Borderless;
}

// The copies the settings screen edits; they take effect only on OK.
struct PendingSettings {
  std::string language;
  int music = 1, soundFx = 1; // 0 or 1
  ScreenMode gameScreen = ScreenMode::Borderless;
  int resolution = 1;
  int resolutionChoice = 1; // current entry of the resolution list
};

// The pending copies of the current settings.
PendingSettings MakePending(const Settings &settings);

inline const char *kPreferencesFile = "Warrenfold.prefs";

// Reads folder + "Warrenfold.prefs". False when it cannot be read (missing,
// not a regular file, larger than 1 MiB), with the settings untouched;
// otherwise every key missing from the [Settings] group takes its default
// (GameScreen keeps its current value). Values are kept as written.
bool LoadPreferences(Settings &settings, const std::string &folder);
// The file's exact bytes for these settings.
std::vector<uint8_t> PreferencesBytes(const Settings &settings);
// Where this copy changed a setting since `synced` (what it last read from
// or wrote to the file), its own value; elsewhere the file's.
Settings MergePreferences(const Settings &mine, const Settings &synced,
                          const Settings &disk);
// Replaces folder + "Warrenfold.prefs" atomically with the settings merged
// into the file as it is on disk now, and then counts them as synced;
// false when it cannot be written or the player made it read-only (the old
// file then stays as it was). A player's link is kept, its target replaced.
bool SavePreferences(const Settings &settings, Settings &synced,
                     const std::string &folder);
