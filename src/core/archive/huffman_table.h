#ifndef LUMA_CORE_ARCHIVE_HUFFMAN_TABLE_H_
#define LUMA_CORE_ARCHIVE_HUFFMAN_TABLE_H_

#include <array>
#include <cstdint>

#include "core/archive/lzh_bit_reader.h"

namespace luma {

// Decoding table for a canonical Huffman code of at most 16 bits (codes
// assigned in order of length, then symbol). Codes up to kTableBits long are
// resolved by one lookup; longer ones continue in a small binary tree below
// their table entry.
template <int kTableBits, int kMaxSymbols>
class HuffmanTable {
  static_assert(kMaxSymbols <= 1024 && kTableBits <= 16);

 public:
  HuffmanTable() { table_.fill(0); }  // until built, everything decodes to symbol 0

  // Builds the code for `lengths[0..count)` (count <= kMaxSymbols). A set of
  // lengths that does not fill the code space exactly leaves the table as it
  // was and returns false.
  bool Build(const uint8_t* lengths, int count);

  // Every lookup yields `symbol` and consumes no bits.
  void SetSingle(unsigned symbol) { table_.fill(static_cast<uint16_t>(symbol & kSymbolMask)); }

  // Needs at least 16 bits in the reader (after Refill).
  unsigned Decode(LzhBitReader& reader) const {
    const unsigned e = table_[reader.Peek(kTableBits)];
    if (!(e & kNode)) [[likely]] {
      reader.Skip(static_cast<int>(e >> kLengthShift));
      return e & kSymbolMask;
    }
    return DecodeLong(reader, e);
  }

 private:
  // Entry: a leaf holds symbol | code length << 10; a node has bit 15 set
  // and its index in the child arrays below.
  static constexpr unsigned kNode = 0x8000;
  static constexpr unsigned kLengthShift = 10;
  static constexpr unsigned kSymbolMask = 0x3FF;
  static constexpr uint16_t kEmpty = 0xFFFF;

  unsigned DecodeLong(LzhBitReader& reader, unsigned e) const {
    const uint32_t bits = reader.Peek(16);
    for (int depth = kTableBits; depth < 16; ++depth) {
      e = child_[(bits >> (15 - depth)) & 1][e & ~kNode];
      if (!(e & kNode)) {
        reader.Skip(static_cast<int>(e >> kLengthShift));
        return e & kSymbolMask;
      }
    }
    reader.Skip(16);
    return 0;
  }

  std::array<uint16_t, 1 << kTableBits> table_;
  std::array<std::array<uint16_t, kMaxSymbols>, 2> child_;
};

template <int kTableBits, int kMaxSymbols>
bool HuffmanTable<kTableBits, kMaxSymbols>::Build(const uint8_t* lengths, int count) {
  unsigned counts[17] = {};
  for (int i = 0; i < count; ++i) {
    if (lengths[i] > 16) return false;
    ++counts[lengths[i]];
  }
  uint32_t space = 0;
  for (int len = 1; len <= 16; ++len) space += counts[len] << (16 - len);
  if (space != 1u << 16) return false;

  unsigned next_code[17] = {};
  unsigned code = 0;
  counts[0] = 0;
  for (int len = 1; len <= 16; ++len) {
    code = (code + counts[len - 1]) << 1;
    next_code[len] = code;
  }

  table_.fill(kEmpty);
  int nodes = 0;
  for (int symbol = 0; symbol < count; ++symbol) {
    const int len = lengths[symbol];
    if (len == 0) continue;
    const unsigned c = next_code[len]++;
    const auto leaf = static_cast<uint16_t>(symbol | len << kLengthShift);
    if (len <= kTableBits) {
      const unsigned first = c << (kTableBits - len);
      const unsigned n = 1u << (kTableBits - len);
      for (unsigned i = 0; i < n; ++i) table_[first + i] = leaf;
      continue;
    }
    uint16_t* slot = &table_[c >> (len - kTableBits)];
    for (int bit = len - kTableBits - 1; bit >= 0; --bit) {
      if (*slot == kEmpty) {
        // A complete code never needs more nodes than symbols.
        if (nodes == kMaxSymbols) return false;
        child_[0][nodes] = child_[1][nodes] = kEmpty;
        *slot = static_cast<uint16_t>(kNode | nodes++);
      }
      slot = &child_[(c >> bit) & 1][*slot & ~kNode];
    }
    *slot = leaf;
  }
  return true;
}

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_HUFFMAN_TABLE_H_
