// brieflz.h — the BriefLZ block method: a checked unpacker and a packer with
// a fast, a normal and a best (optimal parse) level.
//
// A block starts with one literal byte; control bits come from 16-bit
// little-endian words, read only when the previous word is used up, most
// significant bit first; 0 is a literal byte, 1 a match (gamma length − 2,
// gamma (distance − 1) / 256 + 2, then the low byte of distance − 1).
// Every block is packed on its own: matches never reach into another block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace brieflz {

constexpr int kLevelFast = 1;
constexpr int kLevelNormal = 2;
constexpr int kLevelBest = 3;

// Unpacks one block of exactly outSize bytes from in[0, inSize) into
// out[0, outSize). On success returns true and sets used to the number of
// input bytes the block took (the next block starts there). Returns false,
// without reading or writing outside the two ranges, when the input runs
// out, a match reaches before the block's start or past outSize, or a gamma
// value is absurd. An outSize of 0 uses no input.
bool Unpack(const uint8_t *in, size_t inSize, uint8_t *out, size_t outSize,
            size_t &used);

// The most bytes Pack writes for a block of n bytes (never more than an
// all-literal encoding).
size_t MaxPackedSize(size_t n);

// Packs the block in[0, n) into out, which must hold MaxPackedSize(n)
// bytes; returns the packed size. The last control word of the block is
// the last one the unpacker reads, so the next block may follow directly.
// Same input and level give the same bytes.
size_t Pack(const uint8_t *in, size_t n, uint8_t *out, int level);

// Convenience form of Pack.
std::vector<uint8_t> Pack(const uint8_t *in, size_t n, int level);

} // namespace brieflz
