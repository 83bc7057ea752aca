#include <limits>

#include "core/fkiss/fkiss_runtime.h"
#include "core/host/host.h"

namespace luma {

void FkissRuntime::ScheduleAlarm(FkissEvent* alarm, int32_t delay) {
  if (!alarm) return;
  CancelAlarm(alarm);
  if (delay == 0) return;
  alarm->due_time = time_base_ + static_cast<uint32_t>(delay);
  const bool earliest =
      alarms_.empty() || ClockDifference(alarms_.head()->due_time, alarm->due_time) > 0;
  alarms_.Insert(alarm);
  if (!trace_step_mode_ && (earliest || next_wake_ == 0)) next_wake_ = alarm->due_time;
}

void FkissRuntime::CancelAlarm(FkissEvent* alarm) {
  if (!alarm || !alarm->pending) return;
  alarms_.Remove(alarm);
  if (alarms_.empty()) next_wake_ = 0;
}

uint32_t FkissRuntime::ProcessAlarms() {
  if (paused_ || !running_ || quit_ || trace_step_mode_ || dispatching_) return 0;
  int budget = quick_timer_;
  int pass_actions = 0;
  bool ran = false;
  uint32_t now = host_.Milliseconds();
  uint32_t result = 0;
  while (!quit_) {
    now = host_.Milliseconds();
    if (alarms_.empty()) {
      result = 0;
      break;
    }
    const int32_t wait = ClockDifference(alarms_.head()->due_time, now);
    if (budget == 0 || pass_actions >= max_alarm_pass_actions_) {
      result = wait > 1 ? static_cast<uint32_t>(wait) : 1;
      break;
    }
    if (wait > 0) {
      result = static_cast<uint32_t>(wait);
      break;
    }
    --budget;
    ran = true;
    commands_ = 0;
    pass_room_ = max_alarm_pass_actions_ - pass_actions;
    RunEvent(alarms_.PopHead(), true);
    pass_room_ = std::numeric_limits<int>::max();
    pass_actions += commands_;
    if (pass_actions >= max_alarm_pass_actions_) ReportAlarmPassLimit(pass_actions);
  }
  if (ran) view_.RedrawAll();
  next_wake_ = result == 0 ? 0 : now + result;
  return result;
}

void FkissRuntime::StepAlarm() {
  if (paused_ || !running_ || quit_ || dispatching_) return;
  if (FkissEvent* alarm = alarms_.PopHead()) RunEvent(alarm, true);
  view_.RedrawAll();
}

}  // namespace luma
