// zipwrite.h — writes a ZIP archive whose bytes depend only on its entries.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace forge {

struct ZipInput {
  std::string name; // stored as given, at the archive's top level
  std::vector<uint8_t> data;
};

// Writes the entries in the order given, deflated, each with the same fixed
// modification time, owner and permissions. On failure returns false and
// sets error; the file at path may then be incomplete.
bool WriteZip(const std::string &path, const std::vector<ZipInput> &entries,
              std::string &error);

} // namespace forge
