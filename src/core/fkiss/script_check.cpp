#include "core/fkiss/script_check.h"

#include <algorithm>
#include <unordered_set>

#include "core/fkiss/fkiss_script.h"
#include "core/host/text.h"
#include "core/model/doll_model.h"

namespace luma {
namespace {

bool IsFlowToLabel(int code, int position) {
  switch (code) {
    case kCmdGosub:
    case kCmdGoto:
    case kCmdRepeat:
      return position == 0;
    case kCmdGosubrandom:
    case kCmdGotorandom:
      return position == 1 || position == 2;
    default:
      return false;
  }
}

bool IsAlarmReference(int code, int position) {
  switch (code) {
    case kCmdTimer:
    case kCmdRandomtimer:
      return position == 0;
    case kCmdIffixed:
    case kCmdIfnotfixed:
    case kCmdIfmapped:
    case kCmdIfnotmapped:
    case kCmdIfmoved:
    case kCmdIfnotmoved:
      return position == 1;
    default:
      return false;
  }
}

// The label or alarm a parameter names, or nullptr for a variable or an
// unknown number.
FkissEvent* Referenced(const FkissScript& script, const FkissParam& param, bool label) {
  if (param.kind == RK_LABEL || param.kind == RK_ALARM) return param.event;
  if (param.kind != RK_NUMBER) return nullptr;
  const uint32_t id = static_cast<uint32_t>(param.value);
  return label ? script.FindLabel(id) : script.FindAlarm(id);
}

}  // namespace

int ComputeFkissLevel(const FkissScript& script, const DollModel& doll) {
  // A cel group alone makes a doll FKiSS 4, script or not.
  if (!doll.groups().empty() || script.HasNamedAlarms() || script.HasNamedLabels()) {
    return kFkissLevel4;
  }
  for (const std::string& name : script.variable_names()) {
    if (name.size() > 2 || (name.size() == 2 && !IsAsciiDigit(name[1]))) return kFkissLevel4;
  }
  if (script.opened_events.empty()) return kFkissLevelNone;
  int level = script.variable_names().empty() ? kFkissLevelNone : kFkissLevel3;
  for (const FkissEvent* event : script.opened_events) {
    if (event->actions.empty()) continue;
    level = std::max<int>(level, FkissCommandTable::Row(event->code).level);
    for (const FkissAction& action : event->actions) {
      const FkissCommandInfo& row = FkissCommandTable::Row(action.code);
      level = std::max<int>(level, row.level);
      for (int i = 0; i < 3; ++i) {
        if ((row.mask[i] & PT_OBJECT) && action.params[i].kind == RK_VARIABLE) {
          return kFkissLevel4;
        }
      }
    }
    if (level == kFkissLevel4) return level;
  }
  return level;
}

void CheckScript(FkissScript& script, DollModel& doll, ErrorReport& report) {
  script.level = ComputeFkissLevel(script, doll);
  doll.fkiss_level = script.level;
  if (script.level == kFkissLevelNone) script.script_flag = false;

  script.event_count = 0;
  script.action_count = 0;
  bool alarms_from_variables = false;
  bool labels_from_variables = false;
  std::unordered_set<const FkissEvent*> reached_labels;
  std::unordered_set<const FkissEvent*> reached_alarms;
  for (const FkissEvent* event : script.opened_events) {
    if (!event->actions.empty()) ++script.event_count;
    script.action_count += static_cast<int>(event->actions.size());
    for (const FkissAction& action : event->actions) {
      if ((action.code == kCmdTimer || action.code == kCmdRandomtimer)) {
        const FkissParam& alarm = action.params[0];
        if (alarm.kind == RK_NUMBER && !script.FindAlarm(static_cast<uint32_t>(alarm.value))) {
          report.Warning(kMsgFkissTimerNoAlarm, alarm.value);
        }
      }
      for (int i = 0; i < 3; ++i) {
        const FkissParam& param = action.params[i];
        if (IsFlowToLabel(action.code, i)) {
          // A repeat's label from a variable keeps numeric labels examined.
          if (param.kind == RK_VARIABLE && action.code != kCmdRepeat) labels_from_variables = true;
          const FkissEvent* label = Referenced(script, param, true);
          if (label && label != event) reached_labels.insert(label);
        } else if (IsAlarmReference(action.code, i)) {
          if (param.kind == RK_VARIABLE && i == 0) alarms_from_variables = true;
          if (const FkissEvent* alarm = Referenced(script, param, false)) {
            reached_alarms.insert(alarm);
          }
        }
      }
    }
  }

  const std::vector<FkissEvent*> labels = script.Labels();
  for (const FkissEvent* label : labels) {
    if (reached_labels.count(label)) continue;
    if (!label->id_name.empty()) {
      report.Warning(kMsgFkissLabelUnreachable, label->id_name);
    } else if (!labels_from_variables) {
      report.Warning(kMsgFkissLabelNumberUnreachable, static_cast<int>(label->id_number));
    }
  }
  const std::vector<FkissEvent*> alarms = script.Alarms();
  for (const FkissEvent* alarm : alarms) {
    if (reached_alarms.count(alarm)) continue;
    if (!alarm->id_name.empty()) {
      report.Warning(kMsgFkissAlarmUnreachable, alarm->id_name);
    } else if (!alarms_from_variables) {
      report.Warning(kMsgFkissAlarmNumberUnreachable, static_cast<int>(alarm->id_number));
    }
  }

  for (const FkissEvent* alarm : alarms) {
    if (alarm->id_name.empty()) continue;
    for (const FkissEvent* label : labels) {
      if (!label->id_name.empty() && EqualsIgnoreCase(alarm->id_name, label->id_name)) {
        report.Warning(kMsgFkissAlarmIsLabel, alarm->id_name, label->id_name);
      }
    }
    const int variable = script.FindVariable(alarm->id_name);
    if (variable >= 0) {
      report.Warning(kMsgFkissAlarmIsVariable, alarm->id_name, script.variable_names()[variable]);
    }
  }
  for (const FkissEvent* label : labels) {
    if (label->id_name.empty()) continue;
    const int variable = script.FindVariable(label->id_name);
    if (variable >= 0) {
      report.Warning(kMsgFkissLabelIsVariable, label->id_name, script.variable_names()[variable]);
    }
  }
}

}  // namespace luma
