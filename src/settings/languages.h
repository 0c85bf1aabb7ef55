// languages.h — the text table every visible text comes from, the list of
// available languages and the loading of one language file.
#pragma once

#include <array>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct LanguageInfo {
  std::string name; // display name, the table key
  std::string file; // file name without ".language", e.g. "en_GB"
  std::string version, date, author, langId, software;
};

// Records keyed by display name, iterated like a 512-slot hash table: by
// ascending slot, and within a slot the record created last first.
struct LanguageTable {
  std::array<std::vector<LanguageInfo>, 512> slots;
};

struct Languages {
  std::unordered_map<std::string, std::string> texts;
  LanguageTable infos;
  std::vector<std::pair<std::string, std::string>> choices; // (file, name)
  int choice = -1; // current position in choices
};

// The slot of a display name: h := h * 65599 + UTF-16 unit, mod 512.
unsigned LanguageSlot(const std::string &utf8Name);
// Adds the record, or overwrites the fields of the one with that name.
void StoreLanguageInfo(LanguageTable &table, const LanguageInfo &info);
// Every record in table order.
std::vector<const LanguageInfo *>
LanguageInfosInOrder(const LanguageTable &table);

// The text of a key; a key the table lacks gives "" and is entered empty.
const std::string &Text(Languages &lang, const std::string &key);
// The same lookup without adding the key: a missing text is empty.
const std::string &Text(const Languages &lang, const std::string &key);
// GameDir + "Warrenfold.languages": a folder or a ZIP archive.
std::string LanguageSource(const std::string &gameDir);
// Fills the language table and the choice list from the source; leaves
// both empty when the source cannot be listed or read.
void ScanLanguages(Languages &lang, const std::string &source);
// Reads file + ".language" from the source into the text table (entries
// only add or overwrite). False, with the table unchanged, when missing.
bool LoadLanguage(Languages &lang, const std::string &source,
                  const std::string &file);
// Moves the choice to the first entry with that file name, or to the last
// entry when none has it.
void FindLanguage(Languages &lang, const std::string &file);
bool HasLanguageFile(const Languages &lang, const std::string &file);

// Longest text a "#" placeholder may make, in bytes: a language file or a
// scores file must not make a picture of megabytes.
constexpr size_t kMaxShownText = 4096;
// The text with every "#" replaced by the value, cut (at a character's
// start) to kMaxShownText bytes.
std::string FillPlaceholders(const std::string &text, const std::string &value);
