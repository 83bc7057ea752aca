#ifndef LUMA_CORE_FKISS_FKISS_EVENT_H_
#define LUMA_CORE_FKISS_FKISS_EVENT_H_

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/fkiss/command_table.h"
#include "core/fkiss/fkiss_param.h"

namespace luma {

// One action of an event's list.
struct FkissAction {
  std::array<FkissParam, 3> params;
  int32_t code = kCmdNop;
};

// One event and its actions. Alarms and labels are events too; an alarm's due
// time and pending flag belong to the running script.
struct FkissEvent {
  std::vector<FkissAction> actions;
  // Named alarm or label id, at most 32 characters; empty when unnamed.
  std::string id_name;
  uint32_t id_number = 0;
  uint32_t due_time = 0;
  bool pending = false;
  int32_t code = kCmdNever;
  // The name shown in traces, statistics and diagnostics.
  std::string display_name = "UNKNOWN()";
  // Set once a head in the script opened this event.
  bool opened = false;
};

// Display names of event heads.
std::string AlarmDisplayName(const FkissEvent& alarm);  // alarm(3) / alarm(name)
std::string LabelDisplayName(const FkissEvent& label);
// "press(%s)" and the other one-target heads; `target` is already written as a target.
std::string TargetEventDisplayName(int code, const std::string& target);
// "in(%s, %s)" and the other pair heads.
std::string PairEventDisplayName(int code, const std::string& first, const std::string& second);
std::string NumberEventDisplayName(int code, int number);           // col(%d), set(%d), version(%d)
std::string KeyEventDisplayName(int code, const std::string& key);  // keypress("%s")
std::string DetachedDisplayName(int object_number);                 // detached(#%d)
std::string FixedEventDisplayName(int code);  // begin() end() initialize() ...

}  // namespace luma

#endif  // LUMA_CORE_FKISS_FKISS_EVENT_H_
