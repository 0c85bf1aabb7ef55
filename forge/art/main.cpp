// main.cpp — forge_art OUT_DIR [--only WORD]: draws the archive's pictures.
#include "forge.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <exception>
#include <string>

// fontconfig keeps its caches for the whole run; sanitizer builds' leak
// checker is told so.
extern "C" const char *__lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

int main(int argc, char **argv) {
  std::string dir, only;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--only" && i + 1 < argc)
      only = argv[++i];
    else if (dir.empty())
      dir = a;
    else
      dir.clear(), i = argc;
  }
  if (dir.empty()) {
    std::fprintf(stderr, "usage: forge_art OUT_DIR [--only WORD]\n");
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  art::ForgeResult r;
  try {
    r = art::Forge(dir, 2, only);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "forge_art: %s\n", e.what());
    return 1;
  }
  double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
          .count();
  for (const std::string &e : r.errors)
    std::fprintf(stderr, "forge_art: %s\n", e.c_str());
  uintmax_t total = 0;
  for (const art::Written &w : r.entries)
    total += w.size;
  std::printf("forge_art: %zu pictures, %ju bytes, %.1f s\n", r.entries.size(),
              total, seconds);
  return r.errors.empty() ? 0 : 1;
}
