// lumadoll-tool: the headless front end over the engine.
#include <QCoreApplication>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "platform/platform_paths.h"

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  luma::SetUpApplicationIdentity();
  return luma::cli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
}
