// zip.h — ZIP archives, read in memory; entry names are never used as
// paths.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace plat {

struct ZipEntry {
  std::string name;
  bool file = false;
  int64_t size = 0;
};
bool ZipList(const std::string &path, std::vector<ZipEntry> &out);
// Entries past this many are not looked at.
constexpr size_t kMaxZipEntries = 10000;
struct ZipFile {
  std::string name;
  std::vector<uint8_t> data;
};
// Every regular entry whose name `want` accepts, read in one pass, in the
// archive's order; one larger than maxSize or damaged is left out. False
// when the archive cannot be opened or its directory read.
bool ZipReadMatching(const std::string &path,
                     const std::function<bool(const std::string &)> &want,
                     size_t maxSize, std::vector<ZipFile> &out);
// The first entry with exactly that name; fails when it is larger than
// maxSize.
bool ZipExtract(const std::string &path, const std::string &name,
                size_t maxSize, std::vector<uint8_t> &out);

} // namespace plat
