// packwriter.h — writer of pack archives for the content tools: each entry
// stored, or packed in BriefLZ blocks when that makes it smaller.
#pragma once

#include "assets/brieflz.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pack {

struct WriteEntry {
  std::string name;
  std::vector<uint8_t> data;
};

// The largest block the writer accepts: block positions and bit counts of
// the packer are 32-bit.
constexpr uint64_t kMaxBlockSize = uint64_t{1} << 28;

struct WriteOptions {
  int version = 2;              // 1 or 2
  bool store = false;           // never pack
  uint64_t blockSize = 1 << 20; // 1 .. kMaxBlockSize
  int level = brieflz::kLevelBest;
  unsigned threads = 0; // 0: one per core (at most two are of use here)
};

// The packed stream of one entry (stream header and blocks), packed in
// parallel by block; the same bytes whatever the thread count.
std::vector<uint8_t> PackStream(const std::vector<uint8_t> &data,
                                const WriteOptions &opt);

// The whole archive, entries in the given order. Same input, same bytes.
// Returns an empty vector when the options are invalid or a name is too
// long for the version's header (65535 bytes in version 2).
std::vector<uint8_t> BuildArchive(const std::vector<WriteEntry> &entries,
                                  const WriteOptions &opt);

// Builds the archive and writes it to a temporary file beside path, then
// renames it over path, so a failure never leaves a half-written archive.
bool WriteArchive(const std::string &path,
                  const std::vector<WriteEntry> &entries,
                  const WriteOptions &opt);

} // namespace pack
