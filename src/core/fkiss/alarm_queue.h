#ifndef LUMA_CORE_FKISS_ALARM_QUEUE_H_
#define LUMA_CORE_FKISS_ALARM_QUEUE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace luma {

struct FkissEvent;

// Millisecond clock values wrap after about 49 days; they are compared by
// their signed difference, so order holds across the wrap for times less
// than about 24 days apart.
inline int32_t ClockDifference(uint32_t later, uint32_t earlier) {
  return static_cast<int32_t>(later - earlier);
}

// The pending alarms of one doll, earliest due first; alarms due at the same
// time keep the order in which they were scheduled. An alarm is queued at
// most once; its pending flag says whether it is.
class AlarmQueue {
 public:
  // Queues `alarm` (not queued yet) by its due time and sets its pending flag.
  void Insert(FkissEvent* alarm);
  // Takes `alarm` out if queued and clears its pending flag.
  void Remove(FkissEvent* alarm);
  // Takes the head out and clears its pending flag; nullptr when empty.
  FkissEvent* PopHead();
  FkissEvent* head() const { return alarms_.empty() ? nullptr : alarms_.front(); }
  bool empty() const { return alarms_.empty(); }
  size_t size() const { return alarms_.size(); }
  // Forgets every alarm without touching it: the events may be gone with a
  // script that was closed or rebuilt. Their pending flags are the owner's.
  void Forget() { alarms_.clear(); }

 private:
  std::vector<FkissEvent*> alarms_;
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_ALARM_QUEUE_H_
