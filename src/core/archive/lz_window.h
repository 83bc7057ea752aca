#ifndef LUMA_CORE_ARCHIVE_LZ_WINDOW_H_
#define LUMA_CORE_ARCHIVE_LZ_WINDOW_H_

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "core/archive/lzh_method.h"

namespace luma {

// The sliding-dictionary loop shared by every compressing method. A code
// source supplies
//   unsigned NextCode(uint32_t produced);      // 0-255 literal, above: match
//   uint32_t NextPosition(uint32_t produced);  // distance - 1 of that match
//   bool Exhausted() const;                    // ran well past its data
// and the loop keeps the history, cuts the last match at the unpacked size
// and hands the bytes to `out` a whole ring at a time.
//
// The ring of 2^kRingBits bytes is at least as large as the dictionary;
// distances are masked to the method's own dictionary so that every method
// sees the history it expects. Before the first byte the history is spaces,
// or `preset` (its last byte being the one just before the output) where a
// method defines one.
template <int kRingBits>
class LzRing {
 public:
  static constexpr uint32_t kSize = 1u << kRingBits;
  static constexpr uint32_t kMask = kSize - 1;

  // Only the history a match can reach before the first byte, the last
  // dictionary's worth of the ring, is set: small members would otherwise
  // spend more time clearing the ring than decoding.
  LzRing(std::span<const uint8_t> preset, int dictionary_bits) : bytes_(new uint8_t[kSize]) {
    const size_t history = std::min<size_t>(size_t{1} << dictionary_bits, kSize);
    std::memset(bytes_.get() + kSize - history, ' ', history);
    const size_t n = std::min<size_t>(preset.size(), kSize);
    if (n > 0) std::memcpy(bytes_.get() + kSize - n, preset.data() + preset.size() - n, n);
  }
  uint8_t* data() { return bytes_.get(); }

 private:
  std::unique_ptr<uint8_t[]> bytes_;
};

// Copies `length` bytes upwards, eight at a time; `from` lies above `to` or
// at least eight bytes below it.
inline void CopyForward(uint8_t* to, const uint8_t* from, uint32_t length) {
  for (; length >= 8; length -= 8, to += 8, from += 8) {
    uint64_t chunk;
    std::memcpy(&chunk, from, 8);
    std::memcpy(to, &chunk, 8);
  }
  while (length--) *to++ = *from++;
}

// The ring of every method up to -lh7-; larger dictionaries need a larger
// one.
inline constexpr int kDefaultRingBits = 16;

template <int kRingBits = kDefaultRingBits, typename Source>
bool DecodeSlidingDictionary(Source& source, int dictionary_bits, unsigned match_offset,
                             std::span<const uint8_t> preset, uint32_t unpacked_size,
                             LzhOutput& out) {
  using LzRing = luma::LzRing<kRingBits>;
  LzRing ring_storage(preset, dictionary_bits);
  uint8_t* const ring = ring_storage.data();
  const uint32_t dictionary_mask = (1u << dictionary_bits) - 1;

  uint32_t p = 0;  // ring position of the next byte
  uint32_t produced = 0;
  auto flush_ring = [&] {
    return out.Write(std::span<const uint8_t>(ring, LzRing::kSize)) && !source.Exhausted();
  };

  while (produced < unpacked_size) {
    const unsigned code = source.NextCode(produced);
    if (code < 256) {
      ring[p] = static_cast<uint8_t>(code);
      p = (p + 1) & LzRing::kMask;
      ++produced;
      if (p == 0 && !flush_ring()) return false;
      continue;
    }
    const uint32_t distance = source.NextPosition(produced) & dictionary_mask;
    uint32_t length = std::min<uint32_t>(code - match_offset, unpacked_size - produced);
    produced += length;
    uint32_t from = (p - distance - 1) & LzRing::kMask;
    if (p + length < LzRing::kSize && from + length <= LzRing::kSize) {
      uint8_t* to = ring + p;
      const uint8_t* src = ring + from;
      p += length;
      if (from > p - length || distance >= 7) {
        // Eight bytes at a time is exact when the source runs ahead of the
        // destination or lags at least eight bytes behind it.
        CopyForward(to, src, length);
      } else if (distance == 0) {
        std::memset(to, *src, length);
      } else {
        // A short repeating pattern: once a whole number of its periods
        // covers eight bytes, the rest copies from that far back.
        const uint32_t period = distance + 1;
        const uint32_t stride = period * ((8 + period - 1) / period);
        const uint32_t head = std::min(length, stride);
        for (uint32_t i = 0; i < head; ++i) to[i] = src[i];
        CopyForward(to + head, to + head - stride, length - head);
      }
      continue;
    }
    while (length--) {
      ring[p] = ring[from];
      from = (from + 1) & LzRing::kMask;
      p = (p + 1) & LzRing::kMask;
      if (p == 0 && !flush_ring()) return false;
    }
  }
  return out.Write(std::span<const uint8_t>(ring, p));
}

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZ_WINDOW_H_
