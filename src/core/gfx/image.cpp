#include "core/gfx/image.h"

#include <algorithm>
#include <cstring>

namespace luma {

Image Image::CopyOf(const ImageView& source, int x, int y, int width, int height) {
  Image out(std::max(width, 0), std::max(height, 0));
  const int x0 = std::max(x, 0);
  const int x1 = std::min(x + width, source.width);
  if (x1 <= x0) return out;
  for (int row = 0; row < out.height; ++row) {
    const int sy = y + row;
    if (sy < 0 || sy >= source.height) continue;
    std::memcpy(&out.at(x0 - x, row), source.pixels + static_cast<size_t>(sy) * source.stride + x0,
                static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
  }
  return out;
}

}  // namespace luma
