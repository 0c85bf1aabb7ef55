// keyvalue.cpp — fuzz target: the key=value reader on arbitrary bytes, the
// lookups the game makes on its result, and the preferences read from such
// a file. Preferences written for what was read must read back the same,
// or a hand-edited file would change at the next save.
#include "settings/keyvalue.h"
#include "fuzz_files.h"
#include "settings/preferences.h"

#include <cstdint>
#include <string>

namespace {

bool Same(const Settings &a, const Settings &b) {
  return a.language == b.language && a.music == b.music &&
         a.gameScreen == b.gameScreen && a.resolution == b.resolution &&
         a.gamepad == b.gamepad && a.pad == b.pad && a.button == b.button &&
         a.soundFx == b.soundFx;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  const kv::Document doc = kv::Parse(data, size);
  for (const kv::Group &g : doc.groups) {
    if (kv::FindGroup(doc, g.name) == nullptr)
      __builtin_trap(); // a group is always found by its own name
    for (const auto &[key, value] : g.entries) {
      kv::ReadText(&g, key, "");
      kv::ReadInt(&g, key, 0);
      kv::ParseLeadingInt(value);
    }
  }
  const kv::Group *header = kv::FindGroup(doc, "LANGUAGE FILE");
  kv::ReadText(header, "tLangFileNAME", "");

  if (!fuzzfiles::Put(kPreferencesFile, data, size))
    return 0;
  Settings first;
  if (!LoadPreferences(first, fuzzfiles::Folder()))
    return 0;
  MakePending(first);
  const std::vector<uint8_t> saved = PreferencesBytes(first);
  if (!fuzzfiles::Put(kPreferencesFile, saved.data(), saved.size()))
    return 0;
  Settings again;
  if (!LoadPreferences(again, fuzzfiles::Folder()) || !Same(first, again))
    __builtin_trap();
  return 0;
}
