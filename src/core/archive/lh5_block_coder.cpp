#include "core/archive/lh5_block_coder.h"

#include <algorithm>
#include <bit>
#include <span>

#include "core/archive/huffman_code_builder.h"

namespace luma {
namespace {

// A new flag byte and up to eight codes of at most three bytes each must
// still fit behind the buffer position.
constexpr size_t kBlockReserve = 24;

int BitLength(uint32_t value) { return static_cast<int>(std::bit_width(value)); }

// The only used symbol of a table with fewer than two, or 0 for none.
int SingleSymbol(std::span<const uint32_t> freq) {
  for (size_t s = 0; s < freq.size(); ++s) {
    if (freq[s] != 0) return static_cast<int>(s);
  }
  return 0;
}

}  // namespace

Lh5BlockCoder::Lh5BlockCoder(int dictionary_bits)
    : position_symbols_(dictionary_bits <= 13 ? 14 : 16),
      position_count_bits_(dictionary_bits <= 13 ? 4 : 5),
      buffer_(kBufferSize) {}

void Lh5BlockCoder::Start(std::vector<uint8_t>* out, size_t limit) {
  bits_.Start(out, limit);
  buffer_pos_ = 0;
  flag_pos_ = 0;
  flag_mask_ = 0;
  codes_in_block_ = 0;
  ll_freq_.fill(0);
  pos_freq_.fill(0);
}

void Lh5BlockCoder::Literal(uint8_t byte) { Output(byte, 0); }

void Lh5BlockCoder::Match(int length, uint32_t position) {
  Output(length + 256 - kMinMatch, position);
}

void Lh5BlockCoder::Finish() {
  if (unpackable()) return;
  if (codes_in_block_ != 0) SendBlock();
  bits_.Flush();
}

void Lh5BlockCoder::Output(int code, uint32_t position) {
  flag_mask_ >>= 1;
  if (flag_mask_ == 0) {
    flag_mask_ = 0x80;
    if (buffer_pos_ >= kBufferSize - kBlockReserve) {
      SendBlock();
      if (unpackable()) return;
      buffer_pos_ = 0;
    }
    flag_pos_ = buffer_pos_++;
    buffer_[flag_pos_] = 0;
  }
  buffer_[buffer_pos_++] = static_cast<uint8_t>(code);
  ++ll_freq_[code];
  ++codes_in_block_;
  if (code >= 256) {
    buffer_[flag_pos_] |= flag_mask_;
    buffer_[buffer_pos_++] = static_cast<uint8_t>(position >> 8);
    buffer_[buffer_pos_++] = static_cast<uint8_t>(position);
    ++pos_freq_[BitLength(position)];
  }
}

void Lh5BlockCoder::SendBlock() {
  bits_.Put(16, codes_in_block_);
  if (BuildHuffmanLengths(ll_freq_, ll_len_) >= 2) {
    AssignCanonicalCodes(ll_len_, ll_code_);
    CountCodeLengthFreq();
    if (BuildHuffmanLengths(cl_freq_, cl_len_) >= 2) {
      AssignCanonicalCodes(cl_len_, cl_code_);
      WriteSmallLengths(cl_len_, 5, 3);
    } else {
      bits_.Put(5, 0);
      bits_.Put(5, SingleSymbol(cl_freq_));
    }
    WriteLiteralLengths();
  } else {
    bits_.Put(5, 0);
    bits_.Put(5, 0);
    bits_.Put(9, 0);
    bits_.Put(9, SingleSymbol(ll_freq_));
  }

  const std::span<const uint32_t> pos_freq(pos_freq_.data(), position_symbols_);
  if (BuildHuffmanLengths(pos_freq, std::span(pos_len_.data(), position_symbols_)) >= 2) {
    AssignCanonicalCodes(std::span(pos_len_.data(), position_symbols_), pos_code_);
    WriteSmallLengths(std::span(pos_len_.data(), position_symbols_), position_count_bits_, -1);
  } else {
    bits_.Put(position_count_bits_, 0);
    bits_.Put(position_count_bits_, SingleSymbol(pos_freq));
  }

  size_t at = 0;
  uint8_t flags = 0;
  for (uint32_t i = 0; i < codes_in_block_; ++i) {
    if (i % 8 == 0) {
      flags = buffer_[at++];
    } else {
      flags <<= 1;
    }
    if (flags & 0x80) {
      PutCode(ll_len_.data(), ll_code_.data(), buffer_[at] + 256);
      const uint32_t position = (uint32_t{buffer_[at + 1]} << 8) | buffer_[at + 2];
      at += 3;
      const int bits = BitLength(position);
      PutCode(pos_len_.data(), pos_code_.data(), bits);
      if (bits > 1) bits_.Put(bits - 1, position);
    } else {
      PutCode(ll_len_.data(), ll_code_.data(), buffer_[at++]);
    }
    if (unpackable()) return;
  }
  ll_freq_.fill(0);
  pos_freq_.fill(0);
  codes_in_block_ = 0;
}

// The literal/length code lengths as code-length symbols: 0 one zero length,
// 1 a run of 3-18 zero lengths (4-bit count follows), 2 a run of 20 or more
// (9-bit count), 3-18 a length of 1-16. Calls emit(symbol, extra_bits,
// extra_value) for each, after trailing zero lengths have been dropped.
template <typename Emit>
void Lh5BlockCoder::ForEachCodeLengthSymbol(Emit emit) const {
  const int n = LiteralLengthCount();
  int i = 0;
  while (i < n) {
    const int len = ll_len_[i++];
    if (len != 0) {
      emit(len + 2, 0, 0);
      continue;
    }
    int run = 1;
    while (i < n && ll_len_[i] == 0) {
      ++i;
      ++run;
    }
    if (run <= 2) {
      for (int k = 0; k < run; ++k) emit(0, 0, 0);
    } else if (run <= 18) {
      emit(1, 4, run - 3);
    } else if (run == 19) {
      emit(0, 0, 0);
      emit(1, 4, 15);
    } else {
      emit(2, 9, run - 20);
    }
  }
}

int Lh5BlockCoder::LiteralLengthCount() const {
  int n = kLiteralLengthSymbols;
  while (n > 0 && ll_len_[n - 1] == 0) --n;
  return n;
}

void Lh5BlockCoder::CountCodeLengthFreq() {
  cl_freq_.fill(0);
  ForEachCodeLengthSymbol([this](int symbol, int, int) { ++cl_freq_[symbol]; });
}

void Lh5BlockCoder::WriteLiteralLengths() {
  bits_.Put(9, LiteralLengthCount());
  ForEachCodeLengthSymbol([this](int symbol, int extra_bits, int extra) {
    PutCode(cl_len_.data(), cl_code_.data(), symbol);
    if (extra_bits != 0) bits_.Put(extra_bits, extra);
  });
}

// Lengths of the code-length and position codes: up to 6 in 3 bits, longer
// ones as a unary tail; after the `special`-th length a 2-bit count skips
// zero lengths up to index 6.
void Lh5BlockCoder::WriteSmallLengths(std::span<const uint8_t> len, int count_bits, int special) {
  int n = static_cast<int>(len.size());
  while (n > 0 && len[n - 1] == 0) --n;
  bits_.Put(count_bits, n);
  int i = 0;
  while (i < n) {
    const int k = len[i++];
    if (k <= 6) {
      bits_.Put(3, k);
    } else {
      bits_.Put(k - 3, (1u << (k - 3)) - 2);
    }
    if (i == special) {
      while (i < 6 && len[i] == 0) ++i;
      bits_.Put(2, (i - 3) & 3);
    }
  }
}

}  // namespace luma
