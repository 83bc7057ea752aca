// Movement: where objects go, how far they may, whether they stay, and where
// they stand.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/fkiss/action_handlers.h"
#include "core/fkiss/bounding.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/host/host.h"
#include "core/model/doll_limits.h"
#include "core/model/doll_model.h"

namespace luma {

bool FkissActions::Move(FkissRuntime& run, const FkissAction& action) {
  KissObject* object = run.ObjectOf(action.params[0]);
  if (!object) return true;
  const Position at = object->position[run.view_.CurrentSet()];
  run.MoveObjectByScript(object, int64_t{at.x} + run.Value(action.params[1]),
                         int64_t{at.y} + run.Value(action.params[2]));
  return true;
}

bool FkissActions::Moveto(FkissRuntime& run, const FkissAction& action) {
  KissObject* object = run.ObjectOf(action.params[0]);
  if (!object) return true;
  run.MoveObjectByScript(object, run.Value(action.params[1]), run.Value(action.params[2]));
  return true;
}

bool FkissActions::MoveBy(FkissRuntime& run, const FkissAction& action) {
  KissObject* object = run.ObjectOf(action.params[0]);
  if (!object) return true;
  const KissObject* reference = run.ObjectOf(action.params[1]);
  if (!reference) return true;
  const int set = run.view_.CurrentSet();
  const Position at = object->position[set];
  int64_t x = at.x, y = at.y;
  if (action.code == kCmdMovebyx) {
    x = static_cast<int64_t>(reference->position[set].x) + run.Value(action.params[2]);
  } else {
    y = static_cast<int64_t>(reference->position[set].y) + run.Value(action.params[2]);
  }
  run.MoveObjectByScript(object, x, y);
  return true;
}

bool FkissActions::MoveRandom(FkissRuntime& run, const FkissAction& action) {
  KissObject* object = run.ObjectOf(action.params[0]);
  if (!object) return true;
  const Position at = object->position[run.view_.CurrentSet()];
  int64_t x = at.x, y = at.y;
  const int64_t offset =
      RandomBetween(run.host_, run.Value(action.params[1]), run.Value(action.params[2]));
  (action.code == kCmdMoverandx ? x : y) += offset;
  run.MoveObjectByScript(object, x, y);
  return true;
}

bool FkissActions::Movetorand(FkissRuntime& run, const FkissAction& action) {
  KissObject* object = run.ObjectOf(action.params[0]);
  if (!object) return true;
  const DollModel& doll = run.doll_;
  const MoveLimits limits =
      ComputeMoveLimits(*object, run.script_.FindLinks(object), run.view_.CurrentSet(),
                        doll.playfield, ScriptBoundingKind(doll.hints.bounds), true);
  const int64_t x_range = std::max<int64_t>(0, int64_t{limits.x_max} - limits.x_min);
  const int64_t y_range = std::max<int64_t>(0, int64_t{limits.y_max} - limits.y_min);
  const int64_t x = limits.x_min + run.host_.Random() % (x_range + 1);
  const int64_t y = limits.y_min + run.host_.Random() % (y_range + 1);
  run.MoveObjectByScript(object, x, y);
  return true;
}

bool FkissActions::Restrict(FkissRuntime& run, const FkissAction& action) {
  KissObject* object = run.ObjectOf(action.params[0]);
  if (!object) return true;
  const int32_t lo = run.Value(action.params[1]);
  const int32_t hi = run.Value(action.params[2]);
  const bool x_axis = action.code == kCmdRestrictx;
  ObjectLinks& links = run.script_.Links(object);
  bool& limited = x_axis ? links.x_limited : links.y_limited;
  if (hi < lo) {
    limited = false;
    return true;
  }
  limited = true;
  (x_axis ? links.x_min : links.y_min) = LimitCoordinate(lo);
  (x_axis ? links.x_max : links.y_max) = LimitCoordinate(hi);
  const Position at = object->position[run.view_.CurrentSet()];
  run.MoveObjectByScript(object, at.x, at.y);
  return true;
}

bool FkissActions::Setfix(FkissRuntime& run, const FkissAction& action) {
  KissObject* object = run.ObjectOf(action.params[0]);
  if (!object) return true;
  const int32_t value = run.Value(action.params[1]);
  const uint32_t old = object->fix;
  object->fix = static_cast<uint32_t>(value);
  if (old == 0 || value != 0) return true;
  // Freed by the script: the unfix events of the object and its cels.
  std::vector<FkissEvent*> events;
  auto add = [&](const FkissTarget& target) {
    if (const TargetRecord* record = run.script_.FindRecord(target)) {
      if (FkissEvent* unfix = record->event(kOnUnfix)) events.push_back(unfix);
    }
  };
  add(FkissTarget::Of(object));
  for (CelInstance* cel : object->cels) add(FkissTarget::Of(cel));
  run.RunLater(std::move(events), false);
  return true;
}

bool FkissActions::LetPosition(FkissRuntime& run, const FkissAction& action) {
  const KissObject* object = run.ObjectOf(action.params[1]);
  if (!object) return true;
  const int set = run.view_.CurrentSet();
  const bool initial = action.code == kCmdLetinitx || action.code == kCmdLetinity;
  const Position& at = initial ? object->initial_position[set] : object->position[set];
  const bool x = action.code == kCmdLetobjectx || action.code == kCmdLetinitx;
  run.script_.SetVariable(action.params[0].value, x ? at.x : at.y);
  return true;
}

bool FkissActions::LetExtent(FkissRuntime& run, const FkissAction& action) {
  const KissObject* object = run.ObjectOf(action.params[1]);
  if (!object) return true;
  const int set = run.view_.CurrentSet();
  // The box around the object's cels in the set.
  bool any = false;
  CelRect box;
  for (const CelInstance* cel : object->cels) {
    if (!cel->in_set[set] || !cel->cel) continue;
    const CelRect r = CelBounds(*cel, set);
    box = any ? CelRect{std::min(box.left, r.left), std::min(box.top, r.top),
                        std::max(box.right, r.right), std::max(box.bottom, r.bottom)}
              : r;
    any = true;
  }
  run.script_.SetVariable(action.params[0].value, action.code == kCmdLetwidth
                                                      ? box.right - box.left
                                                      : box.bottom - box.top);
  return true;
}

bool FkissActions::Letfix(FkissRuntime& run, const FkissAction& action) {
  if (const KissObject* object = run.ObjectOf(action.params[1])) {
    run.script_.SetVariable(action.params[0].value, static_cast<int32_t>(object->fix));
  }
  return true;
}

bool FkissActions::LetOverlap(FkissRuntime& run, const FkissAction& action) {
  const FkissTarget a = run.TargetOf(action.params[1]);
  const FkissTarget b = run.TargetOf(action.params[2]);
  if (a.empty() || b.empty()) return true;
  const bool hit =
      action.code == kCmdLetcollide ? run.PixelOverlapOf(a, b) : run.BoxOverlapOf(a, b);
  run.script_.SetVariable(action.params[0].value, hit ? 1 : 0);
  return true;
}

}  // namespace luma
