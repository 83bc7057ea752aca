// Timers: alarms set plainly, at random or on a condition, and the time left.
#include <algorithm>
#include <cstdint>

#include "core/fkiss/action_handlers.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/host/host.h"

namespace luma {

bool FkissActions::Timer(FkissRuntime& run, const FkissAction& action) {
  run.ScheduleAlarm(run.AlarmOf(action.params[0]), run.Value(action.params[1]));
  return true;
}

bool FkissActions::Randomtimer(FkissRuntime& run, const FkissAction& action) {
  FkissEvent* alarm = run.AlarmOf(action.params[0]);
  if (!alarm) return true;
  const int32_t range = run.Value(action.params[2]);
  const uint32_t delay = static_cast<uint32_t>(run.Value(action.params[1])) +
                         (range == 0 ? 0u : static_cast<uint32_t>(run.host_.Random() % range));
  run.ScheduleAlarm(alarm, static_cast<int32_t>(delay));
  return true;
}

bool FkissActions::IfFixed(FkissRuntime& run, const FkissAction& action) {
  const KissObject* object = run.ObjectOf(action.params[0]);
  if (object) ScheduleIf(run, action, (object->fix != 0) == (action.code == kCmdIffixed));
  return true;
}

bool FkissActions::IfMoved(FkissRuntime& run, const FkissAction& action) {
  const KissObject* object = run.ObjectOf(action.params[0]);
  if (!object) return true;
  const int set = run.view_.CurrentSet();
  const bool moved = !(object->position[set] == object->initial_position[set]);
  ScheduleIf(run, action, moved == (action.code == kCmdIfmoved));
  return true;
}

bool FkissActions::IfMapped(FkissRuntime& run, const FkissAction& action) {
  const FkissTarget target = run.TargetOf(action.params[0]);
  if (target.empty()) return true;
  ScheduleIf(run, action, TargetMapped(target) == (action.code == kCmdIfmapped));
  return true;
}

void FkissActions::ScheduleIf(FkissRuntime& run, const FkissAction& action, bool condition) {
  FkissEvent* alarm = run.AlarmOf(action.params[1]);
  if (alarm && condition) run.ScheduleAlarm(alarm, run.Value(action.params[2]));
}

bool FkissActions::Lettimer(FkissRuntime& run, const FkissAction& action) {
  const FkissEvent* alarm = run.AlarmOf(action.params[1]);
  if (!alarm) return true;
  // -1 for an alarm that is not set.
  int32_t remaining = -1;
  if (alarm->pending) remaining = std::max(0, ClockDifference(alarm->due_time, run.time_base_));
  run.script_.SetVariable(action.params[0].value, remaining);
  return true;
}

}  // namespace luma
