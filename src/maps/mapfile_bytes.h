// mapfile_bytes.h — little-endian field reader and writer, with the
// fixed-size UTF-16LE text fields of the map archive.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mapfile {

// Reads fields from a byte range; every call fails without moving when the
// field would run past the end.
struct ByteReader {
  const uint8_t *data = nullptr;
  size_t size = 0;
  size_t pos = 0;

  size_t Remaining() const { return size - pos; }
  // Whether count records of recordSize bytes still fit.
  bool Fits(uint64_t count, uint64_t recordSize) const {
    return count * recordSize <= Remaining();
  }
  bool Skip(size_t n);
  bool U8(uint8_t &v);
  bool I8(int8_t &v);
  bool I16(int16_t &v);
  bool I32(int32_t &v);
  bool I64(int64_t &v);
  // A field of `units` UTF-16 units, decoded up to the first NUL unit.
  bool Text(size_t units, std::string &out);
};

struct ByteWriter {
  std::vector<uint8_t> &out;

  void Zeros(size_t n);
  void Bytes(const void *data, size_t n);
  void U8(uint8_t v);
  void I16(int16_t v);
  void I32(int32_t v);
  void I64(int64_t v);
  // UTF-8 text into a field of `units` units, NUL-padded; a text that fills
  // the field has no NUL.
  void Text(const std::string &text, size_t units);
};

// UTF-16 units (up to the first NUL) to UTF-8; unpaired surrogates become
// U+FFFD.
std::string Utf16ToUtf8(const uint16_t *units, size_t count);
// UTF-8 to UTF-16 units; malformed bytes become U+FFFD.
std::vector<uint16_t> Utf8ToUtf16(const std::string &text);

} // namespace mapfile
