#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/testing/doll_builder.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ProgramResult;
using testing::RunProgram;

ProgramResult SaveCnf(const std::vector<std::string>& args) {
  std::vector<std::string> all{"save-cnf"};
  all.insert(all.end(), args.begin(), args.end());
  return RunProgram(LUMA_TOOL_PATH, all);
}

class SaveCnfCommandTest : public ::testing::Test {
 protected:
  SaveCnfCommandTest() {
    testing::WriteFile(dir_ / "doll.cnf", "; mine\n#0 a.cel ;%t20\n$0 5,6\n");
    testing::WriteFile(dir_ / "a.cel", testing::TestCel(4, 4, 32));
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  testing::TempDir dir_;
};

TEST_F(SaveCnfCommandTest, SavesWithEitherWriter) {
  ProgramResult r = SaveCnf({Path("doll.cnf"), "-o", Path("kept.cnf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(testing::ReadFile(dir_ / "kept.cnf").substr(0, 30),
            "; mine\n#0 a.cel ;%t20\n$0 5,6\n$");

  r = SaveCnf({Path("doll.cnf"), "-o", Path("new.cnf"), "--reformat", "--stack-hint"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::string text = testing::ReadFile(dir_ / "new.cnf");
  EXPECT_NE(text.find(";HINT stack 20\n"), std::string::npos);
  EXPECT_NE(text.find("#0 a.cel  :0 1 2 3 4 5 6 7 8 9 ;%t20\n"), std::string::npos);
}

TEST_F(SaveCnfCommandTest, KeepsACrLfCnfByteForByte) {
  const std::string head = "; mine  \r\n(64,48)\r\n#0 a.cel ;%t20\r\n\r\n";
  testing::WriteFile(dir_ / "crlf.cnf", head + "$0 5,6\r\n");
  ProgramResult r = SaveCnf({Path("crlf.cnf"), "-o", Path("kept.cnf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::string kept = testing::ReadFile(dir_ / "kept.cnf");
  EXPECT_EQ(kept.substr(0, head.size()), head);
  EXPECT_EQ(kept.find("\n\n"), std::string::npos) << "no bare line feeds";
  // What the writer wrote, saved again, stays the same bytes.
  r = SaveCnf({Path("kept.cnf"), "-o", Path("again.cnf"), "--positions"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(testing::ReadFile(dir_ / "again.cnf"), kept);
}

TEST_F(SaveCnfCommandTest, ReportsFailures) {
  ProgramResult r = SaveCnf({Path("doll.cnf"), "-o", Path("no/such/dir.cnf")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("Unable to write to file " + Path("no/such/dir.cnf")), std::string::npos);
  r = SaveCnf({Path("missing.cnf"), "-o", Path("x.cnf")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(SaveCnf({Path("doll.cnf")}).exit_code, 2);
  EXPECT_EQ(SaveCnf({Path("doll.cnf"), "-o", Path("x.cnf"), "--bogus"}).exit_code, 2);
}

}  // namespace
}  // namespace luma
