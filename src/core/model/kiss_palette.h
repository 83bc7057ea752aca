#ifndef LUMA_CORE_MODEL_KISS_PALETTE_H_
#define LUMA_CORE_MODEL_KISS_PALETTE_H_

#include <array>
#include <cstdint>
#include <string>

namespace luma {

inline constexpr int kPaletteGroupCount = 10;
inline constexpr int kPaletteColorCount = 256;

// 32-bit ARGB: alpha in the top byte, then red, green, blue.
using ColorTable = std::array<uint32_t, kPaletteColorCount>;

constexpr uint32_t MakeArgb(uint32_t a, uint32_t r, uint32_t g, uint32_t b) {
  return (a << 24) | (r << 16) | (g << 8) | b;
}

// One KCF file: ten colour tables of 256 colours whatever the file holds.
// A new palette (and the built-in "default") has in every group: entry 0
// transparent black, odd entries opaque white, other even entries opaque grey.
struct KissPalette {
  KissPalette();
  explicit KissPalette(std::string palette_name);

  std::string name;       // as written on the palette line
  std::string full_path;  // disk dolls only
  int group_count = 0;    // palette groups found in the file (1-10)
  int colors = 0;         // 16 or 256 once read
  std::array<ColorTable, kPaletteGroupCount> groups;

  static ColorTable DefaultTable();
};

}  // namespace luma

#endif  // LUMA_CORE_MODEL_KISS_PALETTE_H_
