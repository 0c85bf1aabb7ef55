// collect.cpp — gathers the language files and flags of a source folder.
#include "collect.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace forge {

namespace fs = std::filesystem;

namespace {

bool EndsWith(const std::string &s, const std::string &tail) {
  return s.size() > tail.size() &&
         s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

bool ReadWhole(const fs::path &path, std::vector<uint8_t> &out) {
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return false;
  out.assign(std::istreambuf_iterator<char>(in),
             std::istreambuf_iterator<char>());
  return !in.bad();
}

} // namespace

bool IsLanguageSource(const std::string &name) {
  return EndsWith(name, ".language") || EndsWith(name, ".flag");
}

bool CollectLanguageSources(const std::string &folder,
                            std::vector<ZipInput> &out, std::string &error) {
  out.clear();
  std::error_code ec;
  fs::directory_iterator it(folder, ec);
  if (ec) {
    error = "cannot list " + folder + ": " + ec.message();
    return false;
  }
  std::vector<fs::path> picked;
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    const fs::path &p = it->path();
    if (IsLanguageSource(p.filename().string()) && it->is_regular_file(ec))
      picked.push_back(p);
  }
  if (ec) {
    error = "cannot list " + folder + ": " + ec.message();
    return false;
  }
  std::sort(picked.begin(), picked.end(),
            [](const fs::path &a, const fs::path &b) {
              return a.filename().string() < b.filename().string();
            });

  bool anyLanguage = false;
  for (const fs::path &p : picked) {
    ZipInput in;
    in.name = p.filename().string();
    if (!ReadWhole(p, in.data)) {
      error = "cannot read " + p.string();
      return false;
    }
    if (EndsWith(in.name, ".flag") && in.data.size() > kMaxFlagBytes) {
      error = p.string() + " is " + std::to_string(in.data.size()) +
              " bytes; a flag may hold at most " +
              std::to_string(kMaxFlagBytes);
      return false;
    }
    anyLanguage = anyLanguage || EndsWith(in.name, ".language");
    out.push_back(std::move(in));
  }
  if (!anyLanguage) {
    error = "no *.language file in " + folder;
    return false;
  }
  return true;
}

} // namespace forge
