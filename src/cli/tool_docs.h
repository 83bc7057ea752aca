#ifndef LUMA_CLI_TOOL_DOCS_H_
#define LUMA_CLI_TOOL_DOCS_H_

#include <string>
#include <string_view>

namespace luma::cli {

// The COMMANDS section of the manual page in roff: each command with its
// usage, description and options, from the command tables.
std::string ManualCommands();

// Text made safe for roff: backslashes, minus signs and leading dots.
std::string RoffEscape(std::string_view text);

// A bash completion script for lumadoll-tool: commands, options, the values
// of options that take a few known words, and files of the right types.
std::string BashCompletion();

}  // namespace luma::cli

#endif  // LUMA_CLI_TOOL_DOCS_H_
