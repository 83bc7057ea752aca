#include "core/testing/image_files.h"

#include <cstring>

namespace luma::testing {

std::vector<uint8_t> MakeCel(int bits, int width, int height, const std::vector<uint32_t>& pixels,
                             int x_offset, int y_offset) {
  std::vector<uint8_t> b(32, 0);
  std::memcpy(b.data(), "KiSS", 4);
  b[4] = bits == 32 ? 0x21 : 0x20;
  b[5] = static_cast<uint8_t>(bits);
  const int values[] = {width, height, x_offset, y_offset};
  for (int i = 0; i < 4; ++i) {
    b[8 + 2 * i] = static_cast<uint8_t>(values[i]);
    b[9 + 2 * i] = static_cast<uint8_t>(values[i] >> 8);
  }
  for (int y = 0; y < height; ++y) {
    if (bits == 4) {
      for (int x = 0; x < width; x += 2) {
        const uint32_t hi = pixels[y * width + x] & 15;
        const uint32_t lo = x + 1 < width ? pixels[y * width + x + 1] & 15 : 0;
        b.push_back(static_cast<uint8_t>(hi << 4 | lo));
      }
    } else {
      for (int x = 0; x < width; ++x) {
        const uint32_t p = pixels[y * width + x];
        if (bits == 8) {
          b.push_back(static_cast<uint8_t>(p));
        } else {
          b.insert(b.end(), {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16), uint8_t(p >> 24)});
        }
      }
    }
  }
  return b;
}

std::vector<uint8_t> MakeKcf(const std::vector<std::vector<uint32_t>>& groups) {
  std::vector<uint8_t> b(32, 0);
  std::memcpy(b.data(), "KiSS", 4);
  b[4] = 0x10;
  b[5] = 24;
  const size_t colors = groups.empty() ? 0 : groups[0].size();
  b[8] = static_cast<uint8_t>(colors);
  b[9] = static_cast<uint8_t>(colors >> 8);
  b[10] = static_cast<uint8_t>(groups.size());
  for (const auto& group : groups) {
    for (uint32_t rgb : group) {
      b.insert(b.end(), {uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb)});
    }
  }
  return b;
}

Image ReadBmp(const std::string& bytes) {
  auto u32 = [&](size_t at) {
    return static_cast<uint32_t>(
        static_cast<uint8_t>(bytes[at]) | static_cast<uint8_t>(bytes[at + 1]) << 8 |
        static_cast<uint8_t>(bytes[at + 2]) << 16 | static_cast<uint8_t>(bytes[at + 3]) << 24);
  };
  if (bytes.size() < 54 || bytes[0] != 'B' || bytes[1] != 'M' || bytes[28] != 24) return Image();
  const int width = static_cast<int>(u32(18)), height = static_cast<int>(u32(22));
  const size_t row = (static_cast<size_t>(width) * 3 + 3) & ~size_t{3};
  if (bytes.size() < u32(10) + row * height) return Image();
  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const size_t at = u32(10) + (height - 1 - y) * row + 3 * x;
      image.at(x, y) = 0xFF000000u | static_cast<uint8_t>(bytes[at + 2]) << 16 |
                       static_cast<uint8_t>(bytes[at + 1]) << 8 | static_cast<uint8_t>(bytes[at]);
    }
  }
  return image;
}

}  // namespace luma::testing
