// The LArc methods. Both address the dictionary by absolute ring position
// rather than by distance; the sources turn that into the distance the
// shared loop expects.
#include <array>

#include "core/archive/lz_window.h"
#include "core/archive/lzh_bit_reader.h"
#include "core/archive/lzh_decoders.h"

namespace luma {
namespace {

// -lzs-: one flag bit per item, a literal byte or an 11-bit ring position
// and a 4-bit length over a 2 KiB ring.
class LzsSource {
 public:
  explicit LzsSource(std::span<const uint8_t> packed) : reader_(packed) {}

  unsigned NextCode(uint32_t) {
    if (reader_.Get(1)) return reader_.Get(8);
    position_ = reader_.Get(11);
    return reader_.Get(4) + 256;
  }
  uint32_t NextPosition(uint32_t produced) { return (produced - position_ - 18) & 0x7FF; }
  bool Exhausted() const { return reader_.Exhausted(); }

 private:
  LzhBitReader reader_;
  uint32_t position_ = 0;
};

// -lz5-: whole bytes; a flag byte, used from its lowest bit, precedes every
// eight items; a match is 12 bits of ring position and 4 bits of length.
class Lz5Source {
 public:
  explicit Lz5Source(std::span<const uint8_t> packed)
      : next_(packed.data()), end_(packed.data() + packed.size()) {}

  unsigned NextCode(uint32_t) {
    if (flags_left_ == 0) {
      flags_ = NextByte();
      flags_left_ = 8;
    }
    --flags_left_;
    const bool literal = flags_ & 1;
    flags_ >>= 1;
    if (literal) return NextByte();
    const unsigned a = NextByte();
    const unsigned b = NextByte();
    position_ = a | (b & 0xF0) << 4;
    return (b & 0x0F) + 256;
  }
  uint32_t NextPosition(uint32_t produced) { return (produced - position_ - 19) & 0xFFF; }
  bool Exhausted() const { return padding_ > 8; }

 private:
  unsigned NextByte() {
    if (next_ < end_) return *next_++;
    ++padding_;
    return 0;
  }

  const uint8_t* next_;
  const uint8_t* end_;
  size_t padding_ = 0;
  unsigned flags_ = 0;
  int flags_left_ = 0;
  uint32_t position_ = 0;
};

// The 4 KiB ring that -lz5- starts from: 18 spaces, 13 copies of each byte
// value, the values ascending, descending, 128 zeros and 110 spaces.
std::array<uint8_t, 4096> Lz5Preset() {
  std::array<uint8_t, 4096> ring;
  ring.fill(' ');
  size_t at = 18;
  for (int v = 0; v < 256; ++v) {
    for (int k = 0; k < 13; ++k) ring[at++] = static_cast<uint8_t>(v);
  }
  for (int v = 0; v < 256; ++v) ring[at++] = static_cast<uint8_t>(v);
  for (int v = 255; v >= 0; --v) ring[at++] = static_cast<uint8_t>(v);
  for (int k = 0; k < 128; ++k) ring[at++] = 0;
  return ring;
}

}  // namespace

bool DecodeLarc(const LzhMethodInfo& method, std::span<const uint8_t> packed,
                uint32_t unpacked_size, LzhOutput& out) {
  if (method.method == LzhMethod::kLzs) {
    LzsSource source(packed);
    return DecodeSlidingDictionary(source, method.dictionary_bits, 254, {}, unpacked_size, out);
  }
  Lz5Source source(packed);
  const std::array<uint8_t, 4096> preset = Lz5Preset();
  return DecodeSlidingDictionary(source, method.dictionary_bits, 253, preset, unpacked_size, out);
}

}  // namespace luma
