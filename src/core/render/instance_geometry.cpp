#include "core/render/instance_geometry.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "core/model/kiss_cel.h"
#include "core/model/messages.h"

namespace luma {
namespace {

constexpr int kTile = InstanceGeometry::kTileSize;

// Writes the four vertices of tile (x, y) at `out`. Strip order: bottom-left,
// top-left, bottom-right, top-right; y is negated because cel rows grow
// downwards and world y upwards. Edge tiles are full 16 x 16 quads: the
// texels past the cel's edge lie in its blocks and are transparent.
void WriteTile(TexturedVertex* out, const KissCel& cel, int x, int y, uint32_t diffuse) {
  const float tw = cel.texture_width;
  const float th = cel.texture_height;
  const float left = x, right = x + kTile;
  const float top = -static_cast<float>(y), bottom = -static_cast<float>(y + kTile);
  const float u_left = (cel.texture_x + x) / tw, u_right = (cel.texture_x + x + kTile) / tw;
  const float v_top = (cel.texture_y + y) / th, v_bottom = (cel.texture_y + y + kTile) / th;
  out[0] = {left, bottom, 0, diffuse, u_left, v_bottom};
  out[1] = {left, top, 0, diffuse, u_left, v_top};
  out[2] = {right, bottom, 0, diffuse, u_right, v_bottom};
  out[3] = {right, top, 0, diffuse, u_right, v_top};
}

int FirstVertex(const InstanceGeometry& g, int row, int column) {
  return 2 * ((g.columns + 1) * row + column);
}

bool TileVisible(const KissCel& cel, const LockedRect& lock, int x0, int y0) {
  const int x1 = std::min<int>(x0 + kTile, cel.width);
  const int y1 = std::min<int>(y0 + kTile, cel.height);
  if (cel.index_buffer) {
    for (int y = y0; y < y1; ++y) {
      const uint8_t* row = cel.index_buffer->data() + static_cast<size_t>(y) * cel.width;
      if (std::any_of(row + x0, row + x1, [](uint8_t v) { return v != 0; })) return true;
    }
    return false;
  }
  const TextureFormat format = cel.texture->format();
  const int bpp = BytesPerTexel(format);
  for (int y = y0; y < y1; ++y) {
    const uint8_t* row = lock.bits + static_cast<size_t>(cel.texture_y + y) * lock.pitch +
                         static_cast<size_t>(cel.texture_x) * bpp;
    for (int x = x0; x < x1; ++x) {
      const uint8_t* t = row + x * bpp;
      const bool visible = format == TextureFormat::kP8         ? t[0] != 0
                           : format == TextureFormat::kA4R4G4B4 ? (t[1] >> 4) != 0
                                                                : t[3] != 0;
      if (visible) return true;
    }
  }
  return false;
}

}  // namespace

Status BuildInstanceGeometry(RenderDevice& device, CelInstance& instance) {
  InstanceGeometry& g = instance.geometry;
  g = InstanceGeometry();
  const KissCel* cel = instance.cel;
  if (cel == nullptr || cel->texture == nullptr) return Status::Ok();
  if (!instance.x_offset_given) instance.x_offset = cel->x_offset;
  if (!instance.y_offset_given) instance.y_offset = cel->y_offset;
  g.columns = (cel->width + kTile - 1) / kTile;
  g.rows = (cel->height + kTile - 1) / kTile;
  if (g.columns == 0 || g.rows == 0) return Status::Ok();

  auto out_of_memory = [&] {
    g = InstanceGeometry();
    return Status::Error(kOutOfMemoryText);
  };
  const MemoryPool pool =
      device.flags().memory_saver ? MemoryPool::kSystemMemory : MemoryPool::kManaged;
  if (device.CreateVertexBuffer(static_cast<size_t>(g.vertex_count()) * sizeof(TexturedVertex),
                                VertexFormat::kPositionDiffuseTex1, pool,
                                &g.vertex_buffer) != DeviceResult::kOk) {
    return out_of_memory();
  }
  try {
    g.opacity.assign(static_cast<size_t>(g.columns) * g.rows, 0);
  } catch (const std::bad_alloc&) {
    return out_of_memory();
  }

  const uint32_t diffuse = InstanceDiffuse(instance.transparency);
  auto* vertices = reinterpret_cast<TexturedVertex*>(g.vertex_buffer->Lock());
  const LockedRect lock = cel->texture->Lock();
  try {
    for (int r = 0; r < g.rows; ++r) {
      for (int k = 0; k < g.columns; ++k) {
        const int x = k * kTile, y = r * kTile;
        const bool visible = TileVisible(*cel, lock, x, y);
        g.opacity[r * g.columns + k] = visible ? 1 : 0;
        const int first = FirstVertex(g, r, k);
        WriteTile(vertices + first, *cel, x, y, diffuse);
        if (visible) g.quads.push_back({&instance, first, kTile, kTile, x, y});
      }
    }
  } catch (const std::bad_alloc&) {
    cel->texture->Unlock();
    g.vertex_buffer->Unlock();
    return out_of_memory();
  }
  cel->texture->Unlock();
  g.vertex_buffer->Unlock();
  return Status::Ok();
}

void RebuildInstanceVertices(CelInstance& instance) {
  InstanceGeometry& g = instance.geometry;
  if (!g.drawable() || instance.cel == nullptr) return;
  const uint32_t diffuse = InstanceDiffuse(instance.transparency);
  auto* vertices = reinterpret_cast<TexturedVertex*>(g.vertex_buffer->Lock());
  size_t quad = 0;
  for (int r = 0; r < g.rows; ++r) {
    for (int k = 0; k < g.columns; ++k) {
      const int x = k * kTile, y = r * kTile;
      const int first = FirstVertex(g, r, k);
      WriteTile(vertices + first, *instance.cel, x, y, diffuse);
      if (g.opacity[r * g.columns + k] && quad < g.quads.size()) {
        g.quads[quad++] = {&instance, first, kTile, kTile, x, y};
      }
    }
  }
  g.vertex_buffer->Unlock();
}

bool SetInstanceTransparency(CelInstance& instance, int value) {
  const uint16_t clamped = static_cast<uint16_t>(std::clamp(value, 0, 255));
  if (clamped == instance.transparency) return false;
  instance.transparency = clamped;
  InstanceGeometry& g = instance.geometry;
  if (!g.drawable()) return true;
  const uint32_t diffuse = InstanceDiffuse(clamped);
  auto* vertices = reinterpret_cast<TexturedVertex*>(g.vertex_buffer->Lock());
  for (int i = 0; i < g.vertex_count(); ++i) vertices[i].diffuse = diffuse;
  g.vertex_buffer->Unlock();
  return true;
}

}  // namespace luma
