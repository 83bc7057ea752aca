#include "cli/tool_docs.h"

#include <map>
#include <vector>

#include "cli/command_line.h"

namespace luma::cli {
namespace {

std::string Paragraphs(std::string_view text) {
  std::string out;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find("\n\n", start);
    if (end == std::string_view::npos) end = text.size();
    out += ".PP\n" + RoffEscape(text.substr(start, end - start)) + "\n";
    start = end + 2;
  }
  return out;
}

std::string Items(const std::vector<HelpItem>& items) {
  std::string out;
  for (const HelpItem& item : items) {
    out += ".TP\n.B " + RoffEscape(item.term) + "\n" + RoffEscape(item.text) + "\n";
  }
  return out;
}

std::string FileKind(Complete complete) {
  switch (complete) {
    case Complete::kDoll:
      return "doll";
    case Complete::kArchive:
      return "archive";
    case Complete::kPicture:
      return "picture";
    case Complete::kFolder:
      return "folder";
    case Complete::kAnyFile:
      return "file";
    case Complete::kNothing:
    case Complete::kWords:
      break;
  }
  return "none";
}

// A bash glob that matches `extension` in any case: [cC][nN][fF].
std::string AnyCase(std::string_view extension) {
  std::string glob;
  for (char c : extension) {
    const char upper = static_cast<char>(c - 'a' + 'A');
    glob += std::string("[") + c + upper + "]";
  }
  return glob;
}

std::string Joined(const std::vector<std::string>& words) {
  std::string out;
  for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
  return out;
}

constexpr char kCompletionHead[] =
    R"(# bash completion for lumadoll-tool                         -*- shell-script -*-
# Written from the tool's own command tables when it is built.

# Appends the files of one kind that start with $2 to COMPREPLY.
_lumadoll_tool_files() {
  local kind=$1 cur=$2 pattern
  case $kind in
    doll) pattern='!*.@(@CNF@|@LZH@|@LHA@|@ZIP@)' ;;
    archive) pattern='!*.@(@LZH@|@LHA@|@ZIP@)' ;;
    picture) pattern='!*.@(@PNG@|@BMP@)' ;;
    file) pattern='' ;;
    folder) ;;
    *) return ;;
  esac
  local had_extglob=1
  shopt -q extglob || { had_extglob=0; shopt -s extglob; }
  if [[ $kind == folder ]]; then
    mapfile -t -O ${#COMPREPLY[@]} COMPREPLY < <(compgen -d -- "$cur")
  else
    mapfile -t -O ${#COMPREPLY[@]} COMPREPLY < <(compgen -f -X "$pattern" -- "$cur")
    [[ $kind == file ]] || mapfile -t -O ${#COMPREPLY[@]} COMPREPLY < <(compgen -d -- "$cur")
  fi
  ((had_extglob)) || shopt -u extglob
  compopt -o filenames 2>/dev/null
  return 0
}

_lumadoll_tool() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  COMPREPLY=()
  if ((COMP_CWORD == 1)); then
    mapfile -t COMPREPLY < <(compgen -W "@TOP@ help --help --version" -- "$cur")
    return
  fi
  local command=${COMP_WORDS[1]} first=2
  case $command in
)";

}  // namespace

std::string RoffEscape(std::string_view text) {
  std::string out;
  bool line_start = true;
  for (char c : text) {
    if (line_start && (c == '.' || c == '\'')) out += "\\&";
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
    line_start = c == '\n';
  }
  return out;
}

std::string ManualCommands() {
  std::string out;
  for (const CommandSpec* c : AllCommands()) {
    std::string usage = c->UsageLine();
    usage = usage.substr(usage.find(' ') + 1);
    out += ".SS \"" + RoffEscape(usage) + "\"\n";
    out += Paragraphs(c->description);
    if (!c->options.empty()) {
      std::vector<HelpItem> options;
      for (const OptionSpec& o : c->options) {
        options.push_back({o.name + (o.value.empty() ? "" : " " + o.value), o.help});
      }
      out += ".PP\nOptions:\n.RS\n" + Items(options) + ".RE\n";
    }
    if (!c->details.empty()) {
      out += ".PP\n" + RoffEscape(c->details_heading) + ":\n.RS\n" + Items(c->details) + ".RE\n";
    }
  }
  return out;
}

