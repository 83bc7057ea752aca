#include "core/archive/crc16.h"

#include <array>

namespace luma {
namespace {

// Eight tables so that the common path folds eight bytes per step; table k
// holds the CRC of a byte followed by k zero bytes. Built at compile time.
using CrcTables = std::array<std::array<uint16_t, 256>, 8>;

constexpr CrcTables MakeTables() {
  CrcTables t{};
  for (unsigned i = 0; i < 256; ++i) {
    unsigned crc = i;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 1) ? (crc >> 1) ^ 0xA001 : crc >> 1;
    t[0][i] = static_cast<uint16_t>(crc);
  }
  for (size_t k = 1; k < t.size(); ++k) {
    for (unsigned i = 0; i < 256; ++i) {
      const uint16_t prev = t[k - 1][i];
      t[k][i] = static_cast<uint16_t>((prev >> 8) ^ t[0][prev & 0xFF]);
    }
  }
  return t;
}

constexpr CrcTables kTables = MakeTables();
static_assert(kTables[0][1] == 0xC0C1 && kTables[0][2] == 0xC181);

}  // namespace

uint16_t UpdateCrc16(uint16_t crc, const uint8_t* data, size_t size) {
  const auto& t = kTables;
  while (size >= 8) {
    const unsigned lo = (crc ^ data[0]) & 0xFF;
    const unsigned hi = ((crc >> 8) ^ data[1]) & 0xFF;
    crc = static_cast<uint16_t>(t[7][lo] ^ t[6][hi] ^ t[5][data[2]] ^ t[4][data[3]] ^
                                t[3][data[4]] ^ t[2][data[5]] ^ t[1][data[6]] ^ t[0][data[7]]);
    data += 8;
    size -= 8;
  }
  while (size--) crc = static_cast<uint16_t>(t[0][(crc ^ *data++) & 0xFF] ^ (crc >> 8));
  return crc;
}

}  // namespace luma
