// Keys and mouse: what the user holds down, where the pointer is, and what
// it carries.
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/fkiss/action_handlers.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/fkiss/key_codes.h"
#include "core/host/text.h"

namespace luma {
namespace {

// The key names of a letkey text in order: up, down, left, right, space, or
// one character each; -1 for a character that names no key.
std::vector<int> KeySequence(std::string_view text) {
  static constexpr std::string_view kNames[] = {"up", "down", "left", "right", "space"};
  std::vector<int> keys;
  size_t i = 0;
  while (i < text.size()) {
    int code = -1;
    size_t length = 1;
    for (int k = 0; k < 5; ++k) {
      if (StartsWithIgnoreCase(text.substr(i), kNames[k])) {
        code = k;
        length = kNames[k].size();
        break;
      }
    }
    if (code < 0) code = KeyCodeFromChar(text[i]);
    keys.push_back(code);
    i += length;
  }
  return keys;
}

}  // namespace

bool FkissActions::LetKeys(FkissRuntime& run, const FkissAction& action) {
  // letkey: the place (from 1) of the first key down; letkeymap: one bit per key down.
  const std::vector<int> keys = KeySequence(action.params[1].text);
  int32_t result = 0;
  for (size_t i = 0; i < keys.size(); ++i) {
    if (!run.key_down(keys[i])) continue;
    if (action.code == kCmdLetkey) {
      result = static_cast<int32_t>(i + 1);
      break;
    }
    if (i < 32) result |= static_cast<int32_t>(1u << i);
  }
  run.script_.SetVariable(action.params[0].value, result);
  return true;
}

bool FkissActions::Letmousex(FkissRuntime& run, const FkissAction& action) {
  run.script_.SetVariable(action.params[0].value, run.view_.Pointer().x);
  return true;
}

bool FkissActions::Letmousey(FkissRuntime& run, const FkissAction& action) {
  run.script_.SetVariable(action.params[0].value, run.view_.Pointer().y);
  return true;
}

bool FkissActions::Letcatch(FkissRuntime& run, const FkissAction& action) {
  const KissObject* held = run.view_.HeldObject();
  run.script_.SetVariable(action.params[0].value, held ? held->number : -1);
  return true;
}

}  // namespace luma
