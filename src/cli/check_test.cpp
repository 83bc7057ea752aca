#include <gtest/gtest.h>

#include <string>

#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ProgramResult;
using testing::RunProgram;

ProgramResult Check(const std::vector<std::string>& args) {
  return RunProgram(LUMA_TOOL_PATH, [&] {
    std::vector<std::string> all{"check"};
    all.insert(all.end(), args.begin(), args.end());
    return all;
  }());
}

TEST(CheckCommandTest, PrintsTheReportAndCounters) {
  testing::TempDir dir;
  testing::WriteFile(dir / "doll.cnf",
                     "%body.kcf\r\n"
                     "#0 body.cel *0 :0 1 ;%t300\r\n"
                     "#1 hat.cel :0 12 ;!hats\r\n"
                     "#1 hat.cel *1\r\n"
                     "$0 10,10 20,20\r\n");
  const ProgramResult r = Check({(dir / "doll.cnf").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "2 Errors:\n"
            "Set number (12) out of range in line 3. Assuming sets 0, 1, 2 should be used.\n"
            "Palette out of range (1) in line 4\n"
            "\n"
            "1 Warning:\n"
            "Transparency out of range (300) in line 2\n"
            "\n"
            "Cels: 3\n"
            "Unique Cels: 2\n"
            "Objects: 2\n"
            "Groups: 1\n");
}

TEST(CheckCommandTest, CleanDollSaysSo) {
  testing::TempDir dir;
  testing::WriteFile(dir / "a.cnf", "#0 a.cel\n");
  const ProgramResult r = Check({(dir / "a.cnf").string()});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out.substr(0, 36), "No Errors Found\n\nNo Warnings Found\n\n");
}

TEST(CheckCommandTest, ExitStatusForMissingFilesAndUsage) {
  testing::TempDir dir;
  const std::string missing = (dir / "none.cnf").string();
  ProgramResult r = Check({missing});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Unable to open\n" + missing + "\n");
  EXPECT_TRUE(r.out.empty());
  EXPECT_EQ(Check({dir.str()}).exit_code, 1);
  EXPECT_EQ(Check({}).exit_code, 2);
  EXPECT_EQ(Check({"a.cnf", "b.cnf"}).exit_code, 2);
}

TEST(CheckCommandTest, CorpusCnfFilesAllRead) {
  LUMA_REQUIRE_CORPUS();
  for (const auto& entry : std::filesystem::directory_iterator(testing::CorpusDir() / "cnf")) {
    if (entry.path().extension() != ".cnf") continue;
    const ProgramResult r = Check({entry.path().string()});
    EXPECT_EQ(r.exit_code, 0) << entry.path() << r.err;
    EXPECT_NE(r.out.find("\nCels: "), std::string::npos) << entry.path();
  }
}

}  // namespace
}  // namespace luma
