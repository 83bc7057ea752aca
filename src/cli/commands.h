#ifndef LUMA_CLI_COMMANDS_H_
#define LUMA_CLI_COMMANDS_H_

#include "cli/command_line.h"

namespace luma::cli {

// The table entry of each command; each runs with its checked arguments.
// A new command gets a function here, its own cmd_*.cpp and a line in
// AllCommands() (command_table.cpp).
const CommandSpec& CheckCommand();
const CommandSpec& ArchiveListCommand();
const CommandSpec& ArchiveTestCommand();
const CommandSpec& ArchiveExtractCommand();
const CommandSpec& ArchiveCreateCommand();
const CommandSpec& RenderCommand();
const CommandSpec& ThumbnailCommand();
const CommandSpec& SaveCnfCommand();
const CommandSpec& BuildArchiveCommand();
const CommandSpec& PlayCommand();

}  // namespace luma::cli

#endif  // LUMA_CLI_COMMANDS_H_
