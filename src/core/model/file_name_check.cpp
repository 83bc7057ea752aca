#include "core/model/file_name_check.h"

#include <string>

#include "core/host/text.h"

namespace luma {

void CheckFileName(std::string_view name, ErrorReport& report) {
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
  for (size_t i = 0; i < name.size(); ++i) {
    const char c = name[i];
    if (IsAsciiAlpha(c) || IsAsciiDigit(c) || i == first_dot) continue;
    if (kAllowed.find(c) != std::string_view::npos) continue;
    report.Warning(kMsgFileSuspiciousChar, name, std::string(1, c));
  }
}

}  // namespace luma
