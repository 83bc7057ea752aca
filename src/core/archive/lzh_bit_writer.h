#ifndef LUMA_CORE_ARCHIVE_LZH_BIT_WRITER_H_
#define LUMA_CORE_ARCHIVE_LZH_BIT_WRITER_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace luma {

// Packs bit fields from the most significant end of each byte and appends
// the bytes to an output vector, but never more than `limit` bytes: a packed
// member that would reach the size of its source is useless (it is stored
// instead), so the writer gives up at that point and says so.
class LzhBitWriter {
 public:
  void Start(std::vector<uint8_t>* out, size_t limit) {
    out_ = out;
    limit_ = limit;
    written_ = 0;
    bits_ = 0;
    count_ = 0;
    overflow_ = false;
  }

  // Writes the low `n` bits of `value`, highest first; n is at most 16.
  void Put(int n, uint32_t value) {
    bits_ = (bits_ << n) | (value & ((1u << n) - 1));
    count_ += n;
    while (count_ >= 8) {
      count_ -= 8;
      Emit(static_cast<uint8_t>(bits_ >> count_));
    }
  }

  // Pads the last partial byte with zero bits.
  void Flush() { Put(7, 0); }

  // True once a byte was refused because the limit was reached.
  bool overflow() const { return overflow_; }
  size_t written() const { return written_; }

 private:
  void Emit(uint8_t byte) {
    if (written_ < limit_) {
      out_->push_back(byte);
      ++written_;
    } else {
      overflow_ = true;
    }
  }

  std::vector<uint8_t>* out_ = nullptr;
  size_t limit_ = 0;
  size_t written_ = 0;
  uint32_t bits_ = 0;  // only the low count_ bits are pending
  int count_ = 0;
  bool overflow_ = false;
};

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZH_BIT_WRITER_H_
