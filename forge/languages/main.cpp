// main.cpp — forge_languages SRC_DIR OUT_ZIP: packs the language files.
#include "collect.h"
#include "zipwrite.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: forge_languages SRC_DIR OUT_ZIP\n");
    return 1;
  }
  const std::string source = argv[1];
  const std::string target = argv[2];

  std::vector<forge::ZipInput> entries;
  std::string error;
  if (!forge::CollectLanguageSources(source, entries, error)) {
    std::fprintf(stderr, "forge_languages: %s\n", error.c_str());
    return 1;
  }

  // Written beside the target and renamed, so that an interrupted run never
  // leaves a half archive under the real name.
  const std::string temporary = target + ".tmp";
  std::error_code ec;
  if (!forge::WriteZip(temporary, entries, error)) {
    std::filesystem::remove(temporary, ec);
    std::fprintf(stderr, "forge_languages: %s\n", error.c_str());
    return 1;
  }
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    std::fprintf(stderr, "forge_languages: cannot rename %s to %s\n",
                 temporary.c_str(), target.c_str());
    return 1;
  }
  return 0;
}
