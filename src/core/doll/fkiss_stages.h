#ifndef LUMA_CORE_DOLL_FKISS_STAGES_H_
#define LUMA_CORE_DOLL_FKISS_STAGES_H_

#include "core/doll/script_stages.h"
#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/interpreter.h"
#include "core/host/settings.h"

namespace luma {

// Loading's script stages done by the FKiSS parser; owns the doll's script.
class FkissStages : public ScriptStages {
 public:
  explicit FkissStages(const Settings& settings);

  Status Register(DollModel& doll) override;
  Status Interpret(DollModel& doll, Host& host) override;
  void Clear() override { script_.Clear(); }
  int event_count() const override { return script_.event_count; }
  int action_count() const override { return script_.action_count; }
  FkissScript* fkiss() override { return &script_; }

 private:
  FkissParseOptions options_;
  FkissScript script_;
};

}  // namespace luma

#endif  // LUMA_CORE_DOLL_FKISS_STAGES_H_
