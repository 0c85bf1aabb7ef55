// preferences.cpp — reading and writing "Warrenfold.prefs".
#include "settings/preferences.h"

#include "platform/files.h"
#include "settings/display.h"
#include "settings/keyvalue.h"

namespace {

// The [Settings] group's values; every key it lacks takes its default
// (GameScreen keeps the value it has).
void ReadSettings(const kv::Document &doc, Settings &settings) {
  const kv::Group *g = kv::FindGroup(doc, "Settings");
  settings.language = kv::ReadText(g, "Language", "");
  settings.music = kv::ReadInt(g, "Music", 1);
  settings.gameScreen = static_cast<ScreenMode>(
      kv::ReadInt(g, "GameScreen", static_cast<int32_t>(settings.gameScreen)));
  settings.resolution = kv::ReadInt(g, "Resolution", 1);
  settings.gamepad = kv::ReadInt(g, "Gamepad", 0);
  settings.pad = kv::ReadInt(g, "Pad", 0);
  settings.button = kv::ReadInt(g, "Button", 1);
  settings.soundFx = kv::ReadInt(g, "Soundfx", 1);
  // A size index outside the list is kept as written, so that the file
  // comes back unchanged; where a size is chosen it counts as the default.
}

// Mine where this copy changed it since `synced`, else the file's.
template <typename T> T Pick(const T &mine, const T &synced, const T &disk) {
  return mine != synced ? mine : disk;
}

} // namespace

bool LoadPreferences(Settings &settings, const std::string &folder) {
  kv::Document doc;
  if (!kv::ParseFile(folder + kPreferencesFile, doc))
    return false;
  ReadSettings(doc, settings);
  return true;
}

std::vector<uint8_t> PreferencesBytes(const Settings &s) {
  std::string text =
      "\xEF\xBB\xBF\r\n; Warrenfold Preferences\r\n[Settings]\r\n";
  auto line = [&text](const char *key, const std::string &value) {
    text += key;
    text += " = ";
    text += value;
    text += "\r\n";
  };
  line("Language", s.language);
  line("Music", std::to_string(s.music));
  line("GameScreen", std::to_string(static_cast<int32_t>(s.gameScreen)));
  line("Resolution", std::to_string(s.resolution));
  line("Gamepad", std::to_string(s.gamepad));
  line("Pad", std::to_string(s.pad));
  line("Button", std::to_string(s.button));
  line("SoundFX", std::to_string(s.soundFx));
  return std::vector<uint8_t>(text.begin(), text.end());
}

Settings MergePreferences(const Settings &mine, const Settings &synced,
                          const Settings &disk) {
  Settings out;
  out.language = Pick(mine.language, synced.language, disk.language);
  out.music = Pick(mine.music, synced.music, disk.music);
  out.gameScreen = Pick(mine.gameScreen, synced.gameScreen, disk.gameScreen);
  out.resolution = Pick(mine.resolution, synced.resolution, disk.resolution);
  out.gamepad = Pick(mine.gamepad, synced.gamepad, disk.gamepad);
  out.pad = Pick(mine.pad, synced.pad, disk.pad);
  out.button = Pick(mine.button, synced.button, disk.button);
  out.soundFx = Pick(mine.soundFx, synced.soundFx, disk.soundFx);
  return out;
}

bool SavePreferences(const Settings &settings, Settings &synced,
                     const std::string &folder) {
  const bool saved = plat::UpdateFileAtomic(
      folder + kPreferencesFile, kv::kMaxFileSize,
      [&](const std::vector<uint8_t> *current) {
        if (current == nullptr)
          return PreferencesBytes(settings);
        Settings disk;
        ReadSettings(kv::Parse(current->data(), current->size()), disk);
        return PreferencesBytes(MergePreferences(settings, synced, disk));
      });
  if (saved)
    synced = settings;
  return saved;
}

PendingSettings MakePending(const Settings &s) {
  PendingSettings p;
  p.language = s.language;
  p.music = MusicOn(s) ? 1 : 0;
  p.soundFx = EffectsOn(s) ? 1 : 0;
  p.gameScreen = s.gameScreen;
  p.resolution = s.resolution;
  // A hand-edited index outside the list shows the default entry.
  const int count = static_cast<int>(ResolutionList().size());
  p.resolutionChoice =
      s.resolution >= 0 && s.resolution < count ? s.resolution : 1;
  return p;
}
