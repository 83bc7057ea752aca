#include "core/doll/fkiss_stages.h"

#include "core/fkiss/parse_fkiss.h"

namespace luma {

FkissStages::FkissStages(const Settings& settings) {
  options_.no_missing_cel = settings.no_missing_cel;
}

Status FkissStages::Register(DollModel& doll) {
  script_.Clear();
  return RegisterFkiss(doll, script_);
}

Status FkissStages::Interpret(DollModel& doll, Host& host) {
  return InterpretFkiss(doll, script_, options_, &host);
}

}  // namespace luma
