#ifndef LUMA_CORE_VIEW_PICK_CEL_H_
#define LUMA_CORE_VIEW_PICK_CEL_H_

#include <cstdint>

#include "core/fkiss/script_view.h"
#include "core/model/doll_model.h"

namespace luma {

// Why a cel is picked: the left button and pointer moves skip ghosted cels;
// the right button, which only shows information, skips invisible ones.
enum class PickPurpose { kEvents, kInformation };

// The part of the playfield the view shows.
struct DollWindow {
  PlayPoint origin;
  PlayPoint size;

  bool Contains(PlayPoint p) const {
    return p.x >= origin.x && p.y >= origin.y && int64_t{p.x} - origin.x < size.x &&
           int64_t{p.y} - origin.y < size.y;
  }
};

// The top-most cel of `set` under the doll point: the first cel line in CNF
// order that is placed in the set, mapped, passes the purpose's rule, and
// has a visible texel under the point, or with `easy_click` above 0 within
// the square of that radius around it. Nothing outside the doll window.
CelInstance* PickCel(const DollModel& doll, int set, PlayPoint point, const DollWindow& window,
                     int easy_click, PickPurpose purpose);

// Whether the cel instance has a visible texel at the doll point, or within
// `radius` of it.
bool CelHit(const CelInstance& cel, int set, PlayPoint point, int radius);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_PICK_CEL_H_
