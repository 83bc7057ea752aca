#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "cli/tool_fixture.h"
#include "core/testing/doll_loader.h"
#include "core/testing/image_files.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ProgramResult;

// A 4 x 2 doll whose red 2 x 2 cel at (0, 0) a script hides 100 ms after
// the start; set 1 moves it to the right.
class RenderScriptTest : public testing::ToolFixture {
 protected:
  std::string Doll(const std::string& script) {
    std::vector<uint32_t> colors(16, 0xFF0000);
    colors[0] = 0;
    return doll_.WriteDoll(
        "(4,2)\n%p.kcf\n#0 a.cel :0 1\n$0 0,0\n$0 2,0\n"
        ";@EventHandler\n" +
            script,
        {{"p.kcf", testing::MakeKcf({colors})},
         {"a.cel", testing::MakeCel(4, 2, 2, {1, 1, 1, 1})}});
  }
  // The colour of pixel (x, 0) after rendering with `extra` options.
  uint32_t Pixel(const std::string& doll, int x, std::vector<std::string> extra) {
    last_ = RenderFrame(doll, extra);
    EXPECT_EQ(last_.exit_code, 0) << last_.err;
    return Frame().at(x, 0);
  }

  ProgramResult last_;
};

TEST_F(RenderScriptTest, AlarmsRunForTheSimulatedTime) {
  const std::string doll = Doll(";@begin() timer(1, 99)\n;@alarm(1) unmap(#0)\n");
  EXPECT_EQ(Pixel(doll, 0, {"--run-ms", "90"}), 0xFFFF0000u);
  EXPECT_EQ(Pixel(doll, 0, {"--run-ms", "110"}), 0xFF000000u);
  EXPECT_EQ(Pixel(doll, 0, {"--run-ms", "110", "--no-fkiss"}), 0xFFFF0000u);
}

TEST_F(RenderScriptTest, SetSwitchesAfterTheStartAndTheTraceIsWritten) {
  const std::string doll = Doll(";@set(1) moveto(#0, 0, 0)\n;@initialize() notify(\"hello\")\n");
  const std::string trace = (out_ / "run.trace").string();
  EXPECT_EQ(Pixel(doll, 0, {"--set", "1", "--trace", trace}), 0xFFFF0000u);
  EXPECT_NE(last_.err.find("hello"), std::string::npos);
  EXPECT_EQ(testing::ReadFile(trace),
            "initialize()\r\n   notify(\"hello\")\r\nset(1)\r\n   moveto(#0, 0, 0)\r\n");
  EXPECT_EQ(Pixel(doll, 0, {"--set", "1", "--no-fkiss"}), 0xFF000000u);
}

TEST_F(RenderScriptTest, TheSameSeedDrawsTheSameRandomPicture) {
  // The cel lands at x 0 or x 2 by a random number.
  const std::string doll = Doll(";@initialize() random(X, 0, 1) mul(X, 2) moveto(#0, X, 0)\n");
  std::vector<uint32_t> left;
  for (int seed = 0; seed < 8; ++seed) {
    const std::string s = std::to_string(seed);
    left.push_back(Pixel(doll, 0, {"--seed", s}));
    EXPECT_EQ(Pixel(doll, 0, {"--seed", s}), left.back()) << "seed " << seed;
  }
  EXPECT_NE(std::count(left.begin(), left.end(), 0xFFFF0000u), 0);
  EXPECT_NE(std::count(left.begin(), left.end(), 0xFF000000u), 0);

  const std::string script = (out_ / "s.txt").string();
  testing::WriteFile(script, "print var X\n");
  const ProgramResult a = Tool({"play", doll, "--script", script, "--seed", "5"});
  EXPECT_EQ(a.exit_code, 0) << a.err;
  EXPECT_EQ(Tool({"play", doll, "--script", script, "--seed", "5"}).out, a.out);
  EXPECT_EQ(Tool({"render", doll, "-o", (out_ / "x.png").string(), "--seed", "-1"}).exit_code, 2);
}

}  // namespace
}  // namespace luma
