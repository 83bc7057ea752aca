#include "core/doll/fkiss_stages.h"

#include "core/fkiss/parse_fkiss.h"

namespace luma {

FkissStages::FkissStages(const Settings& settings) {
  options_.no_missing_cel = settings.no_missing_cel;
}

void FkissStages::Register(DollModel& doll, Host& host) {
  script_.Clear();
  (void)RegisterFkiss(doll, script_, &host);
}

void FkissStages::Interpret(DollModel& doll, Host& host) {
  (void)InterpretFkiss(doll, script_, options_, &host);
}

}  // namespace luma
