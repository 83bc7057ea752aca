#include <errno.h>
#include <iconv.h>

#include <string>
#include <string_view>

#include "core/host/text_transcoder.h"

namespace luma {
namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

const char* IconvName(TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::kShiftJis:
      return "CP932";
    case TextEncoding::kUtf8:
      return "UTF-8";
    case TextEncoding::kAutomatic:
    case TextEncoding::kWindows1252:
      break;
  }
  return "CP1252";
}

// Without a converter (iconv's modules missing) ASCII still shows.
std::string AsciiOnly(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    if (static_cast<unsigned char>(c) < 0x80) {
      out += c;
    } else {
      out += kReplacement;
    }
  }
  return out;
}

// One conversion descriptor, closed however the conversion ends.
class Converter {
 public:
  explicit Converter(const char* from) : cd_(iconv_open("UTF-8", from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::string Convert(std::string_view bytes) {
    std::string out;
    // Every input byte makes at most three output bytes (U+FFFD included).
    std::string buffer(bytes.size() * 3 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t in_left = bytes.size();
    while (in_left > 0) {
      char* next = buffer.data();
      size_t out_left = buffer.size();
      const size_t done = iconv(cd_, &in, &in_left, &next, &out_left);
      out.append(buffer.data(), static_cast<size_t>(next - buffer.data()));
      if (done != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (a sequence cut off at the end): one byte is
      // replaced and the next one starts afresh, so an ASCII byte that a
      // broken lead byte swallowed still shows.
      out += kReplacement;
      ++in;
      --in_left;
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string TranscodeToUtf8(std::string_view bytes, TextEncoding encoding) {
  Converter converter(IconvName(encoding));
  if (!converter.ok()) return AsciiOnly(bytes);
  return converter.Convert(bytes);
}

}  // namespace luma
