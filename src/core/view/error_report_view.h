#ifndef LUMA_CORE_VIEW_ERROR_REPORT_VIEW_H_
#define LUMA_CORE_VIEW_ERROR_REPORT_VIEW_H_

#include <string>

#include "core/host/settings.h"
#include "core/model/error_report.h"

namespace luma {

// The headings over the two lists: "No Errors Found", "1 Error:",
// "%d Errors:" (warnings alike).
std::string ErrorHeading(int count);
std::string WarningHeading(int count);

// Whether the report opens by itself once a doll has loaded: when it lists
// anything, except that with "Errors Only" a report of warnings alone stays
// closed; with "Errors LZH" as well, that holds only for dolls from archives.
bool ShowReportAfterLoad(const ErrorReport& report, const Settings& settings, bool from_archive);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_ERROR_REPORT_VIEW_H_
