#include "core/archive/lzh_decoders.h"

namespace luma {

bool DecodeStored(const LzhMethodInfo&, std::span<const uint8_t> packed, uint32_t unpacked_size,
                  std::vector<uint8_t>& out) {
  // The bytes must all be there; copying whatever follows the member instead
  // would only end in a CRC failure.
  if (packed.size() < unpacked_size) return false;
  out.assign(packed.begin(), packed.begin() + unpacked_size);
  return true;
}

bool DecodeNothing(const LzhMethodInfo&, std::span<const uint8_t>, uint32_t,
                   std::vector<uint8_t>&) {
  return false;
}

}  // namespace luma
