#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/tool_fixture.h"
#include "core/testing/doll_builder.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ProgramResult;

class SaveCnfCommandTest : public testing::ToolFixture {
 protected:
  SaveCnfCommandTest() {
    doll_.Write("doll.cnf", "; mine\n#0 a.cel ;%t20\n$0 5,6\n");
    doll_.Write("a.cel", testing::TestCel(4, 4, 32));
  }
};

TEST_F(SaveCnfCommandTest, SavesWithEitherWriter) {
  ProgramResult r = Tool("save-cnf", {doll_.Path("doll.cnf"), "-o", doll_.Path("kept.cnf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(doll_.Read("kept.cnf").substr(0, 30), "; mine\n#0 a.cel ;%t20\n$0 5,6\n$");

  r = Tool("save-cnf",
           {doll_.Path("doll.cnf"), "-o", doll_.Path("new.cnf"), "--reformat", "--stack-hint"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::string text = doll_.Read("new.cnf");
  EXPECT_NE(text.find(";HINT stack 20\n"), std::string::npos);
  EXPECT_NE(text.find("#0 a.cel  :0 1 2 3 4 5 6 7 8 9 ;%t20\n"), std::string::npos);
}

TEST_F(SaveCnfCommandTest, KeepsACrLfCnfByteForByte) {
  const std::string head = "; mine  \r\n(64,48)\r\n#0 a.cel ;%t20\r\n\r\n";
  doll_.Write("crlf.cnf", head + "$0 5,6\r\n");
  ProgramResult r = Tool("save-cnf", {doll_.Path("crlf.cnf"), "-o", doll_.Path("kept.cnf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::string kept = doll_.Read("kept.cnf");
  EXPECT_EQ(kept.substr(0, head.size()), head);
  EXPECT_EQ(kept.find("\n\n"), std::string::npos) << "no bare line feeds";
  // What the writer wrote, saved again, stays the same bytes.
  r = Tool("save-cnf", {doll_.Path("kept.cnf"), "-o", doll_.Path("again.cnf"), "--positions"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(doll_.Read("again.cnf"), kept);
}

TEST_F(SaveCnfCommandTest, ReportsFailures) {
  ProgramResult r = Tool("save-cnf", {doll_.Path("doll.cnf"), "-o", doll_.Path("no/such/dir.cnf")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.err.find("Unable to write to file " + doll_.Path("no/such/dir.cnf")),
            std::string::npos);
  r = Tool("save-cnf", {doll_.Path("missing.cnf"), "-o", doll_.Path("x.cnf")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(Tool("save-cnf", {doll_.Path("doll.cnf")}).exit_code, 2);
  EXPECT_EQ(
      Tool("save-cnf", {doll_.Path("doll.cnf"), "-o", doll_.Path("x.cnf"), "--bogus"}).exit_code,
      2);
}

}  // namespace
}  // namespace luma