std::string BashCompletion() {
  std::vector<std::string> top;
  std::map<std::string, std::vector<std::string>> groups;
  for (const CommandSpec* c : AllCommands()) {
    const size_t blank = c->name.find(' ');
    const std::string head = c->name.substr(0, blank);
    if (top.empty() || top.back() != head) top.push_back(head);
    if (blank != std::string::npos) groups[head].push_back(c->name.substr(blank + 1));
  }

  std::string head = kCompletionHead;
  const std::pair<const char*, std::string> replacements[] = {
      {"@CNF@", AnyCase("cnf")}, {"@LZH@", AnyCase("lzh")}, {"@LHA@", AnyCase("lha")},
      {"@ZIP@", AnyCase("zip")}, {"@PNG@", AnyCase("png")}, {"@BMP@", AnyCase("bmp")},
      {"@TOP@", Joined(top)},
  };
  for (const auto& [key, value] : replacements) {
    for (size_t at; (at = head.find(key)) != std::string::npos;) {
      head.replace(at, std::string_view(key).size(), value);
    }
  }
  std::string out = head;
  // A group word takes its command as the second word.
  for (const auto& [group, members] : groups) {
    out += "    " + group + ")\n";
    out += "      if ((COMP_CWORD == 2)); then\n";
    out += "        mapfile -t COMPREPLY < <(compgen -W \"" + Joined(members) +
           " --help\" -- \"$cur\")\n";
    out += "        return\n      fi\n";
    out += "      command=\"" + group + " ${COMP_WORDS[2]}\" first=3 ;;\n";
  }
  out += "    help)\n";
  out += "      mapfile -t COMPREPLY < <(compgen -W \"" + Joined(top) + "\" -- \"$cur\")\n";
  out += "      return ;;\n";
  out += "  esac\n\n";

  // Per command: its options, those that take a value, and the kinds of its operands.
  out += "  local options='' valued='' operands='' repeat=0\n";
  out += "  case $command in\n";
  for (const CommandSpec* c : AllCommands()) {
    std::vector<std::string> options{"--help"}, valued, operands;
    bool repeat = false;
    for (const OptionSpec& o : c->options) {
      options.push_back(o.name);
      if (!o.value.empty()) valued.push_back(o.name);
    }
    for (const OperandSpec& o : c->operands) {
      operands.push_back(FileKind(o.complete));
      repeat |= o.repeatable;
    }
    out += "    \"" + c->name + "\") options='" + Joined(options) + "' valued='" + Joined(valued) +
           "' operands='" + Joined(operands) + "' repeat=" + (repeat ? "1" : "0") + " ;;\n";
  }
  out += "    *) return ;;\n  esac\n\n";

  // The value of the option just typed.
  out += "  case \"$command $prev\" in\n";
  for (const CommandSpec* c : AllCommands()) {
    for (const OptionSpec& o : c->options) {
      if (o.value.empty()) continue;
      out += "    \"" + c->name + " " + o.name + "\")\n";
      if (o.complete == Complete::kWords) {
        out +=
            "      mapfile -t COMPREPLY < <(compgen -W \"" + Joined(o.words) + "\" -- \"$cur\")\n";
      } else {
        out += "      _lumadoll_tool_files " + FileKind(o.complete) + " \"$cur\"\n";
      }
      out += "      return ;;\n";
    }
  }
  out += "  esac\n\n";
  out += R"(  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
    return
  fi
  # Which operand this is: count the earlier words that are neither options
  # nor their values.
  local i n=0 word kinds=($operands)
  for ((i = first; i < COMP_CWORD; i++)); do
    word=${COMP_WORDS[i]}
    if [[ $word == -* ]]; then
      [[ " $valued " == *" $word "* ]] && ((i++))
    else
      ((n++))
    fi
  done
  ((n >= ${#kinds[@]})) && { ((repeat)) || return; n=$((${#kinds[@]} - 1)); }
  _lumadoll_tool_files "${kinds[n]}" "$cur"
}

complete -F _lumadoll_tool lumadoll-tool
)";
  return out;
}

}  // namespace luma::cli
