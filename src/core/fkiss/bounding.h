#ifndef LUMA_CORE_FKISS_BOUNDING_H_
#define LUMA_CORE_FKISS_BOUNDING_H_

#include <cstdint>

#include "core/model/doll_model.h"

namespace luma {

struct ObjectLinks;

// Which cels keep an object inside the playfield when it moves.
enum class BoundingKind { kAllCels, kVisibleCels, kNone };

// The doll's bounding mode as it applies to moves by the script and by the user.
BoundingKind ScriptBoundingKind(BoundsMode mode);
BoundingKind UserBoundingKind(BoundsMode mode);

// The object's extent for bounding: the largest cel width plus x offset and
// height plus y offset over its cels (all of them, or those mapped in `set`),
// and the smallest offsets among those cels.
struct ObjectExtent {
  int width = 0;
  int height = 0;
  int min_x_offset = 0;
  int min_y_offset = 0;
};
ObjectExtent MeasureObject(const KissObject& object, int set, BoundingKind kind);

// The range an object's position may take in `set`. Limits a script gave the
// object win; a script move may end one unit further right and down than a
// user drag.
struct MoveLimits {
  int x_min = 0, x_max = 0, y_min = 0, y_max = 0;
};
MoveLimits ComputeMoveLimits(const KissObject& object, const ObjectLinks* links, int set,
                             const PlayfieldSize& playfield, BoundingKind kind, bool script_move);

// (x, y) held inside the limits; takes wide values so that sums never wrap.
Position ClampToLimits(int64_t x, int64_t y, const MoveLimits& limits);

// Some cel of the object is placed in `set`.
bool ObjectInSet(const KissObject& object, int set);
// The object, measured for `kind`, pokes out of the playfield in `set`: left
// of or above it, or more than one unit beyond its right or bottom edge.
bool ObjectOutsidePlayfield(const KissObject& object, int set, const PlayfieldSize& playfield,
                            BoundingKind kind);
// The next more forgiving mode: All, FKiSS, Limited, Visible, None; None stays.
BoundsMode MoreForgiving(BoundsMode mode);

}  // namespace luma

#endif  // LUMA_CORE_FKISS_BOUNDING_H_
