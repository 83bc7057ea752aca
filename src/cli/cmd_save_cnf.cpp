// lumadoll-tool save-cnf FILE -o OUT.cnf [options]: loads a doll and saves
// its CNF with the preserving or the reformatting writer.
#include <cstdio>
#include <string>

#include "cli/cli_host.h"
#include "cli/commands.h"
#include "cli/loaded_doll.h"
#include "core/view/cnf_save_command.h"

namespace luma::cli {
namespace {

int RunSaveCnf(const ParsedArgs& args) {
  const std::string& path = args.operand(0);
  const std::string out = args.Value("-o");
  CnfSaveOptions options;
  options.reformat = args.Has("--reformat");
  options.positions = args.Has("--positions");
  options.mapping = args.Has("--mapping");
  options.transparencies = args.Has("--transparencies");
  options.stack_hint = args.Has("--stack-hint");
  options.maxfix_hint = args.Has("--maxfix-hint");
  options.bounds_hint = args.Has("--bounds-hint");

  CliHost host;
  const Settings settings;
  LoadedDoll doll = LoadDoll(path, host, settings);
  if (!doll.doc) return kExitFailed;
  const bool saved = RunSaveToNewCnf(*doll.doc, out, options);
  doll.doc->Close();
  return saved ? kExitOk : kExitFailed;
}

}  // namespace

const CommandSpec& SaveCnfCommand() {
  static const CommandSpec spec{
      .name = "save-cnf",
      .summary = "Load a doll and save its CNF again",
      .description =
          "Loads a doll and saves its CNF as OUT. Without --reformat the CNF is kept as it was "
          "read and only what differs is edited (cel lines, border, playfield, HINT lines; the "
          "set lines are written anew); with it a fresh, column-aligned CNF is written from the "
          "loaded doll. Whatever is written loads back to the same doll. The file is written "
          "beside OUT and renamed over it when complete.\n\n"
          "Exit status 1 when the doll cannot be opened or OUT cannot be written (\"Unable to "
          "write to file\" and the path on standard error; an existing OUT stays as it was).",
      .operands = {{.name = "FILE", .complete = Complete::kDoll}},
      .options =
          {
              {.name = "-o",
               .value = "OUT.cnf",
               .help = "The CNF to write.",
               .required = true,
               .complete = Complete::kAnyFile},
              {.name = "--reformat",
               .help = "Write a fresh, column-aligned CNF from the loaded doll."},
              {.name = "--positions",
               .help = "Write the current positions (for a freshly loaded doll the same as "
                       "read)."},
              {.name = "--mapping", .help = "Write the current mapping of the cels."},
              {.name = "--transparencies", .help = "Write the current transparencies."},
              {.name = "--stack-hint",
               .help = "Add or replace \";HINT stack\" with the value from the settings."},
              {.name = "--maxfix-hint",
               .help = "Add or replace \";HINT maxfix\" with the value from the settings."},
              {.name = "--bounds-hint",
               .help = "Add or replace \";HINT bounds\" with the value from the settings."},
          },
      .run = RunSaveCnf,
  };
  return spec;
}

}  // namespace luma::cli
