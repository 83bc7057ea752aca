// -lh4- to -lh7-: static Huffman blocks. Each block starts with its size in
// codes and three code sets: the code-length code, the literal/length code
// (sent through the code-length code) and the position code.
#include <algorithm>
#include <array>

#include "core/archive/huffman_table.h"
#include "core/archive/lz_window.h"
#include "core/archive/lzh_bit_reader.h"
#include "core/archive/lzh_decoders.h"

namespace luma {
namespace {

constexpr int kLiteralSymbols = 510;  // 256 literals, lengths 3 to 256
constexpr int kCodeLengthSymbols = 19;
constexpr int kMaxPositionSymbols = 21;  // up to a 1 MiB dictionary

class HuffmanBlockSource {
 public:
  HuffmanBlockSource(std::span<const uint8_t> packed, const LzhMethodInfo& method)
      : reader_(packed),
        position_symbols_(std::min<int>(method.position_symbols, kMaxPositionSymbols)),
        position_count_bits_(method.position_count_bits) {}

  unsigned NextCode(uint32_t) {
    if (block_left_ == 0) ReadBlockHeader();
    --block_left_;
    reader_.Refill();
    return literals_.Decode(reader_);
  }

  uint32_t NextPosition(uint32_t) {
    reader_.Refill();
    const unsigned j = positions_.Decode(reader_);
    if (j <= 1) return j;
    return (1u << (j - 1)) + reader_.Get(static_cast<int>(j - 1));
  }

  bool Exhausted() const { return reader_.Exhausted(); }

 private:
  void ReadBlockHeader() {
    block_left_ = static_cast<uint16_t>(reader_.Get(16));
    ReadShortLengths(code_lengths_, kCodeLengthSymbols, 5, 3);
    ReadLiteralLengths();
    ReadShortLengths(positions_, position_symbols_, position_count_bits_, -1);
  }

  // Code lengths of the code-length code and of the position code: 3 bits
  // each, 7 and above continued in unary; after the `special`th length a
  // 2-bit count of zero lengths follows.
  template <typename Table>
  void ReadShortLengths(Table& table, int symbols, int count_bits, int special) {
    const unsigned n = reader_.Get(count_bits);
    if (n == 0) {
      const unsigned v = reader_.Get(count_bits);
      table.SetSingle(v < static_cast<unsigned>(symbols) ? v : 0);
      return;
    }
    // A count field of 5 bits plus 3 inserted zeros stays below 64.
    std::array<uint8_t, 64> lengths{};
    unsigned i = 0;
    while (i < n) {
      reader_.Refill();
      const uint32_t top = reader_.Peek(16);
      unsigned len = top >> 13;
      if (len == 7) {
        for (uint32_t mask = 1u << 12; top & mask; mask >>= 1) ++len;
      }
      reader_.Skip(len < 7 ? 3 : static_cast<int>(len - 3));
      lengths[i++] = static_cast<uint8_t>(len);
      if (static_cast<int>(i) == special) {
        for (unsigned zeros = reader_.Get(2); zeros > 0; --zeros) lengths[i++] = 0;
      }
    }
    table.Build(lengths.data(), symbols);
  }

  void ReadLiteralLengths() {
    const unsigned n = reader_.Get(9);
    if (n == 0) {
      const unsigned v = reader_.Get(9);
      literals_.SetSingle(v < kLiteralSymbols ? v : 0);
      return;
    }
    std::array<uint8_t, kLiteralSymbols> lengths{};
    unsigned i = 0;
    while (i < n) {
      reader_.Refill();
      const unsigned x = code_lengths_.Decode(reader_);
      if (x == 0) {
        i += 1;
      } else if (x == 1) {
        i += reader_.Get(4) + 3;
      } else if (x == 2) {
        i += reader_.Get(9) + 20;
      } else {
        if (i < kLiteralSymbols) lengths[i] = static_cast<uint8_t>(x - 2);
        ++i;
      }
    }
    literals_.Build(lengths.data(), kLiteralSymbols);
  }

  LzhBitReader reader_;
  const int position_symbols_;
  const int position_count_bits_;
  uint16_t block_left_ = 0;  // a block size of 0 wraps to 65535 codes
  HuffmanTable<12, kLiteralSymbols> literals_;
  HuffmanTable<8, kCodeLengthSymbols> code_lengths_;
  HuffmanTable<8, kMaxPositionSymbols> positions_;
};

}  // namespace

bool DecodeHuffmanBlocks(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                         uint32_t unpacked_size, LzhOutput& out) {
  HuffmanBlockSource source(packed, method);
  if (method.dictionary_bits <= kDefaultRingBits) {
    return DecodeSlidingDictionary(source, method.dictionary_bits, 253, {}, unpacked_size, out);
  }
  return DecodeSlidingDictionary<20>(source, method.dictionary_bits, 253, {}, unpacked_size, out);
}

}  // namespace luma
