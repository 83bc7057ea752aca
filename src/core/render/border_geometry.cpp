#include "core/render/border_geometry.h"

namespace luma {

std::array<ColoredVertex, kBorderVertexCount> BuildBorderVertices(const BorderGeometry& b) {
  const float r = kBorderFar;
  const float left = b.window_x;
  const float right = static_cast<float>(static_cast<double>(b.window_x) + b.window_width);
  const float top = -static_cast<float>(b.window_y);
  const float bottom = -static_cast<float>(static_cast<double>(b.window_y) + b.window_height);
  const float pw = b.playfield_width, ph = -static_cast<float>(b.playfield_height);
  std::array<ColoredVertex, kBorderVertexCount> v;
  auto fan = [&](int first, uint32_t color, std::array<float, 12> xy) {
    for (int i = 0; i < kBorderFanVertices; ++i) {
      v[first + i] = {xy[2 * i], xy[2 * i + 1], 0, color};
    }
  };
  // Outside the doll window: left and above, then right and below.
  fan(0, b.face, {left, top, left, -r, -r, -r, -r, r, r, r, r, top});
  fan(6, b.face, {right, bottom, right, top, r, top, r, -r, left, -r, left, bottom});
  // The sunken frame: dark along the top and left, light along the bottom and right.
  fan(12, b.dark,
      {left - 2, top + 2, right + 2, top + 2, right, top, left, top, left, bottom, left - 2,
       bottom - 2});
  fan(18, b.light,
      {right + 2, bottom - 2, left - 2, bottom - 2, left, bottom, right, bottom, right, top,
       right + 2, top + 2});
  // Outside the playfield.
  fan(24, b.face, {0, 0, 0, -r, -r, -r, -r, r, r, r, r, 0});
  fan(30, b.face, {pw, ph, pw, 0, r, 0, r, -r, 0, -r, 0, ph});
  return v;
}

}  // namespace luma
