// -lh3-: static Huffman with one code set per block of codes. Literal/length
// lengths are sent one by one (a flag bit, then 4 bits); the position code is
// either sent the same way or the fixed one. Positions are the code of the
// upper bits followed by 6 raw low bits.
#include <array>

#include "core/archive/fixed_position_code.h"
#include "core/archive/huffman_table.h"
#include "core/archive/lz_window.h"
#include "core/archive/lzh_bit_reader.h"
#include "core/archive/lzh_decoders.h"

namespace luma {
namespace {

constexpr int kLiteralSymbols = 286;  // the last one takes 8 extra bits
constexpr int kPositionSymbols = 128;

class Lh3Source {
 public:
  explicit Lh3Source(std::span<const uint8_t> packed) : reader_(packed) {}

  unsigned NextCode(uint32_t) {
    if (block_left_ == 0) ReadBlockHeader();
    --block_left_;
    reader_.Refill();
    unsigned code = literals_.Decode(reader_);
    if (code == kLiteralSymbols - 1) code += reader_.Get(8);
    return code;
  }

  uint32_t NextPosition(uint32_t) {
    reader_.Refill();
    const unsigned upper = positions_.Decode(reader_);
    return (upper << 6) + reader_.Get(6);
  }

  bool Exhausted() const { return reader_.Exhausted(); }

 private:
  void ReadBlockHeader() {
    block_left_ = static_cast<uint16_t>(reader_.Get(16));
    ReadLiteralLengths();
    if (reader_.Get(1)) {
      ReadPositionLengths();
    } else {
      std::array<uint8_t, kPositionSymbols> lengths;
      FixedPositionLengths(2, {1, 1, 3, 6, 13, 31, 78}, lengths.data(), kPositionSymbols);
      positions_.Build(lengths.data(), kPositionSymbols);
    }
  }

  // Three lengths of 1 in front announce a code of one symbol.
  static bool AnnouncesSingle(const uint8_t* lengths) {
    return lengths[0] == 1 && lengths[1] == 1 && lengths[2] == 1;
  }

  void ReadLiteralLengths() {
    std::array<uint8_t, kLiteralSymbols> lengths{};
    for (int i = 0; i < kLiteralSymbols; ++i) {
      lengths[i] = static_cast<uint8_t>(reader_.Get(1) ? reader_.Get(4) + 1 : 0);
      if (i == 2 && AnnouncesSingle(lengths.data())) {
        const unsigned v = reader_.Get(9);
        literals_.SetSingle(v < kLiteralSymbols ? v : 0);
        return;
      }
    }
    literals_.Build(lengths.data(), kLiteralSymbols);
  }

  void ReadPositionLengths() {
    std::array<uint8_t, kPositionSymbols> lengths{};
    for (int i = 0; i < kPositionSymbols; ++i) {
      lengths[i] = static_cast<uint8_t>(reader_.Get(4));
      if (i == 2 && AnnouncesSingle(lengths.data())) {
        positions_.SetSingle(reader_.Get(7));
        return;
      }
    }
    positions_.Build(lengths.data(), kPositionSymbols);
  }

  LzhBitReader reader_;
  uint16_t block_left_ = 0;
  HuffmanTable<12, kLiteralSymbols> literals_;
  HuffmanTable<8, kPositionSymbols> positions_;
};

}  // namespace

bool DecodeLh3(const LzhMethodInfo& method, std::span<const uint8_t> packed, uint32_t unpacked_size,
               LzhOutput& out) {
  Lh3Source source(packed);
  return DecodeSlidingDictionary(source, method.dictionary_bits, 253, {}, unpacked_size, out);
}

}  // namespace luma
