// Display: what shows, how, in which set and palette, and the window.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "core/fkiss/action_handlers.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/model/doll_model.h"

namespace luma {

bool FkissActions::Map(FkissRuntime& run, const FkissAction& action) {
  const FkissTarget target = run.TargetOf(action.params[0]);
  for (CelInstance* cel : TargetCels(target)) {
    const bool mapped = action.code == kCmdMap     ? true
                        : action.code == kCmdUnmap ? false
                                                   : !cel->mapped;
    if (cel->mapped == mapped) continue;
    cel->mapped = mapped;
    run.view_.CelChanged(*cel);
  }
  return true;
}

bool FkissActions::Ghost(FkissRuntime& run, const FkissAction& action) {
  const bool ghost = run.Value(action.params[1]) != 0;
  const FkissTarget target = run.TargetOf(action.params[0]);
  for (CelInstance* cel : TargetCels(target)) {
    if (cel->ghost == ghost) continue;
    cel->ghost = ghost;
    run.view_.CelChanged(*cel);
  }
  return true;
}

bool FkissActions::Transparent(FkissRuntime& run, const FkissAction& action) {
  const int64_t delta = run.Value(action.params[1]);
  const FkissTarget target = run.TargetOf(action.params[0]);
  for (CelInstance* cel : TargetCels(target)) {
    const int value = static_cast<int>(std::clamp<int64_t>(cel->transparency + delta, 0, 255));
    if (value != cel->transparency) run.view_.SetTransparency(*cel, value);
  }
  return true;
}

bool FkissActions::Setkcf(FkissRuntime& run, const FkissAction& action) {
  const int32_t kcf = run.Value(action.params[1]);
  if (kcf < 0 || static_cast<size_t>(kcf) >= run.doll_.palette_file_names.size()) return true;
  const FkissTarget target = run.TargetOf(action.params[0]);
  for (CelInstance* cel : TargetCels(target)) {
    if (cel->palette == kcf) continue;
    cel->palette = static_cast<uint16_t>(kcf);
    run.view_.CelPaletteChanged(*cel);
  }
  return true;
}

bool FkissActions::Setframe(FkissRuntime& run, const FkissAction& action) {
  CelSet* group = action.params[0].cel_set;
  const int32_t frame = run.Value(action.params[1]);
  const std::vector<CelInstance*>* members =
      frame >= 0 && frame < kSetCount ? &group->by_set[frame] : nullptr;
  for (CelInstance* cel : group->instances) {
    const bool in_frame =
        members && std::find(members->begin(), members->end(), cel) != members->end();
    if (cel->mapped == in_frame) continue;
    cel->mapped = in_frame;
    run.view_.CelChanged(*cel);
  }
  run.script_.SetCurrentFrame(group, frame);
  return true;
}

bool FkissActions::Changeset(FkissRuntime& run, const FkissAction& action) {
  const int set = run.Value(action.params[0]);
  if (set < 0 || set >= kSetCount) return true;
  run.EvaluateAll(false, false);
  const int current = run.view_.CurrentSet();
  auto finish = [&run] {
    run.EvaluateAll(true, false);
    run.view_.RedrawAll();
  };
  if (set == current) {
    finish();
    return true;
  }
  const int old_group = run.doll_.sets[current].palette_group;
  run.view_.SetCurrentSet(set);
  // set(n) runs first, then col of a new palette group, then the pairs.
  run.PushTask([&run, set, old_group, finish] {
    const int group = run.doll_.sets[set].palette_group;
    if (group == old_group) {
      finish();
      return;
    }
    run.view_.ActivatePaletteGroup(group);
    run.PushTask(finish);
    if (group >= 0 && group < kSetCount) run.Call(&run.script_.col_events[group]);
  });
  run.Call(&run.script_.set_events[set]);
  return true;
}

bool FkissActions::Changecol(FkissRuntime& run, const FkissAction& action) {
  const int group = run.Value(action.params[0]);
  DollModel& doll = run.doll_;
  if (doll.palettes().empty() || group < 0 || group >= doll.palette_group_count) return true;
  int& current = doll.sets[run.view_.CurrentSet()].palette_group;
  const int previous = current;
  current = group;
  run.view_.ActivatePaletteGroup(group);
  if (group != previous && group < kSetCount) run.Call(&run.script_.col_events[group]);
  run.view_.RedrawAll();
  return true;
}

bool FkissActions::Viewport(FkissRuntime& run, const FkissAction& action) {
  run.view_.SetViewportOrigin({run.Value(action.params[0]), run.Value(action.params[1])});
  run.RunLater(run.CollectMouseRegions(run.view_.Pointer(), nullptr), false);
  return true;
}

bool FkissActions::Windowsize(FkissRuntime& run, const FkissAction& action) {
  const int32_t w = run.Value(action.params[0]), h = run.Value(action.params[1]);
  if (w < 1 || h < 1) return true;
  run.view_.SetWindowSize({w, h});
  run.RunLater(run.CollectMouseRegions(run.view_.Pointer(), nullptr), false);
  return true;
}

bool FkissActions::Letmapped(FkissRuntime& run, const FkissAction& action) {
  const FkissTarget target = run.TargetOf(action.params[1]);
  if (target.empty()) return true;
  int32_t mapped = 0;
  for (const CelInstance* cel : TargetCels(target)) mapped += cel->mapped ? 1 : 0;
  run.script_.SetVariable(action.params[0].value, mapped);
  return true;
}

bool FkissActions::LetCelValue(FkissRuntime& run, const FkissAction& action) {
  const FkissTarget target = run.TargetOf(action.params[1]);
  if (target.empty()) return true;
  const bool kcf = action.code == kCmdLetkcf;
  const auto cels = TargetCels(target);
  // The value the cels share; -1 when they differ.
  int32_t result = kcf ? -1 : 0;
  for (size_t i = 0; i < cels.size(); ++i) {
    const CelInstance& cel = *cels[i];
    const int32_t value =
        kcf ? (cel.cel && !cel.cel->indexed() ? -1 : cel.palette) : cel.transparency;
    if (i == 0) {
      result = value;
    } else if (value != result) {
      result = -1;
      break;
    }
  }
  run.script_.SetVariable(action.params[0].value, result);
  return true;
}

bool FkissActions::Letframe(FkissRuntime& run, const FkissAction& action) {
  run.script_.SetVariable(action.params[0].value,
                          run.script_.CurrentFrame(action.params[1].cel_set));
  return true;
}

bool FkissActions::Letset(FkissRuntime& run, const FkissAction& action) {
  run.script_.SetVariable(action.params[0].value, run.view_.CurrentSet());
  return true;
}

bool FkissActions::Letpal(FkissRuntime& run, const FkissAction& action) {
  run.script_.SetVariable(action.params[0].value,
                          run.doll_.sets[run.view_.CurrentSet()].palette_group);
  return true;
}

}  // namespace luma
