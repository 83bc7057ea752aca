#ifndef LUMA_CORE_MODEL_HINT_SETTINGS_H_
#define LUMA_CORE_MODEL_HINT_SETTINGS_H_

namespace luma {

// How strictly objects are kept inside the playfield; the numbers are the
// ones stored in settings and read from ";HINT bounds" lines.
enum class BoundsMode : int { kAll = 0, kFkiss = 1, kLimited = 2, kVisible = 3, kNone = 4 };

// The three settings a doll's CNF may override with ;HINT lines. Only the
// first HINT of each kind counts; the *_hint flags record that one was seen.
struct HintSettings {
  int stack_depth = 20;
  int max_fix = 100;
  BoundsMode bounds = BoundsMode::kVisible;
  BoundsMode cnf_bounds = BoundsMode::kVisible;
  bool stack_hint = false;
  bool max_fix_hint = false;
  bool bounds_hint = false;
};

}  // namespace luma

#endif  // LUMA_CORE_MODEL_HINT_SETTINGS_H_
