// lumadoll-tool: the headless front end over the engine.
#include <QCoreApplication>
#include <cstdio>
#include <cstring>
#include <string>

#include "cli/commands.h"
#include "platform/platform_paths.h"

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const luma::cli::Args& args);
};

// Commands register here in the order `help` lists them.
const Command kCommands[] = {
    {"check", "check FILE.cnf", luma::cli::RunCheck},
    {"archive",
     "archive list|test FILE | archive extract FILE MEMBER [-o PATH] | "
     "archive create OUT.lzh FILE...",
     luma::cli::RunArchive},
    {"render",
     "render FILE -o OUT.bmp|OUT.png [--set N] [--palette G] [--size WxH] [--zoom LEVEL] "
     "[--16bit] [--emulate-palettes]",
     luma::cli::RunRender},
    {"thumbnail", "thumbnail FILE [--16bit] [--emulate-palettes]", luma::cli::RunThumbnail},
    {"save-cnf",
     "save-cnf FILE -o OUT.cnf [--reformat] [--positions] [--mapping] [--transparencies] "
     "[--stack-hint] [--maxfix-hint] [--bounds-hint]",
     luma::cli::RunSaveCnf},
    {"build-archive", "build-archive FILE -o OUT.lzh [--add PATH]...", luma::cli::RunBuildArchive},
    {"play", "play FILE --script SCRIPT [-o OUT.png] [--trace FILE]", luma::cli::RunPlay},
};

void PrintUsage(FILE* out) {
  std::fprintf(out, "usage: lumadoll-tool COMMAND [ARGS...]\n\ncommands:\n");
  for (const Command& c : kCommands) {
    if (c.name) std::fprintf(out, "  %s\n", c.usage);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  luma::SetUpApplicationIdentity();
  if (argc < 2) {
    PrintUsage(stderr);
    return luma::cli::kExitUsage;
  }
  const std::string name = argv[1];
  if (name == "help" || name == "--help" || name == "-h") {
    PrintUsage(stdout);
    return luma::cli::kExitOk;
  }
  luma::cli::Args args(argv + 2, argv + argc);
  for (const Command& c : kCommands) {
    if (c.name && name == c.name) return c.run(args);
  }
  std::fprintf(stderr, "lumadoll-tool: unknown command '%s'\n", name.c_str());
  PrintUsage(stderr);
  return luma::cli::kExitUsage;
}
