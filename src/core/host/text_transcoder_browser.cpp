// The web build's converter: there is no iconv in the browser, but the
// browser itself decodes Shift-JIS (its TextDecoder knows code page 932's
// table). UTF-8 and Windows-1252 are small enough to decode here, with the
// same handling of broken bytes as the desktop's converter: each byte that
// does not start a valid sequence becomes U+FFFD and the next byte starts
// afresh.
#include <emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/host/text_transcoder.h"

namespace luma {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

void AppendUtf8(std::string& out, uint32_t code) {
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

// The length of the valid UTF-8 sequence at `bytes[at]`, 0 when none starts there.
size_t ValidSequenceLength(std::string_view bytes, size_t at) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(bytes[i]); };
  const uint8_t lead = byte(at);
  if (lead < 0x80) return 1;
  size_t length = 0;
  uint32_t code = 0, least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, code = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, code = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, code = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (at + length > bytes.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    if ((byte(at + i) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at + i) & 0x3F);
  }
  if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

std::string FromUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t i = 0; i < bytes.size();) {
    const size_t length = ValidSequenceLength(bytes, i);
    if (length == 0) {
      out += kReplacement;
      ++i;
    } else {
      out.append(bytes.substr(i, length));
      i += length;
    }
  }
  return out;
}

// 0x80..0x9F of code page 1252; 0 where the code page leaves a byte undefined.
constexpr uint16_t kWindows1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string FromWindows1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const uint8_t b = static_cast<uint8_t>(c);
    const uint32_t code = b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : b;
    if (code == 0) {
      out += kReplacement;
    } else {
      AppendUtf8(out, code);
    }
  }
  return out;
}

// The browser's Shift-JIS decoder; returns a malloc'd UTF-8 string.
// clang-format off
EM_JS(char*, BrowserDecodeShiftJis, (const uint8_t* bytes, size_t size), {
  const text = new TextDecoder("shift_jis").decode(HEAPU8.subarray(bytes, bytes + size));
  const length = lengthBytesUTF8(text) + 1;
  const out = _malloc(length);
  stringToUTF8(text, out, length);
  return out;
});
// clang-format on

}  // namespace

std::string TranscodeToUtf8(std::string_view bytes, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kUtf8:
      return FromUtf8(bytes);
    case TextEncoding::kShiftJis: {
      char* decoded =
          BrowserDecodeShiftJis(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      std::string out(decoded);
      std::free(decoded);
      return out;
    }
    case TextEncoding::kAutomatic:
    case TextEncoding::kWindows1252:
      break;
  }
  return FromWindows1252(bytes);
}

}  // namespace luma
