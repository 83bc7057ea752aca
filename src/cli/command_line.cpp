#include "cli/command_line.h"

#include <algorithm>
#include <cstdio>
#include <optional>

#include "cli/help_text.h"
#include "core/host/text.h"

#ifndef LUMA_VERSION
#error "LUMA_VERSION must name the program's version"
#endif

namespace luma::cli {
namespace {

constexpr char kProgram[] = "lumadoll-tool";

std::string OptionUsage(const OptionSpec& o) {
  std::string text = o.name;
  if (!o.value.empty()) text += " " + o.value;
  if (o.required) return text;
  return "[" + text + "]" + (o.repeatable ? "..." : "");
}

std::string OperandUsage(const OperandSpec& o) {
  std::string text = o.name + (o.repeatable ? "..." : "");
  return o.optional ? "[" + text + "]" : text;
}

std::string OperandNames(const CommandSpec& spec) {
  std::string names;
  for (const OperandSpec& o : spec.operands) names += (names.empty() ? "" : " ") + OperandUsage(o);
  return names;
}

std::string_view GroupOf(std::string_view name) {
  const size_t blank = name.find(' ');
  return blank == std::string_view::npos ? std::string_view() : name.substr(0, blank);
}

const CommandSpec* FindCommand(std::string_view name) {
  for (const CommandSpec* c : AllCommands()) {
    if (c->name == name) return c;
  }
  return nullptr;
}

std::vector<const CommandSpec*> GroupMembers(std::string_view group) {
  std::vector<const CommandSpec*> members;
  for (const CommandSpec* c : AllCommands()) {
    if (GroupOf(c->name) == group) members.push_back(c);
  }
  return members;
}

bool IsOptionWord(const std::string& word) { return word.size() > 1 && word[0] == '-'; }

bool IsHelpWord(const std::string& word) { return word == "--help" || word == "-h"; }

std::string UsageMessage(const std::string& context, std::string_view message,
                         const std::string& usage) {
  return StringPrintf("%s: %.*s\nusage: %s\n", context.c_str(), static_cast<int>(message.size()),
                      message.data(), usage.c_str());
}

std::string GroupUsage(std::string_view group) {
  std::string lines;
  for (const CommandSpec* c : GroupMembers(group)) {
    lines += (lines.empty() ? "" : "       ") + c->UsageLine() + "\n";
  }
  return lines;
}

}  // namespace

ValueCheck WholeNumber(int low, int high, std::string range) {
  return [low, high, range](std::string_view value) -> std::string {
    size_t used = 0;
    const int number = ParseInt(value, &used);
    const bool plain = !value.empty() && !IsAsciiSpace(value[0]) && value[0] != '+';
    if (plain && used == value.size() && number >= low && number <= high) return "";
    return range;
  };
}

std::vector<std::string> NumberWords(int low, int high) {
  std::vector<std::string> words;
  for (int i = low; i <= high; ++i) words.push_back(std::to_string(i));
  return words;
}

ValueCheck PictureFile() {
  return [](std::string_view value) -> std::string {
    const std::string_view extension = ExtensionPart(value);
    if (EqualsIgnoreCase(extension, "png") || EqualsIgnoreCase(extension, "bmp")) return "";
    return "the picture must be .png or .bmp";
  };
}

ValueCheck SizeValue(int limit) {
  const ValueCheck side = WholeNumber(1, limit, "wrong");
  return [side, limit](std::string_view value) -> std::string {
    const size_t x = value.find('x');
    if (x != std::string_view::npos && side(value.substr(0, x)).empty() &&
        side(value.substr(x + 1)).empty()) {
      return "";
    }
    return StringPrintf("the size is WIDTHxHEIGHT, each 1 to %d", limit);
  };
}

const OptionSpec* CommandSpec::FindOption(std::string_view option_name) const {
  for (const OptionSpec& o : options) {
    if (o.name == option_name) return &o;
  }
  return nullptr;
}

std::string CommandSpec::UsageLine() const {
  std::string line = std::string(kProgram) + " " + name;
  const std::string operand_names = OperandNames(*this);
  if (!operand_names.empty()) line += " " + operand_names;
  for (const OptionSpec& o : options) line += " " + OptionUsage(o);
  return line;
}

bool ParsedArgs::Has(std::string_view option) const {
  return std::any_of(options_.begin(), options_.end(),
                     [option](const auto& given) { return given.first == option; });
}

std::string ParsedArgs::Value(std::string_view option, std::string fallback) const {
  for (auto it = options_.rbegin(); it != options_.rend(); ++it) {
    if (it->first == option) return it->second;
  }
  return fallback;
}

std::vector<std::string> ParsedArgs::Values(std::string_view option) const {
  std::vector<std::string> values;
  for (const auto& [name, value] : options_) {
    if (name == option) values.push_back(value);
  }
  return values;
}

int ParsedArgs::Number(std::string_view option, int fallback) const {
  return Has(option) ? ParseInt(Value(option)) : fallback;
}

int ParsedArgs::UsageError(std::string_view message) const {
  std::fputs(
      UsageMessage(std::string(kProgram) + " " + command_->name, message, command_->UsageLine())
          .c_str(),
      stderr);
  return kExitUsage;
}

std::string ParseCommandArgs(const CommandSpec& spec, const std::vector<std::string>& args,
                             ParsedArgs* parsed) {
  parsed->command_ = &spec;
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& word = args[i];
    if (options_ended || !IsOptionWord(word)) {
      parsed->operands_.push_back(word);
      continue;
    }
    if (word == "--") {
      options_ended = true;
      continue;
    }
    std::string name = word;
    std::optional<std::string> attached;
    const size_t equals = word.find('=');
    if (word.starts_with("--") && equals != std::string::npos) {
      name = word.substr(0, equals);
      attached = word.substr(equals + 1);
    }
    const OptionSpec* option = spec.FindOption(name);
    if (!option) return name + ": not an option of " + spec.name;
    if (!option->repeatable && parsed->Has(name)) return name + ": given twice";
    std::string value;
    if (option->value.empty()) {
      if (attached) return name + ": takes no value";
    } else if (attached) {
      value = *attached;
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return name + ": missing " + option->value;
    }
    if (option->check) {
      const std::string problem = option->check(value);
      if (!problem.empty()) return name + " " + value + ": " + problem;
    }
    parsed->options_.emplace_back(name, value);
  }

