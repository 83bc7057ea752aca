#ifndef LUMA_CORE_MODEL_CEL_GEOMETRY_H_
#define LUMA_CORE_MODEL_CEL_GEOMETRY_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "core/gfx/render_device.h"

namespace luma {

struct CelInstance;

// One visible 16 x 16 tile of a cel instance.
struct CelQuad {
  CelInstance* instance = nullptr;
  int first_vertex = 0;  // in the instance's vertex buffer
  int width = 16;
  int height = 16;
  int x = 0;  // the tile's place in cel texels
  int y = 0;
};

// One flag per tile, row by row: 1 when some texel of the tile is visible.
using TileOpacityMap = std::vector<uint32_t>;

// What the renderer keeps per cel instance: the cel cut into 16 x 16 tiles,
// one triangle strip of 2 x columns + 2 vertices per tile row.
struct InstanceGeometry {
  static constexpr int kTileSize = 16;

  int columns = 0;
  int rows = 0;
  std::unique_ptr<VertexBuffer> vertex_buffer;
  TileOpacityMap opacity;
  std::vector<CelQuad> quads;  // visible tiles, row-major
  unsigned palette_base = 0;   // first device palette of the instance's KCF (paletted mode)

  int vertices_per_row() const { return 2 * columns + 2; }
  int vertex_count() const { return rows * vertices_per_row(); }
  bool drawable() const { return vertex_buffer != nullptr; }
};

}  // namespace luma

#endif  // LUMA_CORE_MODEL_CEL_GEOMETRY_H_
