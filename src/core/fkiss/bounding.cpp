#include "core/fkiss/bounding.h"

#include <algorithm>
#include <limits>

#include "core/fkiss/fkiss_script.h"

namespace luma {
namespace {

int64_t Clamp(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

// One axis: `extent` is the object's width or height, `min_offset` its
// smallest cel offset, `size` the playfield's width or height.
void AxisLimits(int extent, int min_offset, int size, BoundingKind kind, bool script_move, int* lo,
                int* hi) {
  if (extent == 0 || kind == BoundingKind::kNone) {
    *lo = -size;
    *hi = 2 * size;
    return;
  }
  *lo = kind == BoundingKind::kVisibleCels && min_offset > 0 ? -min_offset : 0;
  *hi = size - extent + (script_move ? 1 : 0);
}

}  // namespace

BoundingKind ScriptBoundingKind(BoundsMode mode) {
  switch (mode) {
    case BoundsMode::kAll:
    case BoundsMode::kFkiss:
      return BoundingKind::kAllCels;
    case BoundsMode::kLimited:
    case BoundsMode::kVisible:
      return BoundingKind::kVisibleCels;
    default:
      return BoundingKind::kNone;
  }
}

BoundingKind UserBoundingKind(BoundsMode mode) {
  switch (mode) {
    case BoundsMode::kAll:
      return BoundingKind::kAllCels;
    case BoundsMode::kVisible:
      return BoundingKind::kVisibleCels;
    default:
      return BoundingKind::kNone;
  }
}

ObjectExtent MeasureObject(const KissObject& object, int set, BoundingKind kind) {
  ObjectExtent extent;
  bool first = true;
  for (const CelInstance* cel : object.cels) {
    if (!cel->cel) continue;
    if (kind == BoundingKind::kVisibleCels && !(cel->mapped && cel->in_set[set])) continue;
    extent.width = std::max(extent.width, cel->cel->width + cel->x_offset);
    extent.height = std::max(extent.height, cel->cel->height + cel->y_offset);
    extent.min_x_offset = first ? cel->x_offset : std::min(extent.min_x_offset, cel->x_offset);
    extent.min_y_offset = first ? cel->y_offset : std::min(extent.min_y_offset, cel->y_offset);
    first = false;
  }
  return extent;
}

MoveLimits ComputeMoveLimits(const KissObject& object, const ObjectLinks* links, int set,
                             const PlayfieldSize& playfield, BoundingKind kind, bool script_move) {
  const ObjectExtent extent = MeasureObject(object, set, kind);
  MoveLimits limits;
  AxisLimits(extent.width, extent.min_x_offset, playfield.width, kind, script_move, &limits.x_min,
             &limits.x_max);
  AxisLimits(extent.height, extent.min_y_offset, playfield.height, kind, script_move, &limits.y_min,
             &limits.y_max);
  if (links && links->x_limited) {
    limits.x_min = links->x_min;
    limits.x_max = links->x_max;
  }
  if (links && links->y_limited) {
    limits.y_min = links->y_min;
    limits.y_max = links->y_max;
  }
  return limits;
}

Position ClampToLimits(int64_t x, int64_t y, const MoveLimits& limits) {
  // An object wider than the playfield has its maximum below its minimum:
  // it keeps to the left (top) edge, as Patrol Bounds places it.
  const int64_t x_max = std::max(limits.x_min, limits.x_max);
  const int64_t y_max = std::max(limits.y_min, limits.y_max);
  return Position{static_cast<int>(Clamp(x, limits.x_min, x_max)),
                  static_cast<int>(Clamp(y, limits.y_min, y_max))};
}

bool ObjectInSet(const KissObject& object, int set) {
  for (const CelInstance* cel : object.cels) {
    if (cel->in_set[set]) return true;
  }
  return false;
}

bool ObjectOutsidePlayfield(const KissObject& object, int set, const PlayfieldSize& playfield,
                            BoundingKind kind) {
  const ObjectExtent extent = MeasureObject(object, set, kind);
  const Position& at = object.position[set];
  return at.x < 0 || at.y < 0 || int64_t{at.x} + extent.width > int64_t{playfield.width} + 1 ||
         int64_t{at.y} + extent.height > int64_t{playfield.height} + 1;
}

BoundsMode MoreForgiving(BoundsMode mode) {
  const int next = static_cast<int>(mode) + 1;
  return static_cast<BoundsMode>(std::min(next, static_cast<int>(BoundsMode::kNone)));
}

}  // namespace luma
