#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma::cli {
namespace {

// Drives the installed completion function as bash does on Tab: the words
// typed so far, the last one being completed.
class CompletionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name :
         {"a.cnf", "b.LZH", "c.lha", "d.Zip", "notes.txt", "pic.png", "old.BMP"}) {
      testing::WriteFile(dir_ / name, "x");
    }
    std::filesystem::create_directories(dir_ / "sub");
  }

  std::vector<std::string> Complete(const std::vector<std::string>& words) {
    std::string quoted;
    for (const std::string& w : words) quoted += " '" + w + "'";
    const std::string script = "source '" + std::string(LUMA_COMPLETION_PATH) + "' && cd '" +
                               dir_.path().string() + "' && COMP_WORDS=(" + quoted +
                               ") && COMP_CWORD=" + std::to_string(words.size() - 1) +
                               " && { _lumadoll_tool; printf '%s\\n' \"${COMPREPLY[@]}\" | sort; }";
    const testing::ProgramResult r = testing::RunProgram("/bin/bash", {"-c", script});
    EXPECT_EQ(r.exit_code, 0) << r.err;
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) {
      if (!line.empty()) lines.push_back(line);
    }
    return lines;
  }

  using Words = std::vector<std::string>;
  testing::TempDir dir_;
};

TEST_F(CompletionTest, CommandsAndTheCommandsOfAGroup) {
  EXPECT_EQ(Complete({"lumadoll-tool", "ch"}), Words{"check"});
  EXPECT_EQ(Complete({"lumadoll-tool", "--v"}), Words{"--version"});
  EXPECT_EQ(Complete({"lumadoll-tool", "archive", "e"}), Words{"extract"});
  EXPECT_EQ(Complete({"lumadoll-tool", "archive", ""}),
            (Words{"--help", "create", "extract", "list", "test"}));
  EXPECT_EQ(Complete({"lumadoll-tool", "help", "re"}), Words{"render"});
}

TEST_F(CompletionTest, EveryOptionOfEveryCommand) {
  for (const CommandSpec* command : AllCommands()) {
    Words words{"lumadoll-tool"};
    std::istringstream name(command->name);
    for (std::string w; name >> w;) words.push_back(w);
    words.push_back("-");
    Words expected{"--help"};
    for (const OptionSpec& o : command->options) expected.push_back(o.name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Complete(words), expected) << command->name;
  }
}

TEST_F(CompletionTest, FilesOfTheRightTypeAndKnownValues) {
  // Dolls in any case of their extension, and folders to look into.
  EXPECT_EQ(Complete({"lumadoll-tool", "check", ""}),
            (Words{"a.cnf", "b.LZH", "c.lha", "d.Zip", "sub"}));
  EXPECT_EQ(Complete({"lumadoll-tool", "render", "a.cnf", "-o", ""}),
            (Words{"old.BMP", "pic.png", "sub"}));
  EXPECT_EQ(Complete({"lumadoll-tool", "archive", "list", ""}),
            (Words{"b.LZH", "c.lha", "d.Zip", "sub"}));
  EXPECT_EQ(Complete({"lumadoll-tool", "render", "a.cnf", "--set", ""}),
            (Words{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
  EXPECT_EQ(Complete({"lumadoll-tool", "render", "a.cnf", "--zoom", "-"}),
            (Words{"-1", "-2", "-3", "-4", "-5", "-6"}));
  // A number or a name to type: nothing is offered.
  EXPECT_EQ(Complete({"lumadoll-tool", "check", "b.LZH", "--cnf", ""}), Words{});
  // The second operand of extract is a member name; create takes any files after the archive.
  EXPECT_EQ(Complete({"lumadoll-tool", "archive", "extract", "b.LZH", ""}), Words{});
  EXPECT_EQ(Complete({"lumadoll-tool", "archive", "create", "new.lzh", "n"}), Words{"notes.txt"});
  // An option's value is not counted as an operand.
  EXPECT_EQ(Complete({"lumadoll-tool", "render", "-o", "x.png", "a"}), Words{"a.cnf"});
  EXPECT_EQ(Complete({"lumadoll-tool", "render", "a.cnf", "a"}), Words{});
}

}  // namespace
}  // namespace luma::cli
