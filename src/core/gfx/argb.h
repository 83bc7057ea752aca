#ifndef LUMA_CORE_GFX_ARGB_H_
#define LUMA_CORE_GFX_ARGB_H_

#include <cstdint>

// 32-bit colours as the engine holds them: alpha in the top byte, then red,
// green, blue (in memory on a little-endian machine: blue, green, red, alpha).
namespace luma {

constexpr uint32_t Argb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}
constexpr uint32_t AlphaOf(uint32_t argb) { return argb >> 24; }
constexpr uint32_t RedOf(uint32_t argb) { return (argb >> 16) & 0xFF; }
constexpr uint32_t GreenOf(uint32_t argb) { return (argb >> 8) & 0xFF; }
constexpr uint32_t BlueOf(uint32_t argb) { return argb & 0xFF; }

// A4R4G4B4 texels keep the high nibble of each channel. As bytes in memory:
// low byte = green nibble, blue nibble; high byte = alpha nibble, red nibble.
constexpr uint16_t ReduceToA4R4G4B4(uint32_t argb) {
  return static_cast<uint16_t>(((argb >> 16) & 0xF000) | ((argb >> 12) & 0x0F00) |
                               ((argb >> 8) & 0x00F0) | ((argb >> 4) & 0x000F));
}

// Back to 32 bits with each nibble in the high half of its byte, the way a
// 16-bit texel is written out as a 32-bit cel pixel.
constexpr uint32_t WidenA4R4G4B4(uint16_t texel) {
  return ((texel & 0xF000u) << 16) | ((texel & 0x0F00u) << 12) | ((texel & 0x00F0u) << 8) |
         ((texel & 0x000Fu) << 4);
}

// Back to 32 bits the way the device samples a 16-bit texel: each nibble is
// repeated (0xA becomes 0xAA), so 0xF is full intensity.
constexpr uint32_t ExpandA4R4G4B4(uint16_t texel) {
  uint32_t x = texel;
  x = (x | (x << 8)) & 0x00FF00FFu;
  x = (x | (x << 4)) & 0x0F0F0F0Fu;
  return x | (x << 4);
}

}  // namespace luma

#endif  // LUMA_CORE_GFX_ARGB_H_
