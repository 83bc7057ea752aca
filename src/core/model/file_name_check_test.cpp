#include "core/model/file_name_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace luma {
namespace {

std::vector<std::string> Check(std::string_view name) {
  ErrorReport report;
  CheckFileName(name, report);
  EXPECT_EQ(report.error_count(), 0);
  return report.warnings();
}

TEST(FileNameCheckTest, DosNamesPass) {
  EXPECT_TRUE(Check("shirt-1.cel").empty());
  EXPECT_TRUE(Check("A_$~%@!^.KCF").empty());
  EXPECT_TRUE(Check("a&b.cel").empty());
  EXPECT_TRUE(Check("12345678.longext").empty());  // the extension length is not checked
}

TEST(FileNameCheckTest, ReportsEachProblem) {
  EXPECT_EQ(Check("readme"),
            std::vector<std::string>{"Filename \"readme\" has no filename extension."});
  EXPECT_EQ(Check("123456789.cel"),
            std::vector<std::string>{"Filename \"123456789.cel\" is too long."});
  EXPECT_EQ(Check("a.b.cel"),
            (std::vector<std::string>{"Filename \"a.b.cel\" has . in suspicious position.",
                                      "Filename \"a.b.cel\" has suspicious character \".\"."}));
  EXPECT_EQ(Check("my hat+.cel"),
            (std::vector<std::string>{"Filename \"my hat+.cel\" has suspicious character \" \".",
                                      "Filename \"my hat+.cel\" has suspicious character \"+\"."}));
  EXPECT_EQ(Check("dir/a.cel"),
            std::vector<std::string>{"Filename \"dir/a.cel\" has suspicious character \"/\"."});
}

}  // namespace
}  // namespace luma
