// collect.h — gathers the language files and flags of a source folder.
#pragma once

#include "zipwrite.h"

#include <string>
#include <vector>

namespace forge {

// The game reads a flag from the archive into a buffer of this size; a
// larger one would silently go missing, so the forge refuses it.
constexpr size_t kMaxFlagBytes = 16000;

// True for the names the archive carries: "*.language" and "*.flag", with
// a non-empty stem, letter case exactly so.
bool IsLanguageSource(const std::string &name);

// Reads every such regular file of the folder (not its sub-folders), sorted
// by name byte by byte. Fails with a message when the folder cannot be
// read, a file cannot be read, a flag is too large or there is no language
// file at all.
bool CollectLanguageSources(const std::string &folder,
                            std::vector<ZipInput> &out, std::string &error);

} // namespace forge
