// Value pools: values kept between runs, in the doll's private pool or a
// public one the script names.
#include <cstdint>

#include "core/fkiss/action_handlers.h"
#include "core/fkiss/fkiss_runtime.h"

namespace luma {
namespace {

// A pool value that names no pool is in the current pool.
int PoolOf(const FkissParam& value, int current_pool) {
  return value.value2 == kPoolNotGiven ? current_pool : value.value2;
}

}  // namespace

bool FkissActions::Valuepool(FkissRuntime& run, const FkissAction& action) {
  run.current_pool_ = action.params[0].value;
  return true;
}

bool FkissActions::Loadvalue(FkissRuntime& run, const FkissAction& action) {
  const FkissParam& value = action.params[1];
  int32_t loaded = 0;
  if (run.pools_ && run.pools_->Load(PoolOf(value, run.current_pool_), value.value, &loaded)) {
    run.script_.SetVariable(action.params[0].value, loaded);
  }
  return true;
}

bool FkissActions::Savevalue(FkissRuntime& run, const FkissAction& action) {
  const FkissParam& value = action.params[0];
  if (run.pools_) {
    run.pools_->Save(PoolOf(value, run.current_pool_), value.value, run.Value(action.params[1]));
  }
  return true;
}

bool FkissActions::Deletevalue(FkissRuntime& run, const FkissAction& action) {
  const FkissParam& value = action.params[0];
  if (run.pools_) run.pools_->Delete(PoolOf(value, run.current_pool_), value.value);
  return true;
}

}  // namespace luma
