#ifndef LUMA_CLI_CHECK_REPORT_H_
#define LUMA_CLI_CHECK_REPORT_H_

#include <string>
#include <vector>

#include "core/doll/kiss_cnf_doc.h"

namespace luma::cli {

// One counter line of check: "Cels: 3", "Cel counts: 1 / 0 / 1", or a word
// such as "FKiSS: 2.1".
struct CheckCounter {
  std::string name;
  std::vector<long long> numbers;  // empty for a word
  std::string word;
};

// What check reports about one loaded doll. The text report and the JSON
// record are both written from this, so they always agree: whatever changes
// how the doll's text is shown belongs in MakeCheckReport.
struct CheckReport {
  int error_count = 0;
  int warning_count = 0;
  std::vector<std::string> errors;  // as listed (at most 100 and a closing note)
  std::vector<std::string> warnings;
  std::vector<CheckCounter> counters;
  std::string title;
};

CheckReport MakeCheckReport(CKissCnfDoc& doc);

// The report as check prints it for one doll.
std::string CheckReportText(const CheckReport& report);

// The members of a JSON object (without the braces) for the report: the
// lists, the counts and each counter under the name check prints.
std::string CheckReportJson(const CheckReport& report);

// `text` (UTF-8: doll text is decoded before it gets here) as a JSON string.
// A byte that is not valid UTF-8 becomes U+FFFD, so the record stays valid.
std::string JsonString(std::string_view text);

}  // namespace luma::cli

#endif  // LUMA_CLI_CHECK_REPORT_H_
