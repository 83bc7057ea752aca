#include "core/model/file_name_check.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace luma {
namespace {

std::vector<std::string> Check(std::string_view name,
                               TextEncoding encoding = TextEncoding::kWindows1252) {
  ErrorReport report;
  CheckFileName(name, report, encoding);
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

TEST(FileNameCheckTest, ADoubleByteCharacterIsNamedWholeOnce) {
  // ソア.cel: second bytes '\\' and 'A', which alone would fail or pass.
  const std::string name = "\x83\x5c\x83\x41.cel";
  EXPECT_EQ(Check(name, TextEncoding::kShiftJis),
            (std::vector<std::string>{
                "Filename \"" + name + "\" has suspicious character \"\x83\x5c\".",
                "Filename \"" + name + "\" has suspicious character \"\x83\x41\"."}));
  EXPECT_EQ(Check("caf\xc3\xa9.cel", TextEncoding::kUtf8).size(), 1u);
  EXPECT_EQ(Check("caf\xe9.cel").size(), 1u);
}

}  // namespace
}  // namespace luma
