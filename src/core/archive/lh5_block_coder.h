#ifndef LUMA_CORE_ARCHIVE_LH5_BLOCK_CODER_H_
#define LUMA_CORE_ARCHIVE_LH5_BLOCK_CODER_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/archive/lzh_bit_writer.h"

namespace luma {

// The entropy stage of the static-Huffman methods: buffers literal and match
// codes, and for each full buffer sends one block (code count, code-length
// code, literal/length code, position code, then the codes themselves).
class Lh5BlockCoder {
 public:
  // Literals 0-255 and match lengths 3-256 as codes 256-509.
  static constexpr int kLiteralLengthSymbols = 510;
  static constexpr int kMinMatch = 3;
  static constexpr int kCodeLengthSymbols = 19;
  static constexpr size_t kBufferSize = 32768;

  // 13 dictionary bits or fewer use 14 position symbols and a 4-bit count
  // field; larger dictionaries 16 symbols and 5 bits.
  explicit Lh5BlockCoder(int dictionary_bits);

  // Starts a stream appended to `out`, which gives up once `limit` bytes
  // would be exceeded (see LzhBitWriter).
  void Start(std::vector<uint8_t>* out, size_t limit);
  void Literal(uint8_t byte);
  // `position` is the match distance minus one.
  void Match(int length, uint32_t position);
  // Sends the last block and pads the final byte.
  void Finish();

  bool unpackable() const { return bits_.overflow(); }

 private:
  static constexpr int kMaxPositionSymbols = 16;

  void Output(int code, uint32_t position);
  void SendBlock();
  int LiteralLengthCount() const;
  template <typename Emit>
  void ForEachCodeLengthSymbol(Emit emit) const;
  void CountCodeLengthFreq();
  void WriteSmallLengths(std::span<const uint8_t> lengths, int count_bits, int special);
  void WriteLiteralLengths();
  void PutCode(const uint8_t* lengths, const uint16_t* codes, int symbol) {
    bits_.Put(lengths[symbol], codes[symbol]);
  }

  const int position_symbols_;
  const int position_count_bits_;
  LzhBitWriter bits_;

  std::vector<uint8_t> buffer_;
  size_t buffer_pos_ = 0;
  size_t flag_pos_ = 0;
  uint8_t flag_mask_ = 0;
  uint32_t codes_in_block_ = 0;

  std::array<uint32_t, kLiteralLengthSymbols> ll_freq_{};
  std::array<uint32_t, kMaxPositionSymbols> pos_freq_{};
  std::array<uint32_t, kCodeLengthSymbols> cl_freq_{};
  std::array<uint8_t, kLiteralLengthSymbols> ll_len_{};
  std::array<uint16_t, kLiteralLengthSymbols> ll_code_{};
  std::array<uint8_t, kMaxPositionSymbols> pos_len_{};
  std::array<uint16_t, kMaxPositionSymbols> pos_code_{};
  std::array<uint8_t, kCodeLengthSymbols> cl_len_{};
  std::array<uint16_t, kCodeLengthSymbols> cl_code_{};
};

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LH5_BLOCK_CODER_H_
