#ifndef LUMA_CORE_HOST_TEXT_H_
#define LUMA_CORE_HOST_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

// Byte-string helpers shared by every layer. Text is 8-bit and never
// transcoded; case folding touches ASCII letters only.
namespace luma {

char AsciiLower(char c);
std::string AsciiLowerCopy(std::string_view s);
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
// <0, 0, >0 like strcmp, folding ASCII case.
int CompareIgnoreCase(std::string_view a, std::string_view b);
bool StartsWithIgnoreCase(std::string_view s, std::string_view prefix);

bool IsAsciiDigit(char c);
bool IsAsciiAlpha(char c);
bool IsAsciiSpace(char c);  // blank, \t, \n, \v, \f, \r

// Reads an optionally signed decimal integer the way atoi does (leading
// white space, sign, digits, stops at the first non-digit) but saturates at
// the 32-bit limits instead of overflowing. `consumed` receives the number
// of characters read (0 when no digit was found).
int32_t ParseInt(std::string_view s, size_t* consumed = nullptr);

// printf-style formatting into a std::string.
std::string StringPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The part after the last '/' or '\\' and the part up to and including it.
std::string_view FileNamePart(std::string_view path);
std::string_view DirectoryPart(std::string_view path);
// The extension after the last '.' of the file name part, without the dot; empty if none.
std::string_view ExtensionPart(std::string_view path);

}  // namespace luma

#endif  // LUMA_CORE_HOST_TEXT_H_
