#ifndef LUMA_CORE_ARCHIVE_CRC16_H_
#define LUMA_CORE_ARCHIVE_CRC16_H_

#include <cstddef>
#include <cstdint>
#include <span>

namespace luma {

// CRC-16/ARC as LZH archives store it: reflected polynomial 0xA001, initial
// value 0, no final inversion. Feed consecutive ranges by passing the
// previous result back in as `crc`.
uint16_t UpdateCrc16(uint16_t crc, const uint8_t* data, size_t size);

inline uint16_t Crc16(std::span<const uint8_t> data) {
  return UpdateCrc16(0, data.data(), data.size());
}

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_CRC16_H_
