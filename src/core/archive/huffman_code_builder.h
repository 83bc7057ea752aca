#ifndef LUMA_CORE_ARCHIVE_HUFFMAN_CODE_BUILDER_H_
#define LUMA_CORE_ARCHIVE_HUFFMAN_CODE_BUILDER_H_

#include <cstdint>
#include <span>

namespace luma {

// LZH static-Huffman codes never exceed 16 bits: the decoders' tables cover
// a 16-bit code space.
inline constexpr int kMaxHuffmanCodeLength = 16;

// Computes Huffman code lengths of at most kMaxHuffmanCodeLength bits for
// the symbols with a non-zero frequency; unused symbols get length 0. When
// two or more symbols are used the code is complete (the Kraft sum is
// exactly 1), which the decoders require. With fewer than two used symbols
// every length is 0: such a table has no code at all and is sent in its
// single-symbol form. Returns the number of used symbols.
int BuildHuffmanLengths(std::span<const uint32_t> freq, std::span<uint8_t> lengths);

// Canonical codes for `lengths`: shorter codes first, equal lengths in symbol
// order, as the decoders rebuild them. Codes are right-aligned in 16 bits.
void AssignCanonicalCodes(std::span<const uint8_t> lengths, std::span<uint16_t> codes);

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_HUFFMAN_CODE_BUILDER_H_
