// pack.cpp — reader of pack archives: opening, the directory walk and the
// extraction of one entry.
#include "assets/pack.h"

#include "assets/brieflz.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>

namespace pack {

namespace {

uint64_t Le64(const uint8_t *p) {
  uint64_t v = 0;
  for (int i = 7; i >= 0; --i)
    v = (v << 8) | p[i];
  return v;
}

uint32_t Le32(const uint8_t *p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) |
         (static_cast<uint32_t>(p[3]) << 24);
}

uint16_t Le16(const uint8_t *p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// Reads n bytes at offset; false when fewer can be read.
bool ReadAt(Archive &a, uint64_t offset, size_t n, uint8_t *dst) {
  if (offset > a.size || n > a.size - offset)
    return false;
  if (!a.file) {
    if (n > 0)
      std::memcpy(dst, a.memory.data() + offset, n);
    return true;
  }
  if (n == 0)
    return true;
  if (offset > static_cast<uint64_t>(LONG_MAX) ||
      std::fseek(a.file.get(), static_cast<long>(offset), SEEK_SET) != 0)
    return false;
  return std::fread(dst, 1, n, a.file.get()) == n;
}

bool SetVersion(Archive &a, const uint8_t *magic) {
  if (std::memcmp(magic, kMagicV1, 4) == 0)
    a.version = 1;
  else if (std::memcmp(magic, kMagicV2, 4) == 0)
    a.version = 2;
  else
    return false;
  return true;
}

void Walk(Archive &a) {
  a.walked = true;
  if (!a.open)
    return;
  const size_t headerSize = a.version == 1 ? kHeaderSizeV1 : kHeaderSizeV2;
  uint64_t pos = 4;
  uint8_t header[kHeaderSizeV1];
  std::string name;
  while (a.size - pos >= headerSize) {
    if (!ReadAt(a, pos, headerSize, header))
      break;
    EntryInfo e;
    e.fullSize = Le64(header);
    e.storedSize = Le64(header + 8);
    const uint64_t nameLen =
        a.version == 1 ? Le32(header + 16) : Le16(header + 16);
    const uint64_t nameAt = pos + headerSize;
    if (nameLen > a.size - nameAt)
      break;
    name.resize(static_cast<size_t>(nameLen));
    if (!ReadAt(a, nameAt, name.size(),
                reinterpret_cast<uint8_t *>(name.data())))
      break;
    const uint64_t dataAt = nameAt + nameLen;
    if (e.storedSize > a.size - dataAt)
      break;
    e.name = name;
    a.byName.emplace(e.name, a.entries.size());
    a.entries.push_back(std::move(e));
    a.dataOffsets.push_back(dataAt);
    pos = dataAt + a.entries.back().storedSize;
  }
}

} // namespace

bool Open(Archive &a, const std::string &path) {
  Close(a);
  // Only a regular file: opening a FIFO would wait for a writer for ever.
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec))
    return false;
  std::FILE *f = std::fopen(path.c_str(), "rb");
  if (!f)
    return false;
  a.file.reset(f);
  uint8_t magic[4];
  if (std::fseek(f, 0, SEEK_END) != 0) {
    Close(a);
    return false;
  }
  const long end = std::ftell(f);
  if (end < 4 || std::fseek(f, 0, SEEK_SET) != 0 ||
      std::fread(magic, 1, 4, f) != 4 || !SetVersion(a, magic)) {
    Close(a);
    return false;
  }
  a.size = static_cast<uint64_t>(end);
  a.open = true;
  return true;
}

bool OpenMemory(Archive &a, std::vector<uint8_t> bytes) {
  Close(a);
  if (bytes.size() < 4 || !SetVersion(a, bytes.data()))
    return false;
  a.memory = std::move(bytes);
  a.size = a.memory.size();
  a.open = true;
  return true;
}

void Close(Archive &a) { a = Archive{}; }

bool IsOpen(const Archive &a) { return a.open; }

int Version(const Archive &a) { return a.open ? a.version : 0; }

const std::vector<EntryInfo> &Entries(Archive &a) {
  if (!a.walked)
    Walk(a);
  return a.entries;
}

bool UnpackStream(const uint8_t *data, size_t size, uint8_t *out,
                  uint64_t fullSize) {
  if (size < kStreamHeaderSize || std::memcmp(data, kStreamMagic, 4) != 0)
    return false;
  const uint64_t unpackedSize = Le64(data + 8);
  const uint64_t blockSize = Le64(data + 16);
  if (unpackedSize != fullSize || blockSize == 0)
    return false;
  size_t pos = kStreamHeaderSize;
  uint64_t done = 0;
  while (done < fullSize) {
    const size_t blockLen =
        static_cast<size_t>(std::min(blockSize, fullSize - done));
    size_t used = 0;
    if (!brieflz::Unpack(data + pos, size - pos, out + done, blockLen, used))
      return false;
    pos += used;
    done += blockLen;
  }
  return true;
}

int64_t ExtractEntry(Archive &a, const std::string &name, size_t maxSize,
                     std::vector<uint8_t> &out) {
  Entries(a);
  const auto it = a.byName.find(name);
  if (it == a.byName.end())
    return -1;
  const EntryInfo &e = a.entries[it->second];
  const uint64_t at = a.dataOffsets[it->second];
  if (e.fullSize > maxSize || e.fullSize > static_cast<uint64_t>(INT64_MAX))
    return -1;
  const size_t fullSize = static_cast<size_t>(e.fullSize);

  if (e.storedSize == e.fullSize) {
    out.resize(fullSize);
    if (!ReadAt(a, at, fullSize, out.data()))
      return -1;
    return static_cast<int64_t>(fullSize);
  }

  const uint8_t *data = nullptr;
  size_t size = 0;
  std::vector<uint8_t> packed;
  if (!a.file) {
    data = a.memory.data() + at;
    size = static_cast<size_t>(e.storedSize);
  } else {
    // Bytes past what any sane stream of this size needs (every block all
    // literals, plus slack) are never read, so the stored size cannot
    // force a large allocation either.
    const uint64_t cap = kStreamHeaderSize + 2 * e.fullSize + 65536;
    size = static_cast<size_t>(std::min(e.storedSize, cap));
    packed.resize(size);
    if (!ReadAt(a, at, size, packed.data()))
      return -1;
    data = packed.data();
  }
  out.resize(fullSize);
  if (!UnpackStream(data, size, out.data(), e.fullSize))
    return -1;
  return static_cast<int64_t>(fullSize);
}

} // namespace pack
