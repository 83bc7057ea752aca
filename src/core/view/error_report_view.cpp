#include "core/view/error_report_view.h"

#include "core/host/text.h"

namespace luma {
namespace {

std::string Heading(int count, const char* none, const char* one, const char* many) {
  if (count == 0) return none;
  if (count == 1) return one;
  return StringPrintf(many, count);
}

}  // namespace

std::string ErrorHeading(int count) {
  return Heading(count, "No Errors Found", "1 Error:", "%d Errors:");
}

std::string WarningHeading(int count) {
  return Heading(count, "No Warnings Found", "1 Warning:", "%d Warnings:");
}

bool ShowReportAfterLoad(const ErrorReport& report, const Settings& settings, bool from_archive) {
  if (report.empty()) return false;
  if (report.error_count() > 0) return true;
  const bool warnings_stay_closed = settings.errors_only && (!settings.errors_lzh || from_archive);
  return !warnings_stay_closed;
}

}  // namespace luma
