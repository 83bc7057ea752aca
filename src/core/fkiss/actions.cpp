// The executor: what parameters stand for at run time, and the dispatch of
// actions to the handlers the command table names.
#include <algorithm>
#include <cstdint>

#include "core/fkiss/action_handlers.h"
#include "core/fkiss/command_table.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/host/host.h"
#include "core/host/text.h"
#include "core/model/doll_model.h"

namespace luma {

// --- Parameters -----------------------------------------------------------------

int32_t FkissRuntime::Value(const FkissParam& param) const {
  return param.kind == RK_VARIABLE ? script_.GetVariable(param.value) : param.value;
}

KissObject* FkissRuntime::ObjectOf(const FkissParam& param) const {
  if (param.kind == RK_OBJECT) return param.object;
  if (param.kind == RK_VARIABLE) return doll_.FindObject(script_.GetVariable(param.value), false);
  return nullptr;
}

FkissTarget FkissRuntime::TargetOf(const FkissParam& param) const {
  switch (param.kind) {
    case RK_OBJECT:
      return FkissTarget::Of(param.object);
    case RK_CEL:
      return FkissTarget::Of(param.cel);
    case RK_CELSET:
      return FkissTarget::Of(param.cel_set);
    case RK_VARIABLE:
      if (KissObject* object = ObjectOf(param)) return FkissTarget::Of(object);
      return {};
    default:
      return {};
  }
}

FkissEvent* FkissRuntime::LabelOf(const FkissParam& param) const {
  if (param.kind == RK_LABEL) return param.event;
  return script_.FindLabel(static_cast<uint32_t>(Value(param)));
}

FkissEvent* FkissRuntime::AlarmOf(const FkissParam& param) const {
  if (param.kind == RK_ALARM) return param.event;
  return script_.FindAlarm(static_cast<uint32_t>(Value(param)));
}

std::string FkissRuntime::TraceParam(const FkissParam& param) const {
  switch (param.kind) {
    case RK_OBJECT:
      return StringPrintf("#%d", param.object ? param.object->number : param.value);
    case RK_CEL:
      return "\"" + (param.cel && param.cel->cel ? param.cel->cel->file_name : param.text) + "\"";
    case RK_CELSET:
      if (param.lex_kind == TK_GROUP) return "!" + param.cel_set->name;
      return "\"" + param.cel_set->name + "\"";
    case RK_NUMBER:
      return StringPrintf("%ld", static_cast<long>(param.value));
    case RK_LABEL:
    case RK_ALARM:
      return param.event->id_name.empty()
                 ? StringPrintf("%ld",
                                static_cast<long>(static_cast<int32_t>(param.event->id_number)))
                 : param.event->id_name;
    case RK_VARIABLE: {
      const auto& names = script_.variable_names();
      const std::string& name = param.value >= 0 && static_cast<size_t>(param.value) < names.size()
                                    ? names[param.value]
                                    : param.text;
      return StringPrintf("%s=%ld", name.c_str(),
                          static_cast<long>(script_.GetVariable(param.value)));
    }
    case RK_FILE:
      if (param.value < 0 || static_cast<size_t>(param.value) >= doll_.external_files.size()) {
        return "\"\"";
      }
      return "\"" + doll_.external_files[param.value].name + "\"";
    case RK_POOL:
      return param.value >= 0 ? script_.pool_names()[param.value] : std::string();
    case RK_POOLVALUE: {
      const std::string pool = param.value2 >= 0 ? script_.pool_names()[param.value2] : "";
      return pool + "." + script_.value_ids()[param.value];
    }
    default:
      return "\"" + param.text + "\"";
  }
}

// --- The executor ---------------------------------------------------------------

bool FkissRuntime::ExecuteAction(const FkissAction& action, const FkissCommandInfo& row) {
  // The runner steps the rows without a handler (blocks) itself.
  return row.handler == nullptr || row.handler(*this, action);
}

int32_t RandomBetween(Host& host, int32_t a, int32_t b) {
  if (a == b) return a;
  const int64_t lo = std::min(a, b);
  const int64_t hi = std::max(a, b);
  return static_cast<int32_t>(host.Random() % (hi - lo + 1) + lo);
}

}  // namespace luma
