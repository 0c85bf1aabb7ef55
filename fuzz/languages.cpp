// languages.cpp — fuzz target: the language archive scanned and every
// language it lists loaded, as at start and on the settings screen.
//
// The first byte picks how the rest becomes the archive. 0: the rest is the
// archive's bytes as they are, for the ZIP reader. Otherwise the rest is
// entries separated by byte 0x01, each "name\ncontent", packed into a
// well-formed stored ZIP, so that the search reaches the scan and the
// language file reader instead of stopping at checksums.
#include "settings/languages.h"
#include "fuzz_files.h"
#include "support/zip_builder.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace {

std::string Archive(const uint8_t *data, size_t size) {
  const std::string rest(reinterpret_cast<const char *>(data) + 1, size - 1);
  if (data[0] == 0)
    return rest;
  std::vector<std::pair<std::string, std::string>> entries;
  size_t pos = 0;
  while (pos <= rest.size() && entries.size() < 64) {
    size_t end = rest.find('\x01', pos);
    if (end == std::string::npos)
      end = rest.size();
    const std::string piece = rest.substr(pos, end - pos);
    const size_t nl = piece.find('\n');
    if (nl == std::string::npos)
      entries.emplace_back(piece, "");
    else
      entries.emplace_back(piece.substr(0, nl), piece.substr(nl + 1));
    pos = end + 1;
  }
  return testzip::Build(entries);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size == 0)
    return 0;
  const std::string zip = Archive(data, size);
  if (!fuzzfiles::Put("Warrenfold.languages",
                      reinterpret_cast<const uint8_t *>(zip.data()),
                      zip.size()))
    return 0;
  const std::string source = LanguageSource(fuzzfiles::Folder());
  Languages lang;
  ScanLanguages(lang, source);
  if (lang.choice != (lang.choices.empty() ? -1 : 0))
    __builtin_trap();
  const auto choices = lang.choices;
  for (const auto &[file, name] : choices) {
    if (!HasLanguageFile(lang, file))
      __builtin_trap();
    LoadLanguage(lang, source, file);
    FindLanguage(lang, file);
    if (lang.choice < 0 || lang.choices[lang.choice].first != file)
      __builtin_trap();
    LanguageSlot(name);
  }
  for (const char *file : {"en_GB", "../en_GB", "", "a/b"})
    LoadLanguage(lang, source, file);
  FindLanguage(lang, "none such");
  Text(static_cast<const Languages &>(lang), "tLangFileNAME");
  LanguageInfosInOrder(lang.infos);
  return 0;
}
