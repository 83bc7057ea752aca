#include "core/host/text_encoding.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/host/text.h"
#include "core/host/text_transcoder.h"

namespace luma {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

uint8_t Byte(std::string_view s, size_t i) { return static_cast<uint8_t>(s[i]); }

bool IsAscii(std::string_view bytes) {
  for (const char c : bytes) {
    if (static_cast<uint8_t>(c) >= 0x80) return false;
  }
  return true;
}

// A little broken text in a long one is forgiven: at most one bad sequence
// per twenty good ones.
bool MostlyValid(size_t good, size_t bad) { return good > 0 && bad * 20 <= good; }

struct Utf8Scan {
  size_t multibyte = 0;
  size_t invalid = 0;
};

// The length of the valid UTF-8 sequence at `i`, or 0.
size_t Utf8SequenceAt(std::string_view s, size_t i) {
  const uint8_t b = Byte(s, i);
  size_t length = 0;
  uint8_t low = 0x80, high = 0xBF;  // range of the second byte
  if (b >= 0xC2 && b <= 0xDF) {
    length = 2;
  } else if (b >= 0xE0 && b <= 0xEF) {
    length = 3;
    if (b == 0xE0) low = 0xA0;   // no overlong forms
    if (b == 0xED) high = 0x9F;  // no surrogates
  } else if (b >= 0xF0 && b <= 0xF4) {
    length = 4;
    if (b == 0xF0) low = 0x90;
    if (b == 0xF4) high = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + length > s.size()) return 0;
  if (Byte(s, i + 1) < low || Byte(s, i + 1) > high) return 0;
  for (size_t k = 2; k < length; ++k) {
    if (Byte(s, i + k) < 0x80 || Byte(s, i + k) > 0xBF) return 0;
  }
  return length;
}

Utf8Scan ScanUtf8(std::string_view s) {
  Utf8Scan scan;
  for (size_t i = 0; i < s.size();) {
    if (Byte(s, i) < 0x80) {
      ++i;
      continue;
    }
    const size_t length = Utf8SequenceAt(s, i);
    if (length == 0) {
      ++scan.invalid;
      ++i;
    } else {
      ++scan.multibyte;
      i += length;
    }
  }
  return scan;
}

bool IsShiftJisLead(uint8_t b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsShiftJisTrail(uint8_t b) { return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC); }
bool IsShiftJisPairAt(std::string_view s, size_t i) {
  return IsShiftJisLead(Byte(s, i)) && i + 1 < s.size() && IsShiftJisTrail(Byte(s, i + 1));
}

struct ShiftJisScan {
  size_t pairs = 0;
  size_t invalid = 0;
  // How Japanese the pairs look, against how much they look like accented
  // Latin letters inside words.
  size_t japanese = 0;
  size_t latin = 0;
};

void Weigh(uint8_t lead, uint8_t trail, ShiftJisScan& scan) {
  const bool letter_trail = IsAsciiAlpha(static_cast<char>(trail));
  if (lead <= 0x83) {
    // Punctuation, kana and full-width letters: in Windows-1252 these leads
    // are nothing or a rarely used low quote or f-hook.
    scan.japanese += 2;
  } else if (lead <= 0x9F) {
    // First-level kanji. In Windows-1252 these are punctuation, which may
    // well be followed by a letter ("’s", "“Hi") but hardly by another
    // byte above 127 or by "\", "@", "[" and the like (表 is 0x95 0x5C).
    if (!letter_trail) ++scan.japanese;
  } else if (letter_trail) {
    // A lower-case accented letter followed by a letter ("für", "élan").
    ++scan.latin;
  } else if (lead <= 0xEA) {
    ++scan.japanese;  // second-level kanji
  }
}

ShiftJisScan ScanShiftJis(std::string_view s) {
  ShiftJisScan scan;
  for (size_t i = 0; i < s.size();) {
    const uint8_t b = Byte(s, i);
    if (b < 0x80 || (b >= 0xA1 && b <= 0xDF)) {  // ASCII, half-width katakana
      ++i;
    } else if (IsShiftJisPairAt(s, i)) {
      ++scan.pairs;
      Weigh(b, Byte(s, i + 1), scan);
      i += 2;
    } else {
      ++scan.invalid;
      ++i;
    }
  }
  return scan;
}

}  // namespace

TextEncoding GuessTextEncoding(std::string_view bytes) {
  if (bytes.starts_with(kUtf8Mark)) return TextEncoding::kUtf8;
  if (IsAscii(bytes)) return TextEncoding::kWindows1252;
  const Utf8Scan utf8 = ScanUtf8(bytes);
  if (MostlyValid(utf8.multibyte, utf8.invalid)) return TextEncoding::kUtf8;
  const ShiftJisScan sjis = ScanShiftJis(bytes);
  if (MostlyValid(sjis.pairs, sjis.invalid) && sjis.japanese > sjis.latin) {
    return TextEncoding::kShiftJis;
  }
  return TextEncoding::kWindows1252;
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding) {
  if (encoding == TextEncoding::kAutomatic) encoding = GuessTextEncoding(bytes);
  if (encoding == TextEncoding::kUtf8 && bytes.starts_with(kUtf8Mark)) {
    bytes.remove_prefix(kUtf8Mark.size());
  }
  if (IsAscii(bytes)) return std::string(bytes);
  return TranscodeToUtf8(bytes, encoding);
}

std::string DecodePath(std::string_view path, TextEncoding encoding) {
  std::string out;
  out.reserve(path.size());
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (ScanUtf8(part).invalid == 0) {
      out += part;
    } else {
      out += DecodeText(part, encoding);
    }
    if (end == path.size()) break;
    out += '/';
    start = end + 1;
  }
  return out;
}

size_t CharacterLength(std::string_view bytes, size_t i, TextEncoding encoding) {
  if (i >= bytes.size() || Byte(bytes, i) < 0x80) return 1;
  if (encoding == TextEncoding::kShiftJis) return IsShiftJisPairAt(bytes, i) ? 2 : 1;
  if (encoding == TextEncoding::kUtf8) return std::max<size_t>(1, Utf8SequenceAt(bytes, i));
  return 1;
}

std::string FoldNameCase(std::string_view name, TextEncoding encoding) {
  std::string out(name);
  const bool shift_jis = encoding == TextEncoding::kShiftJis;
  for (size_t i = 0; i < out.size(); ++i) {
    if (shift_jis && IsShiftJisPairAt(out, i)) {
      ++i;  // the second byte belongs to the character
      continue;
    }
    out[i] = AsciiLower(out[i]);
  }
  return out;
}

bool NamesEqual(std::string_view a, std::string_view b, TextEncoding encoding) {
  return a.size() == b.size() && CompareNames(a, b, encoding) == 0;
}

int CompareNames(std::string_view a, std::string_view b, TextEncoding encoding) {
  if (encoding != TextEncoding::kShiftJis) return CompareIgnoreCase(a, b);
  return FoldNameCase(a, encoding).compare(FoldNameCase(b, encoding));
}

const char* TextEncodingName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kAutomatic:
      return "Automatic";
    case TextEncoding::kShiftJis:
      return "Japanese (Shift-JIS)";
    case TextEncoding::kWindows1252:
      return "Western (Windows-1252)";
    case TextEncoding::kUtf8:
      return "Unicode (UTF-8)";
  }
  return "Automatic";
}

}  // namespace luma
