#include <algorithm>

#include "core/archive/lzh_decoders.h"

namespace luma {

bool DecodeStored(const LzhMethodInfo&, std::span<const uint8_t> packed, uint32_t unpacked_size,
                  LzhOutput& out) {
  // The bytes must all be there; copying whatever follows the member instead
  // would only end in a CRC failure.
  if (packed.size() < unpacked_size) return false;
  constexpr size_t kPiece = 1 << 16;
  for (size_t at = 0; at < unpacked_size; at += kPiece) {
    if (!out.Write(packed.subspan(at, std::min<size_t>(kPiece, unpacked_size - at)))) return false;
  }
  return true;
}

bool DecodeNothing(const LzhMethodInfo&, std::span<const uint8_t>, uint32_t, LzhOutput&) {
  return false;
}

}  // namespace luma
