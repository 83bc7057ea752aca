#include "core/model/error_report.h"

#include <gtest/gtest.h>

namespace luma {
namespace {

TEST(ErrorReportTest, ListsTheFirstHundredThenANoteThenOnlyCounts) {
  ErrorReport report;
  for (int i = 1; i <= 100; ++i) report.Error(kMsgSyntaxError, i);
  EXPECT_EQ(report.errors().size(), 100u);
  report.Error(kMsgSyntaxError, 101);
  ASSERT_EQ(report.errors().size(), 101u);
  EXPECT_EQ(report.errors().back(),
            "*** There are more errors but Lumadoll will only list the first 100 errors");
  report.Error(kMsgSyntaxError, 102);
  EXPECT_EQ(report.errors().size(), 101u);
  EXPECT_EQ(report.error_count(), 102);
  EXPECT_EQ(report.warning_count(), 0);
  EXPECT_TRUE(report.warnings().empty());
}

TEST(ErrorReportTest, WarningsHaveTheirOwnCap) {
  ErrorReport report;
  for (int i = 0; i < 105; ++i) report.Warning(kMsgUnknownHint, i);
  EXPECT_EQ(report.warning_count(), 105);
  EXPECT_EQ(report.warnings()[100],
            "*** There are more warnings but Lumadoll will only list the first 100 warnings");
  EXPECT_EQ(report.error_count(), 0);
}

TEST(ErrorReportTest, EntriesEndInExactlyOneNewlineInTheText) {
  ErrorReport report;
  report.Error(kMsgSyntaxError, 1);               // ends in "\n" in the table
  report.Error(kMsgFkissTooFewParams, "map", 2);  // does not
  report.AddError("a.cel: Bits per pixel (16) invalid\n");
  EXPECT_EQ(report.ErrorText(),
            "Syntax error in line 1\n"
            "FKiSS: Too few parameters in command map() in line 2.\n"
            "a.cel: Bits per pixel (16) invalid\n");
  report.Clear();
  EXPECT_TRUE(report.empty());
  EXPECT_EQ(report.ErrorText(), "");
}

}  // namespace
}  // namespace luma
