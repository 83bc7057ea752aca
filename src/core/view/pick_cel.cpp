#include "core/view/pick_cel.h"

#include <algorithm>

#include "core/model/cel_codec.h"

namespace luma {
namespace {

// The tile holding texel (x, y) has something visible. Instances without
// tiles (no geometry yet) leave the question to the texels.
bool TileVisible(const CelInstance& cel, int x, int y) {
  const InstanceGeometry& g = cel.geometry;
  if (g.opacity.empty() || g.columns <= 0) return true;
  const size_t tile = static_cast<size_t>(y / InstanceGeometry::kTileSize) * g.columns +
                      x / InstanceGeometry::kTileSize;
  return tile < g.opacity.size() && g.opacity[tile] != 0;
}

}  // namespace

bool CelHit(const CelInstance& cel, int set, PlayPoint point, int radius) {
  const KissCel* image = cel.cel;
  if (image == nullptr || image->texture == nullptr || cel.object == nullptr) return false;
  const Position& at = cel.object->position[set];
  // The square around the point in the cel's texels, cut to the cel.
  const int64_t left = int64_t{point.x} - radius - at.x - cel.x_offset;
  const int64_t top = int64_t{point.y} - radius - at.y - cel.y_offset;
  const int64_t x0 = std::max<int64_t>(left, 0);
  const int64_t y0 = std::max<int64_t>(top, 0);
  const int64_t x1 = std::min<int64_t>(left + 2 * radius, image->width - 1);
  const int64_t y1 = std::min<int64_t>(top + 2 * radius, image->height - 1);
  for (int64_t y = y0; y <= y1; ++y) {
    for (int64_t x = x0; x <= x1; ++x) {
      const int tx = static_cast<int>(x), ty = static_cast<int>(y);
      if (TileVisible(cel, tx, ty) && IsOpaque(*image, tx, ty)) return true;
    }
  }
  return false;
}

CelInstance* PickCel(const DollModel& doll, int set, PlayPoint point, const DollWindow& window,
                     int easy_click, PickPurpose purpose) {
  if (set < 0 || set >= kSetCount || !window.Contains(point)) return nullptr;
  const int radius = std::max(0, easy_click);
  for (const auto& instance : doll.instances()) {
    const CelInstance& cel = *instance;
    if (!cel.in_set[set] || !cel.mapped) continue;
    if (purpose == PickPurpose::kEvents ? cel.ghost : cel.transparency >= 255) continue;
    if (CelHit(cel, set, point, radius)) return instance.get();
  }
  return nullptr;
}

}  // namespace luma
