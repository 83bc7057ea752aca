#ifndef LUMA_CORE_RENDER_BORDER_GEOMETRY_H_
#define LUMA_CORE_RENDER_BORDER_GEOMETRY_H_

#include <array>
#include <cstdint>

#include "core/gfx/device_types.h"
#include "core/model/doll_limits.h"

namespace luma {

// Six triangle fans of six vertices (four triangles) each, in world units
// before the playfield translation:
//   fans 1 and 2 (vertices 0 and 6): the face colour left of and above, and
//     right of and below, the doll window, drawn over the cels;
//   fans 3 and 4 (12 and 18): a 2-unit dark band along the window's top and
//     left and a light band along its bottom and right ("Edged Border");
//   fans 5 and 6 (24 and 30): the face colour around the playfield, drawn
//     under the cels.
struct BorderGeometry {
  int window_x = 0;  // the doll window in playfield coordinates
  int window_y = 0;
  int window_width = 0;
  int window_height = 0;
  int playfield_width = 0;
  int playfield_height = 0;
  uint32_t face = 0xFF000000;
  uint32_t light = 0xFF000000;
  uint32_t dark = 0xFF000000;

  friend bool operator==(const BorderGeometry&, const BorderGeometry&) = default;
};

inline constexpr int kBorderVertexCount = 36;
inline constexpr int kBorderFanVertices = 6;
inline constexpr int kBorderFanTriangles = 4;
// A point beyond any edge: past the farthest doll window a doll can have,
// with room for the widest view around it.
inline constexpr float kBorderFar = 1000000.0f;
static_assert(kBorderFar >= 2.0f * kMaxCoordinate);

std::array<ColoredVertex, kBorderVertexCount> BuildBorderVertices(const BorderGeometry& border);

}  // namespace luma

#endif  // LUMA_CORE_RENDER_BORDER_GEOMETRY_H_
