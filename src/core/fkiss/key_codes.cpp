#include "core/fkiss/key_codes.h"

#include "core/host/text.h"

namespace luma {

int KeyCodeFromName(std::string_view name) {
  if (name.size() == 1) {
    return KeyCodeFromChar(name[0]);
  }
  if (EqualsIgnoreCase(name, "up")) return kKeyUp;
  if (EqualsIgnoreCase(name, "down")) return kKeyDown;
  if (EqualsIgnoreCase(name, "left")) return kKeyLeft;
  if (EqualsIgnoreCase(name, "right")) return kKeyRight;
  if (EqualsIgnoreCase(name, "space")) return kKeySpace;
  return -1;
}

int KeyCodeFromChar(char c) {
  if (IsAsciiDigit(c)) return kKeyDigit0 + (c - '0');
  const char lower = AsciiLower(c);
  if (lower >= 'a' && lower <= 'z') return kKeyLetterA + (lower - 'a');
  return -1;
}

}  // namespace luma
