#include <array>

#include "cli/command_line.h"
#include "cli/commands.h"

namespace luma::cli {

std::span<const CommandSpec* const> AllCommands() {
  static const std::array kCommands = {
      &CheckCommand(),          &ArchiveListCommand(),   &ArchiveTestCommand(),
      &ArchiveExtractCommand(), &ArchiveCreateCommand(), &RenderCommand(),
      &ThumbnailCommand(),      &SaveCnfCommand(),       &BuildArchiveCommand(),
      &PlayCommand(),
  };
  return kCommands;
}

}  // namespace luma::cli
