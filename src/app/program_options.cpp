#include "app/program_options.h"

#include <array>

namespace luma::app {
namespace {

constexpr std::array<ProgramOption, 2> kOptions = {{
    {"--help", "-h", ProgramAction::kHelp, "show this help and end",
     "Prints how to start the program and its options, and ends."},
    {"--version", "", ProgramAction::kVersion, "show the version and end",
     "Prints the version, and ends."},
}};

// Minus signs in roff are hyphens unless escaped.
std::string Roff(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '-' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

}  // namespace

std::span<const ProgramOption> ProgramOptions() { return kOptions; }

const ProgramOption* FindProgramOption(std::string_view arg) {
  for (const ProgramOption& option : kOptions) {
    if (arg == option.name || (!option.alias.empty() && arg == option.alias)) return &option;
  }
  return nullptr;
}

std::string ProgramUsage() {
  std::string text =
      "Usage: lumadoll [OPTION] [FILE]\n"
      "Opens a KiSS paper doll: a CNF file, or an LZH, LHA or ZIP archive that holds\n"
      "one (an LZH archive also inside a self-extracting .exe or .com).\n"
      "Only one Lumadoll runs for each user: a second start hands FILE to the first.\n"
      "\n";
  for (const ProgramOption& option : kOptions) {
    std::string names = option.alias.empty() ? "    " : std::string(option.alias) + ", ";
    names += option.name;
    names.resize(std::max<size_t>(names.size() + 2, 17), ' ');
    text += "  " + names + std::string(option.summary) + "\n";
  }
  text +=
      "\n"
      "These work without a display; the standard options of Qt programs, such as\n"
      "-platform NAME and -display DISPLAY, are taken too.\n";
  return text;
}

std::string ManualOptions() {
  std::string text = ".SH OPTIONS\n";
  for (const ProgramOption& option : kOptions) {
    text += ".TP\n";
    if (option.alias.empty()) {
      text += ".B " + Roff(option.name) + "\n";
    } else {
      text += ".BR " + Roff(option.alias) + " \", \" " + Roff(option.name) + "\n";
    }
    text += std::string(option.manual) + "\n";
  }
  text +=
      ".PP\n"
      "These work without a display. The standard options of Qt programs, such as\n"
      "\\fB\\-platform\\fR \\fINAME\\fR and \\fB\\-display\\fR \\fIDISPLAY\\fR,\n"
      "are taken too; any other option that begins with\n"
      ".B \\-\\-\n"
      "is refused.\n"
      ".SH EXIT STATUS\n"
      ".TP\n"
      ".B 0\n"
      "The window was closed, or the program ended by a signal, or an option printed\n"
      "what it asked for, or the running instance took FILE.\n"
      ".TP\n"
      ".B 1\n"
      "There is no display to open a window on (neither\n"
      ".B DISPLAY\n"
      "nor\n"
      ".B WAYLAND_DISPLAY\n"
      "set, or a display that cannot be reached), or\n"
      ".I FILE\n"
      "could not be opened as a doll.\n"
      ".TP\n"
      ".B 2\n"
      "An unknown option.\n"
      ".SH SIGNALS\n"
      "SIGTERM, SIGINT and SIGHUP end the program as closing its window does: the\n"
      "dolls close, their temporary files are deleted and the settings are saved.\n";
  return text;
}

}  // namespace luma::app
