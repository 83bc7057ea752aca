#ifndef LUMA_APP_PROGRAM_OPTIONS_H_
#define LUMA_APP_PROGRAM_OPTIONS_H_

#include <span>
#include <string>
#include <string_view>

namespace luma::app {

// The desktop program's own command-line options. One table drives the
// parsing before any window opens, --help and the manual page, so the three
// cannot disagree.
enum class ProgramAction { kHelp, kVersion };

struct ProgramOption {
  std::string_view name;   // "--help"
  std::string_view alias;  // "-h", or empty
  ProgramAction action;
  std::string_view summary;  // the line of --help
  std::string_view manual;   // the sentence of the manual page
};

std::span<const ProgramOption> ProgramOptions();

// The option `arg` names, or null.
const ProgramOption* FindProgramOption(std::string_view arg);

// What --help prints.
std::string ProgramUsage();

// The OPTIONS, EXIT STATUS and SIGNALS sections of lumadoll(1) in roff.
std::string ManualOptions();

}  // namespace luma::app

#endif  // LUMA_APP_PROGRAM_OPTIONS_H_
