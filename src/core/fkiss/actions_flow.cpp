// Flow: calls, jumps and loops through labels, and the end of the doll.
#include "core/fkiss/action_handlers.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/host/host.h"

namespace luma {

bool FkissActions::Gosub(FkissRuntime& run, const FkissAction& action) {
  if (FkissEvent* label = run.LabelOf(action.params[0])) run.Call(label);
  return true;
}

bool FkissActions::Goto(FkissRuntime& run, const FkissAction& action) {
  if (FkissEvent* label = run.LabelOf(action.params[0])) run.Call(label);
  return false;
}

bool FkissActions::JumpRandom(FkissRuntime& run, const FkissAction& action) {
  // Parameter 1 is the percentage of runs that take the first label.
  const bool first = run.host_.Random() % 100 < run.Value(action.params[0]);
  if (FkissEvent* label = run.LabelOf(action.params[first ? 1 : 2])) run.Call(label);
  return action.code == kCmdGosubrandom;
}

bool FkissActions::Repeat(FkissRuntime& run, const FkissAction& action) {
  FkissEvent* label = run.LabelOf(action.params[0]);
  const int32_t count = run.Value(action.params[1]);
  if (!label || count <= 0) return true;
  run.frames_.push_back(FkissRuntime::Frame{label, 0, count, action.params[2].value,
                                            FkissRuntime::Frame::kRepeat, 0});
  return true;
}

bool FkissActions::Nop(FkissRuntime&, const FkissAction&) { return true; }

bool FkissActions::Quit(FkissRuntime& run, const FkissAction&) {
  run.quit_ = true;
  run.depth_ = 0;
  run.view_.RequestClose();
  return false;
}

}  // namespace luma
