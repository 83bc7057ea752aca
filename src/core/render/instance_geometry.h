#ifndef LUMA_CORE_RENDER_INSTANCE_GEOMETRY_H_
#define LUMA_CORE_RENDER_INSTANCE_GEOMETRY_H_

#include <cstdint>

#include "core/gfx/render_device.h"
#include "core/host/status.h"
#include "core/model/cel_instance.h"

namespace luma {

// The diffuse colour of an instance's vertices: white, alpha 255 - transparency.
constexpr uint32_t InstanceDiffuse(int transparency) {
  return (static_cast<uint32_t>(255 - transparency) << 24) | 0x00FFFFFFu;
}

// Cuts the instance's cel into 16 x 16 tiles: the opacity of each tile (from
// the cel's indices, or its texels), a vertex buffer with one strip per tile
// row, and a CelQuad per visible tile. Fills in the instance's offsets from
// the cel unless the CNF line gave them. An instance whose cel has no
// texture gets no geometry and is never drawn. Fails with kOutOfMemoryText
// when the vertex buffer or the tile lists cannot be made.
Status BuildInstanceGeometry(RenderDevice& device, CelInstance& instance);

// Rewrites every vertex after the cel's texture region has moved, keeping
// the opacity map and refreshing the quads in the same order.
void RebuildInstanceVertices(CelInstance& instance);

// Clamps to 0..255 and stores the value; only a change rewrites the vertex
// alphas. Returns whether the value changed.
bool SetInstanceTransparency(CelInstance& instance, int value);

// The quads (visible tiles) of an instance.
inline int QuadCount(const CelInstance& instance) {
  return static_cast<int>(instance.geometry.quads.size());
}

}  // namespace luma

#endif  // LUMA_CORE_RENDER_INSTANCE_GEOMETRY_H_
