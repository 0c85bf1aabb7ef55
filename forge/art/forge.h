// forge.h — runs the catalogue's jobs and writes the entry list.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace art {

struct Written {
  std::string name;
  uintmax_t size = 0;
};

struct ForgeResult {
  std::vector<Written> entries; // catalogue order
  std::vector<std::string> errors;
};

// Runs every job whose name contains `only` (all when empty) with
// `threads` workers, writing into `dir`. entries.list ("NAME=FILE" lines)
// is written only for a full run without errors. Size-limit violations are
// reported as errors.
ForgeResult Forge(const std::string &dir, int threads,
                  const std::string &only = "");

} // namespace art
