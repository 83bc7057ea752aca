#ifndef LUMA_CLI_COMMAND_LINE_H_
#define LUMA_CLI_COMMAND_LINE_H_

// The commands of lumadoll-tool are described by tables: each command lists
// its operands and options with their help texts and value checks. One
// parser reads every command's arguments from its table, and the help
// texts, the manual page and the shell completion are all written from the
// same tables, so a new option needs only its table entry.

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace luma::cli {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // a file could not be opened or processed
inline constexpr int kExitUsage = 2;

// What the shell completes for an operand or an option value.
enum class Complete {
  kNothing,  // a number or free text
  kAnyFile,
  kDoll,     // .cnf, .lzh, .lha, .zip files and folders
  kArchive,  // .lzh, .lha and .zip files
  kPicture,  // .png and .bmp files
  kFolder,
  kWords,  // the listed words
};

// Checks an option value. Returns why a value is wrong ("sets are 0 to 9"),
// or an empty string when it is fine. The parser reports it after the option
// and its value: "--set 12: sets are 0 to 9".
using ValueCheck = std::function<std::string(std::string_view value)>;

// A whole number from `low` to `high`; otherwise `range`, which says what is
// allowed ("sets are 0 to 9").
ValueCheck WholeNumber(int low, int high, std::string range);
// A file name ending in .png or .bmp.
ValueCheck PictureFile();
// WIDTHxHEIGHT, each from 1 to `limit`.
ValueCheck SizeValue(int limit);

// The numbers from `low` to `high` as words, for completing small ranges.
std::vector<std::string> NumberWords(int low, int high);

struct OptionSpec {
  std::string name{};   // "--set", "-o"
  std::string value{};  // the placeholder of its value ("N"); empty for a switch
  std::string help{};   // what it does, for COMMAND --help and the manual page
  ValueCheck check{};   // empty: any value
  bool required = false;
  bool repeatable = false;  // may be given several times (Values())
  Complete complete = Complete::kNothing;
  std::vector<std::string> words{};  // for Complete::kWords
};

struct OperandSpec {
  std::string name{};  // "FILE"
  Complete complete = Complete::kAnyFile;
  bool repeatable = false;  // FILE...: one or more
  bool optional = false;
};

class ParsedArgs;

struct HelpItem {
  std::string term{};
  std::string text{};
};

struct CommandSpec {
  std::string name{};     // "check", or "archive list" for a command of a group
  std::string summary{};  // one line for lumadoll-tool --help
  // What the command does, for COMMAND --help and the manual page:
  // paragraphs separated by blank lines.
  std::string description{};
  std::vector<OperandSpec> operands{};
  std::vector<OptionSpec> options{};
  int (*run)(const ParsedArgs& args) = nullptr;
  // A further list for the end of COMMAND --help and the manual page, such
  // as the script commands of play.
  std::string details_heading{};
  std::vector<HelpItem> details{};

  const OptionSpec* FindOption(std::string_view option_name) const;
  // "lumadoll-tool render FILE -o OUT.bmp|OUT.png [--set N] ..."
  std::string UsageLine() const;
};

// Every command, in the order --help lists them.
std::span<const CommandSpec* const> AllCommands();

// The arguments of one command after parsing and checking.
class ParsedArgs {
 public:
  const CommandSpec& command() const { return *command_; }
  const std::vector<std::string>& operands() const { return operands_; }
  const std::string& operand(size_t i) const { return operands_[i]; }
  bool Has(std::string_view option) const;
  // The option's value, or `fallback` when it was not given.
  std::string Value(std::string_view option, std::string fallback = "") const;
  // Every value of a repeatable option, in the order given.
  std::vector<std::string> Values(std::string_view option) const;
  // The option's value as a number (already checked by its table entry).
  int Number(std::string_view option, int fallback) const;

  // Prints "lumadoll-tool COMMAND: MESSAGE" and the usage line to standard
  // error, and returns kExitUsage. For what can only be checked later, such
  // as a palette group the loaded doll lacks.
  int UsageError(std::string_view message) const;

 private:
  friend int RunCommandLine(const std::vector<std::string>& args);
  friend std::string ParseCommandArgs(const CommandSpec& spec, const std::vector<std::string>& args,
                                      ParsedArgs* parsed);

  const CommandSpec* command_ = nullptr;
  std::vector<std::string> operands_;
  std::vector<std::pair<std::string, std::string>> options_;  // name, value ("" for switches)
};

// Reads `args` (the words after the command name) against `spec`. Returns
// the message of the first usage error, or an empty string. "--help" is not
// handled here.
std::string ParseCommandArgs(const CommandSpec& spec, const std::vector<std::string>& args,
                             ParsedArgs* parsed);

// Runs lumadoll-tool with the words after the program name: --help,
// --version, COMMAND --help, or a command. Returns the exit status.
int RunCommandLine(const std::vector<std::string>& args);

// The texts of --help and COMMAND --help, wrapped for a terminal.
std::string ToolHelp();
std::string CommandHelp(const CommandSpec& spec);
std::string GroupHelp(std::string_view group);
std::string VersionText();

}  // namespace luma::cli

#endif  // LUMA_CLI_COMMAND_LINE_H_
