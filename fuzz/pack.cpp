// pack.cpp — fuzz target: the pack archive reader and the BriefLZ unpacker
// on arbitrary bytes, and packer round trips.
#include "assets/pack.h"
#include "assets/brieflz.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

void ReadArchive(std::vector<uint8_t> bytes) {
  pack::Archive a;
  if (!pack::OpenMemory(a, std::move(bytes)))
    return;
  std::vector<uint8_t> out;
  size_t tried = 0;
  for (const pack::EntryInfo &e : pack::Entries(a)) {
    // The first entry of a name is the one extracted.
    const pack::EntryInfo &first = a.entries[a.byName.at(e.name)];
    const int64_t n = pack::ExtractEntry(a, e.name, 1 << 16, out);
    if (n >= 0 && (static_cast<uint64_t>(n) != first.fullSize ||
                   out.size() != first.fullSize))
      __builtin_trap();
    if (++tried == 32)
      break;
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  // As an archive of its own, and as the entries of both versions.
  ReadArchive({data, data + size});
  for (uint8_t version : {0x31, 0x32}) {
    std::vector<uint8_t> bytes = {version, 0x7A, 0x6C, 0x70};
    bytes.insert(bytes.end(), data, data + size);
    ReadArchive(std::move(bytes));
  }

  // As one block, the first two bytes giving its length.
  if (size >= 2) {
    const size_t outSize = data[0] | (data[1] << 8);
    std::vector<uint8_t> out(outSize);
    size_t used = 0;
    if (brieflz::Unpack(data + 2, size - 2, out.data(), outSize, used) &&
        used > size - 2)
      __builtin_trap();
  }

  // Packed at each level, it must come back unchanged and whole.
  const int levels[] = {brieflz::kLevelFast, brieflz::kLevelNormal,
                        brieflz::kLevelBest};
  for (int level : levels) {
    const std::vector<uint8_t> packed = brieflz::Pack(data, size, level);
    if (packed.size() > brieflz::MaxPackedSize(size))
      __builtin_trap();
    std::vector<uint8_t> back(size);
    size_t used = 0;
    if (!brieflz::Unpack(packed.data(), packed.size(), back.data(), size,
                         used) ||
        used != packed.size() ||
        (size > 0 && std::memcmp(back.data(), data, size) != 0))
      __builtin_trap();
  }
  return 0;
}
