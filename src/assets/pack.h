// pack.h — reader of pack archives: a four-byte magic, then entries of a
// header, a UTF-8 name and data that is either stored or a stream of
// BriefLZ blocks.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace pack {

struct EntryInfo {
  std::string name;
  uint64_t fullSize = 0;   // size once unpacked
  uint64_t storedSize = 0; // data bytes in the archive
};

struct FileCloser {
  void operator()(std::FILE *f) const { std::fclose(f); }
};

// An open pack archive: a file kept open between lookups (only its
// directory is held in memory), or bytes in memory.
struct Archive {
  std::unique_ptr<std::FILE, FileCloser> file;
  std::vector<uint8_t> memory;
  bool open = false;
  int version = 0;
  uint64_t size = 0; // bytes of the whole archive
  bool walked = false;
  std::vector<EntryInfo> entries;
  std::vector<uint64_t> dataOffsets;              // per entry
  std::unordered_map<std::string, size_t> byName; // first of each name
};

// Magic bytes of the two archive versions and of a packed stream.
constexpr uint8_t kMagicV1[4] = {0x31, 0x7A, 0x6C, 0x70};
constexpr uint8_t kMagicV2[4] = {0x32, 0x7A, 0x6C, 0x70};
constexpr uint8_t kStreamMagic[4] = {0x31, 0x7A, 0x6C, 0x62};
constexpr size_t kHeaderSizeV1 = 24;
constexpr size_t kHeaderSizeV2 = 18;
constexpr size_t kStreamHeaderSize = 24;

// Opens by path; false when the file cannot be opened or its first four
// bytes are not one of the two magics (31 7A 6C 70 = version 1,
// 32 7A 6C 70 = version 2). Opening again closes what was open.
bool Open(Archive &a, const std::string &path);
bool OpenMemory(Archive &a, std::vector<uint8_t> bytes);
void Close(Archive &a);
bool IsOpen(const Archive &a);
// 1 or 2; 0 when not open.
int Version(const Archive &a);

// The directory, walked from offset 4 to the end of the file on first
// use. A header, name or data that runs past the end of the file ends the
// walk there (the entries before it stay usable).
const std::vector<EntryInfo> &Entries(Archive &a);

// Looks the name up by exact, case-sensitive comparison of its UTF-8 bytes
// (the first entry of that name wins) and unpacks it into out. Returns the
// entry's full size, or -1 when: the name is not found, the full size
// exceeds maxSize, fewer bytes can be read than the entry needs, the packed
// stream is damaged (wrong stream magic, zero block size, a block that runs
// past the data or does not unpack to exactly its length), or unpacking
// does not give exactly the full size. out is resized to the full size
// only after the size checks, so no size field can cause an allocation
// beyond maxSize. out's contents are unspecified after a failure.
int64_t ExtractEntry(Archive &a, const std::string &name, size_t maxSize,
                     std::vector<uint8_t> &out);

// Unpacks a packed stream (stream header and blocks) of exactly fullSize
// bytes into out[0, fullSize); false when the stream is damaged.
bool UnpackStream(const uint8_t *data, size_t size, uint8_t *out,
                  uint64_t fullSize);

} // namespace pack
