// preferences.cpp — reading and writing "Warrenfold.prefs".
#include "settings/preferences.h"

#include "platform/platform.h"
#include "settings/display.h"
#include "settings/keyvalue.h"

bool LoadPreferences(Settings &settings, const std::string &folder) {
  kv::Document doc;
  if (!kv::ParseFile(folder + kPreferencesFile, doc))
    return false;
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

bool SavePreferences(const Settings &settings, const std::string &folder) {
  return plat::WriteFileAtomic(folder + kPreferencesFile,
                               PreferencesBytes(settings));
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
