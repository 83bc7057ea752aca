// Variables and arithmetic.
#include <cstdint>

#include "core/fkiss/action_handlers.h"
#include "core/fkiss/fkiss_runtime.h"

namespace luma {

bool FkissActions::Arithmetic(FkissRuntime& run, const FkissAction& action) {
  const int32_t a = run.Value(action.params[1]);
  const int32_t b = run.Value(action.params[2]);
  int32_t result = 0;
  bool overflow = false;
  switch (action.code) {
    case kCmdAdd:
      overflow = __builtin_add_overflow(a, b, &result);
      break;
    case kCmdSub:
      overflow = __builtin_sub_overflow(a, b, &result);
      break;
    case kCmdMul:
      overflow = __builtin_mul_overflow(a, b, &result);
      break;
    default:
      // INT_MIN / -1 has no 32-bit result either.
      overflow = b == 0 || (a == INT32_MIN && b == -1);
      if (!overflow) result = action.code == kCmdDiv ? a / b : a % b;
      break;
  }
  if (overflow) {
    run.Call(&run.script_.overflow_event);
  } else {
    run.script_.SetVariable(action.params[0].value, result);
  }
  return true;
}

bool FkissActions::Let(FkissRuntime& run, const FkissAction& action) {
  run.script_.SetVariable(action.params[0].value, run.Value(action.params[1]));
  return true;
}

bool FkissActions::Random(FkissRuntime& run, const FkissAction& action) {
  const FkissParam* p = action.params.data();
  run.script_.SetVariable(p[0].value, RandomBetween(run.host_, run.Value(p[1]), run.Value(p[2])));
  return true;
}

}  // namespace luma
