// blank_png.h — a valid PNG of any size, all transparent black, made
// without holding its pixels: a deflate stream of one zero and then
// matches of 258 zeros. 8192 x 8192 takes 1.7 MB and decodes to 256 MiB,
// the kind of picture a hostile archive carries.
#pragma once

#include <cstdint>
#include <string>

#include "support/zip_builder.h"

namespace testpng {

inline void PutBe32(std::string &out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

inline void PutChunk(std::string &out, const char *type,
                     const std::string &body) {
  PutBe32(out, static_cast<uint32_t>(body.size()));
  const std::string typed = type + body;
  out += typed;
  PutBe32(out, testzip::Crc32(typed));
}

// A zlib stream of `count` zero bytes in one block of the fixed codes.
inline std::string ZeroStream(uint64_t count) {
  std::string out = "\x78\x01";
  uint32_t acc = 0;
  int bits = 0;
  auto put = [&](uint32_t value, int n) { // least significant bit first
    acc |= value << bits;
    for (bits += n; bits >= 8; bits -= 8, acc >>= 8)
      out.push_back(static_cast<char>(acc & 0xFF));
  };
  auto code = [&](uint32_t value, int n) { // Huffman codes: first bit first
    for (int i = n - 1; i >= 0; --i)
      put((value >> i) & 1, 1);
  };
  put(1, 1);     // the last block
  put(1, 2);     // fixed codes
  code(0x30, 8); // literal 0
  for (uint64_t left = count - 1; left > 0;) {
    if (left >= 258) {
      code(0xC5, 8); // length 258
      code(0, 5);    // distance 1
      left -= 258;
    } else {
      code(0x30, 8);
      --left;
    }
  }
  code(0, 7); // end of block
  if (bits > 0)
    out.push_back(static_cast<char>(acc & 0xFF));
  // Adler-32 of zeros: a stays 1, b adds it once a byte.
  PutBe32(out, static_cast<uint32_t>((count % 65521) << 16 | 1));
  return out;
}

// A PNG of that size, 8-bit RGBA, with the given picture data: any bytes,
// each chunk's checksum right.
inline std::string PngWithData(uint32_t width, uint32_t height,
                               const std::string &data) {
  std::string png = "\x89PNG\r\n\x1A\n";
  std::string header;
  PutBe32(header, width);
  PutBe32(header, height);
  header += std::string("\x08\x06\x00\x00\x00", 5); // 8-bit RGBA
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", data);
  PutChunk(png, "IEND", "");
  return png;
}

inline std::string BlankPng(uint32_t width, uint32_t height) {
  return PngWithData(width, height,
                     ZeroStream(uint64_t(height) * (1 + 4ull * width)));
}

} // namespace testpng
