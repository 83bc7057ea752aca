#ifndef LUMA_CORE_HOST_TEXT_ENCODING_H_
#define LUMA_CORE_HOST_TEXT_ENCODING_H_

#include <cstddef>
#include <string>
#include <string_view>

// Doll text for people: the one place where bytes written in a doll's
// encoding (Japanese dolls in Shift-JIS, European ones in Windows-1252,
// newer ones in UTF-8) become UTF-8 to be shown. The engine keeps and writes
// the bytes as they are; only what is shown is decoded.
namespace luma {

// The values are stored in the settings; keep them.
enum class TextEncoding {
  kAutomatic = 0,    // decided from the bytes
  kShiftJis = 1,     // Japanese, code page 932
  kWindows1252 = 2,  // Western European, code page 1252
  kUtf8 = 3,
};

// The encoding `bytes` are most likely written in, never kAutomatic:
// - UTF-8 when they are valid UTF-8 holding at least one multi-byte
//   sequence (a byte-order mark is one);
// - Shift-JIS when they are valid CP932 with double-byte characters, and
//   those characters look Japanese rather than like accented Latin letters
//   that happen to pair up (German "für" is a valid CP932 pair);
// - Windows-1252 otherwise, which shows ASCII as it is.
// A rare broken sequence in a long text (one in twenty characters) does
// not overturn the decision.
TextEncoding GuessTextEncoding(std::string_view bytes);

// `chosen` unless it is kAutomatic, then `decided`.
inline TextEncoding EffectiveEncoding(TextEncoding chosen, TextEncoding decided) {
  return chosen == TextEncoding::kAutomatic ? decided : chosen;
}

// `bytes` as UTF-8. kAutomatic decides from these bytes alone. Every byte
// or sequence that is not valid in the encoding becomes U+FFFD; a UTF-8
// byte-order mark at the start is dropped; ASCII comes back unchanged.
std::string DecodeText(std::string_view bytes, TextEncoding encoding);

// A file path for showing. Folders and names that are valid UTF-8 (what
// the desktop writes) stay as they are; the others are names a doll brought
// along, unpacked as its bytes, and are decoded in `encoding`.
std::string DecodePath(std::string_view path, TextEncoding encoding);

// The number of bytes of the character that starts at `i` of `bytes`: 2 for
// a Shift-JIS double-byte character, 2 to 4 for a UTF-8 sequence, else 1.
size_t CharacterLength(std::string_view bytes, size_t i, TextEncoding encoding);

// Name comparison ignoring case, on the bytes. Only single-byte ASCII
// letters fold: in Shift-JIS the second byte of a double-byte character may
// be an ASCII letter and is part of another character, so it stays.
std::string FoldNameCase(std::string_view name, TextEncoding encoding);
bool NamesEqual(std::string_view a, std::string_view b, TextEncoding encoding);
// <0, 0, >0 like strcmp.
int CompareNames(std::string_view a, std::string_view b, TextEncoding encoding);

// The setting's names, as the Options dialog lists them.
const char* TextEncodingName(TextEncoding encoding);

}  // namespace luma

#endif  // LUMA_CORE_HOST_TEXT_ENCODING_H_
