#include "core/model/error_report.h"

#include <cstdint>

namespace luma {
namespace {

std::string Join(const std::vector<std::string>& lines) {
  std::string out;
  for (const std::string& line : lines) {
    out += line;
    out += '\n';
  }
  return out;
}

}  // namespace

void ErrorReport::Add(std::string_view text, int note_id, int& count,
                      std::vector<std::string>& list) {
  if (count < INT32_MAX) ++count;
  if (count <= kListLimit) {
    if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
    list.emplace_back(text);
  } else if (count == kListLimit + 1) {
    list.push_back(FormatMessage(note_id, kListLimit));
  }
}

void ErrorReport::AddError(std::string_view text) {
  Add(text, kMsgMoreErrors, error_count_, errors_);
}

void ErrorReport::AddWarning(std::string_view text) {
  Add(text, kMsgMoreWarnings, warning_count_, warnings_);
}

std::string ErrorReport::ErrorText() const { return Join(errors_); }
std::string ErrorReport::WarningText() const { return Join(warnings_); }

void ErrorReport::Clear() {
  error_count_ = 0;
  warning_count_ = 0;
  errors_.clear();
  warnings_.clear();
}

}  // namespace luma
