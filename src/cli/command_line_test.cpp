#include "cli/command_line.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "cli/tool_fixture.h"
#include "core/testing/doll_builder.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma::cli {
namespace {

using testing::ProgramResult;

class CommandLineTest : public testing::ToolFixture {
 protected:
  // A doll of one cel and two palette groups.
  std::string TwoGroupDoll() {
    doll_.Write("a.kcf", testing::TestKcf(16, 2));
    doll_.Write("a.cel", testing::TestCel(4, 4, 4));
    return doll_.Write("doll.cnf", "%a.kcf\n#0 a.cel\n$0 0,0\n");
  }
};

int Ignore(const ParsedArgs&) { return kExitOk; }

const CommandSpec& Sample() {
  static const CommandSpec spec{
      .name = "draw",
      .operands = {{.name = "FILE"}, {.name = "MORE", .repeatable = true, .optional = true}},
      .options = {{.name = "-o", .value = "OUT", .required = true},
                  {.name = "--set", .value = "N", .check = WholeNumber(0, 9, "sets are 0 to 9")},
                  {.name = "--add", .value = "PATH", .repeatable = true},
                  {.name = "--quiet"}},
      .run = Ignore,
  };
  return spec;
}

std::string Problem(const std::vector<std::string>& args) {
  ParsedArgs parsed;
  return ParseCommandArgs(Sample(), args, &parsed);
}

TEST_F(CommandLineTest, ReadsOptionsAnywhereInEitherSpellingAndStopsAtDoubleDash) {
  ParsedArgs parsed;
  ASSERT_EQ(ParseCommandArgs(Sample(),
                             {"--set=3", "a.cnf", "--add", "x", "-o", "out", "--add=y", "--quiet",
                              "--", "--set", "-o"},
                             &parsed),
            "");
  EXPECT_EQ(parsed.operands(), (std::vector<std::string>{"a.cnf", "--set", "-o"}));
  EXPECT_EQ(parsed.Number("--set", -1), 3);
  EXPECT_EQ(parsed.Value("-o"), "out");
  EXPECT_EQ(parsed.Values("--add"), (std::vector<std::string>{"x", "y"}));
  EXPECT_TRUE(parsed.Has("--quiet"));
  EXPECT_EQ(parsed.Number("--zoom", 7), 7);
  // A lone "-" is an operand (standard input or output).
  EXPECT_EQ(Problem({"-", "-o", "-"}), "");
}

TEST_F(CommandLineTest, EveryProblemNamesTheArgumentAndWhy) {
  EXPECT_EQ(Problem({"a", "-o", "o", "--set", "12"}), "--set 12: sets are 0 to 9");
  EXPECT_EQ(Problem({"a", "-o", "o", "--set", "1.5"}), "--set 1.5: sets are 0 to 9");
  EXPECT_EQ(Problem({"a", "-o", "o", "--set", ""}), "--set : sets are 0 to 9");
  EXPECT_EQ(Problem({"a", "-o", "o", "--set"}), "--set: missing N");
  EXPECT_EQ(Problem({"a", "-o", "o", "--fast"}), "--fast: not an option of draw");
  EXPECT_EQ(Problem({"a", "-o", "o", "-o", "p"}), "-o: given twice");
  EXPECT_EQ(Problem({"a", "-o", "o", "--quiet=1"}), "--quiet: takes no value");
  EXPECT_EQ(Problem({"-o", "o"}), "missing FILE");
  EXPECT_EQ(Problem({"a"}), "missing -o OUT");
}

TEST_F(CommandLineTest, UsageLinesShowWhatTheCommandsAccept) {
  EXPECT_EQ(Sample().UsageLine(),
            "lumadoll-tool draw FILE [MORE...] -o OUT [--set N] [--add PATH]... [--quiet]");
  // Every command of the tool: the usage line names each option, and the
  // help describes each one.
  for (const CommandSpec* command : AllCommands()) {
    const std::string help = CommandHelp(*command);
    EXPECT_FALSE(command->summary.empty()) << command->name;
    EXPECT_FALSE(command->description.empty()) << command->name;
    for (const OptionSpec& option : command->options) {
      const std::string usage = command->UsageLine();
      EXPECT_TRUE(usage.find(" " + option.name + " ") != std::string::npos ||
                  usage.find("[" + option.name) != std::string::npos)
          << option.name;
      EXPECT_FALSE(option.help.empty()) << command->name << " " << option.name;
      EXPECT_NE(help.find("\n  " + option.name), std::string::npos) << option.name;
    }
  }
}

TEST_F(CommandLineTest, HelpAndVersion) {
  const ProgramResult help = Tool({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  for (const CommandSpec* command : AllCommands()) {
    EXPECT_NE(help.out.find("\n  " + command->name + " "), std::string::npos) << command->name;
    const std::vector<std::string> words = {command->name.substr(0, command->name.find(' ')),
                                            command->name.find(' ') == std::string::npos
                                                ? "--help"
                                                : command->name.substr(command->name.find(' ') + 1),
                                            "--help"};
    const ProgramResult own = Tool(command->name.find(' ') == std::string::npos
                                       ? std::vector<std::string>{command->name, "--help"}
                                       : words);
    EXPECT_EQ(own.exit_code, 0) << command->name;
    EXPECT_EQ(own.out, CommandHelp(*command)) << command->name;
  }
  EXPECT_EQ(Tool({"help", "render"}).out, Tool({"render", "--help"}).out);
  // Help wins over everything else on the line.
  EXPECT_EQ(Tool({"render", "--set", "12", "--help"}).exit_code, 0);
  const ProgramResult group = Tool({"archive", "--help"});
  EXPECT_EQ(group.exit_code, 0);
  EXPECT_NE(group.out.find("lumadoll-tool archive extract FILE MEMBER [-o PATH]"),
            std::string::npos);

  const ProgramResult version = Tool({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_TRUE(std::regex_match(
      version.out, std::regex("lumadoll-tool \\(Lumadoll\\) [0-9]+\\.[0-9]+\\.[0-9]+\n")))
      << version.out;
  // Nothing at all is a usage error that shows the help.
  const ProgramResult bare = Tool({});
  EXPECT_EQ(bare.exit_code, 2);
  EXPECT_NE(bare.err.find("Commands:"), std::string::npos);
}

TEST_F(CommandLineTest, BadArgumentsExitTwoNamingTheArgument) {
  const std::string doll = TwoGroupDoll();
  const std::string png = doll_.Path("out.png");
  const std::string jpg = doll_.Path("out.jpg");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"render", doll, "-o", png, "--set", "12"}, "render: --set 12: sets are 0 to 9\n"},
      {{"render", doll, "-o", jpg}, "out.jpg: the picture must be .png or .bmp\n"},
      {{"render", doll, "-o", png, "--palette", "7"},
       "render: --palette 7: " + doll + " has 2 palette groups\n"},
      {{"render", doll, "-o", png, "--zoom", "-7"},
       "render: --zoom -7: zoom levels are -6 to 6, or fit\n"},
      {{"render", doll, "-o", png, "--size", "0x5"},
       "render: --size 0x5: the size is WIDTHxHEIGHT, each 1 to 16384\n"},
      {{"render", doll, "-o", png, "--run-ms", "soon"},
       "render: --run-ms soon: the run time is 0 to 86400000 ms\n"},
      {{"render", doll}, "render: missing -o OUT.bmp|OUT.png\n"},
      {{"render", doll, "x.cnf", "-o", png}, "render: x.cnf: render takes only FILE\n"},
      {{"render", doll, "-o", png, "--fast"}, "render: --fast: not an option of render\n"},
      {{"thumbnail"}, "thumbnail: missing FILE\n"},
      {{"save-cnf", doll}, "save-cnf: missing -o OUT.cnf\n"},
      {{"build-archive", doll, "-o"}, "build-archive: -o: missing OUT.lzh\n"},
      {{"play", doll, "--script"}, "play: --script: missing SCRIPT\n"},
      {{"play", doll, "--script", "s.txt", "-o", jpg},
       "out.jpg: the picture must be .png or .bmp\n"},
      {{"check", doll, "--cnf"}, "check: --cnf: missing NAME\n"},
      {{"archive", "extract", "a.lzh"}, "archive extract: missing MEMBER\n"},
      {{"archive", "unpack", "a.lzh"},
       "archive: unpack: expected one of list, test, extract, create\n"},
      {{"draw", doll}, "lumadoll-tool: draw: no such command"},
  };
  for (const Case& c : cases) {
    const ProgramResult r = Tool(c.args);
    EXPECT_EQ(r.exit_code, 2) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << c.message;
  }
  // A usage error shows the command's usage line.
  EXPECT_NE(Tool({"render", doll}).err.find("\nusage: lumadoll-tool render FILE -o "),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(png));
}

TEST_F(CommandLineTest, ScriptLinesNameWhatIsWrong) {
  const std::string doll = TwoGroupDoll();
  const std::string script = doll_.Path("s.txt");
  const std::pair<std::string, std::string> cases[] = {
      {"press 10", "s.txt:2: press 10: missing y\n"},
      {"press 10 x", "s.txt:2: press 10 x: x: coordinates are -16777216 to 16777216\n"},
      {"release now", "s.txt:2: release now: unexpected now (release)\n"},
      {"set 12", "s.txt:2: set 12: sets are 0 to 9\n"},
      {"palette 7", "s.txt:2: palette 7: " + doll + " has 2 palette groups\n"},
      {"key nokey down", "s.txt:2: key nokey down: nokey: not a key name\n"},
      {"key a sideways", "s.txt:2: key a sideways: sideways: expected down or up\n"},
      {"print", "s.txt:2: print: unknown command\n"},
      {"print var", "s.txt:2: print var: missing name\n"},
      {"render  out.gif", "s.txt:2: render out.gif: the picture must be .png or .bmp\n"},
      {"jump 3 4", "s.txt:2: jump 3 4: unknown command\n"},
  };
  for (const auto& [line, message] : cases) {
    testing::WriteFile(script, "# first\n" + line + "\nprint positions\n");
    const ProgramResult r = Tool({"play", doll, "--script", script});
    EXPECT_EQ(r.exit_code, 2) << line;
    EXPECT_NE(r.err.find(message), std::string::npos) << r.err;
    EXPECT_EQ(r.out, "") << line;
  }
  // A group the doll has is fine.
  testing::WriteFile(script, "palette 1\nprint positions\n");
  EXPECT_EQ(Tool({"play", doll, "--script", script}).out, "#0 0,0\n");
}

}  // namespace
}  // namespace luma::cli
