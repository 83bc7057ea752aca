#include "core/model/file_name_check.h"

#include <string>

#include "core/host/text.h"

namespace luma {

void CheckFileName(std::string_view name, ErrorReport& report, TextEncoding encoding) {
  const size_t first_dot = name.find('.');
  if (first_dot == std::string_view::npos) {
    report.Warning(kMsgFileNoExtension, name);
  } else {
    if (first_dot > 8) report.Warning(kMsgFileNameTooLong, name);
    for (size_t i = first_dot + 1; i < name.size(); ++i) {
      if (name[i] == '.') report.Warning(kMsgFileSuspiciousDot, name);
    }
  }
  constexpr std::string_view kAllowed = "-_$~%@!^&";
  for (size_t i = 0; i < name.size();) {
    const size_t length = CharacterLength(name, i, encoding);
    const char c = name[i];
    const bool fine = length == 1 && (IsAsciiAlpha(c) || IsAsciiDigit(c) || i == first_dot ||
                                      kAllowed.find(c) != std::string_view::npos);
    if (!fine) report.Warning(kMsgFileSuspiciousChar, name, name.substr(i, length));
    i += length;
  }
}

}  // namespace luma