  size_t needed = 0;
  bool open_ended = false;
  for (const OperandSpec& o : spec.operands) {
    if (!o.optional) ++needed;
    open_ended |= o.repeatable;
  }
  const size_t given = parsed->operands_.size();
  if (given < needed) {
    size_t counted = 0;
    for (const OperandSpec& o : spec.operands) {
      if (o.optional) continue;
      if (counted++ == given) return "missing " + o.name;
    }
  }
  if (!open_ended && given > spec.operands.size()) {
    return parsed->operands_[spec.operands.size()] + ": " + spec.name + " takes only " +
           OperandNames(spec);
  }
  for (const OptionSpec& o : spec.options) {
    if (o.required && !parsed->Has(o.name)) return "missing " + o.name + " " + o.value;
  }
  return "";
}

int RunCommandLine(const std::vector<std::string>& args) {
  if (args.empty()) {
    std::fputs(ToolHelp().c_str(), stderr);
    return kExitUsage;
  }
  const std::string& first = args[0];
  if (IsHelpWord(first) || first == "help") {
    if (first == "help" && args.size() > 1) {
      std::vector<std::string> asked(args.begin() + 1, args.end());
      asked.push_back("--help");
      return RunCommandLine(asked);
    }
    std::fputs(ToolHelp().c_str(), stdout);
    return kExitOk;
  }
  if (first == "--version") {
    std::fputs(VersionText().c_str(), stdout);
    return kExitOk;
  }

  const CommandSpec* spec = nullptr;
  size_t used = 1;
  if (!GroupMembers(first).empty()) {
    if (args.size() > 1) spec = FindCommand(first + " " + args[1]);
    used = 2;
    if (!spec) {
      if (args.size() > 1 && IsHelpWord(args[1])) {
        std::fputs(GroupHelp(first).c_str(), stdout);
        return kExitOk;
      }
      std::string names;
      for (const CommandSpec* c : GroupMembers(first)) {
        names += (names.empty() ? "" : ", ") + c->name.substr(first.size() + 1);
      }
      const std::string said = args.size() > 1 ? args[1] + ": " : std::string();
      std::fprintf(stderr, "%s %s: %sexpected one of %s\nusage: %s", kProgram, first.c_str(),
                   said.c_str(), names.c_str(), GroupUsage(first).c_str());
      return kExitUsage;
    }
  } else {
    spec = FindCommand(first);
  }
  if (!spec) {
    std::fprintf(stderr, "%s: %s: no such command ('%s --help' lists them)\n", kProgram,
                 first.c_str(), kProgram);
    return kExitUsage;
  }

  const std::vector<std::string> rest(args.begin() + used, args.end());
  for (const std::string& word : rest) {
    if (word == "--") break;
    if (IsHelpWord(word)) {
      std::fputs(CommandHelp(*spec).c_str(), stdout);
      return kExitOk;
    }
  }
  ParsedArgs parsed;
  const std::string problem = ParseCommandArgs(*spec, rest, &parsed);
  if (!problem.empty()) return parsed.UsageError(problem);
  return spec->run(parsed);
}

std::string VersionText() { return std::string(kProgram) + " (Lumadoll) " + LUMA_VERSION + "\n"; }

std::string ToolHelp() {
  std::string text = std::string("usage: ") + kProgram + " COMMAND [ARGUMENTS...]\n" + "       " +
                     kProgram + " COMMAND --help\n" + "       " + kProgram +
                     " --help | --version\n\n";
  text += WrapText(
      "Loads, checks, draws and plays KiSS paper dolls and builds their archives without a "
      "screen, through the same engine as the desktop program lumadoll.",
      0);
  text += "\nCommands:\n";
  std::vector<HelpItem> items;
  for (const CommandSpec* c : AllCommands()) items.push_back({c->name, c->summary});
  text += FormatItems(items);
  text += "\n";
  text += WrapText(std::string("Exit status: 0 success, 1 a file could not be opened or processed, "
                               "2 a usage error. '") +
                       kProgram + " COMMAND --help' describes a command and its options.",
                   0);
  return text;
}

std::string GroupHelp(std::string_view group) {
  std::string text = "usage: " + GroupUsage(group) + "\n";
  std::vector<HelpItem> items;
  for (const CommandSpec* c : GroupMembers(group)) items.push_back({c->name, c->summary});
  text += FormatItems(items);
  return text;
}

std::string CommandHelp(const CommandSpec& spec) {
  std::string text = "usage: " + WrapText(spec.UsageLine(), 7).substr(7) + "\n";
  text += WrapParagraphs(spec.description);
  if (!spec.options.empty()) {
    text += "\nOptions:\n";
    std::vector<HelpItem> items;
    for (const OptionSpec& o : spec.options) {
      items.push_back({o.name + (o.value.empty() ? "" : " " + o.value), o.help});
    }
    text += FormatItems(items);
  }
  if (!spec.details.empty()) {
    text += "\n" + spec.details_heading + ":\n" + FormatItems(spec.details);
  }
  return text;
}

}  // namespace luma::cli
