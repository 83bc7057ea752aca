#ifndef LUMA_CORE_FKISS_KEY_CODES_H_
#define LUMA_CORE_FKISS_KEY_CODES_H_

#include <string_view>

namespace luma {

// The keys a script can name: up 0, down 1, left 2, right 3, space 4,
// digits 5..14, letters 15..40.
inline constexpr int kKeyCount = 41;
inline constexpr int kKeyUp = 0;
inline constexpr int kKeyDown = 1;
inline constexpr int kKeyLeft = 2;
inline constexpr int kKeyRight = 3;
inline constexpr int kKeySpace = 4;
inline constexpr int kKeyDigit0 = 5;
inline constexpr int kKeyLetterA = 15;

// The key code of a key name (any case); -1 when the name is not a key.
int KeyCodeFromName(std::string_view name);

// The key code of a one-character key name ('0'-'9', letters of either
// case); -1 for any other character.
int KeyCodeFromChar(char c);

}  // namespace luma

#endif  // LUMA_CORE_FKISS_KEY_CODES_H_
