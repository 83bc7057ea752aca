#include "core/fkiss/alarm_queue.h"

#include <algorithm>

#include "core/fkiss/fkiss_event.h"

namespace luma {

void AlarmQueue::Insert(FkissEvent* alarm) {
  auto later = std::find_if(alarms_.begin(), alarms_.end(), [&](const FkissEvent* queued) {
    return ClockDifference(queued->due_time, alarm->due_time) > 0;
  });
  alarms_.insert(later, alarm);
  alarm->pending = true;
}

void AlarmQueue::Remove(FkissEvent* alarm) {
  auto it = std::find(alarms_.begin(), alarms_.end(), alarm);
  if (it != alarms_.end()) alarms_.erase(it);
  alarm->pending = false;
}

FkissEvent* AlarmQueue::PopHead() {
  if (alarms_.empty()) return nullptr;
  FkissEvent* alarm = alarms_.front();
  alarms_.erase(alarms_.begin());
  alarm->pending = false;
  return alarm;
}

}  // namespace luma
