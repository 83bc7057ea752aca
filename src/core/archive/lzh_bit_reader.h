#ifndef LUMA_CORE_ARCHIVE_LZH_BIT_READER_H_
#define LUMA_CORE_ARCHIVE_LZH_BIT_READER_H_

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

namespace luma {

// Reads a member's packed data most significant bit first. Past the end of
// the data it supplies zero bits, so a decoder never reads beyond its member;
// Exhausted() tells when a decoder has gone well past the end, which valid
// data never makes it do.
class LzhBitReader {
 public:
  explicit LzhBitReader(std::span<const uint8_t> data)
      : next_(data.data()), end_(data.data() + data.size()) {
    Fill();
  }

  // Guarantees at least 32 bits for Peek and Skip.
  void Refill() {
    if (count_ < 32) Fill();
  }
  // The next n bits (0 <= n <= 32) without consuming them.
  uint32_t Peek(int n) const { return static_cast<uint32_t>((buffer_ >> 32) >> (32 - n)); }
  void Skip(int n) {
    buffer_ <<= n;
    count_ -= n;
  }
  uint32_t Get(int n) {
    Refill();
    const uint32_t v = Peek(n);
    Skip(n);
    return v;
  }

  // True once more than 8 bytes beyond the data have been consumed.
  bool Exhausted() const { return padding_ * 8 > static_cast<size_t>(count_) + 64; }

 private:
  void Fill() {
    if (end_ - next_ >= 8) {
      uint64_t v;
      std::memcpy(&v, next_, 8);
      if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
      // Whole bytes only; the bits of the byte cut off below are loaded again,
      // at the same place, by the next fill.
      buffer_ |= v >> count_;
      const int bytes = (63 - count_) >> 3;
      next_ += bytes;
      count_ += bytes * 8;
      return;
    }
    while (count_ <= 56) {
      uint64_t b = 0;
      if (next_ < end_) {
        b = *next_++;
      } else {
        ++padding_;
      }
      buffer_ |= b << (56 - count_);
      count_ += 8;
    }
  }

  uint64_t buffer_ = 0;  // unread bits, left-aligned
  int count_ = 0;        // how many of them are valid
  const uint8_t* next_;
  const uint8_t* end_;
  size_t padding_ = 0;  // zero bytes supplied past the end
};

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZH_BIT_READER_H_
