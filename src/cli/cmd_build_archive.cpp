// lumadoll-tool build-archive FILE -o OUT.lzh [--add PATH]... [--only-doll]: packs every
// file a doll uses, and the added files, into a new LZH archive.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_host.h"
#include "cli/commands.h"
#include "cli/loaded_doll.h"
#include "core/files/lzh_build.h"
#include "core/view/lzh_build_command.h"

namespace luma::cli {
namespace {

// The completion message is the command's result: it goes to standard output.
class BuildHost : public CliHost {
 public:
  void ShowMessage(std::string_view caption, std::string_view text, MessageIcon icon) override {
    if (icon == MessageIcon::kInformation) {
      std::printf("%.*s\n", static_cast<int>(text.size()), text.data());
    } else {
      CliHost::ShowMessage(caption, text, icon);
    }
  }
};

int RunBuildArchive(const ParsedArgs& args) {
  const std::string& path = args.operand(0);
  const std::string out = args.Value("-o");
  std::vector<AdditionalFile> added;
  for (const std::string& path : args.Values("--add")) {
    AddAdditionalFile(added, AdditionalFile{path, false});
  }
  const bool only_doll = args.Has("--only-doll");

  // Run without a user: the palettes and the CNF are not saved first.
  BuildHost host;
  host.set_answer(Answer::kNo);
  const Settings settings;
  LoadedDoll doll = LoadDoll(path, host, settings);
  if (!doll.doc) return kExitFailed;
  LzhBuildHooks hooks;
  // As the dialog would: the archive's other members first, then the files added.
  hooks.choose_additional_files = [&](std::vector<AdditionalFile> listed) {
    if (only_doll) listed.clear();
    for (const AdditionalFile& file : added) AddAdditionalFile(listed, file);
    return std::optional(listed);
  };
  hooks.choose_destination = [&] { return std::optional(out); };
  const bool built = BuildLzhArchive(*doll.doc, hooks);
  doll.doc->Close();
  return built ? kExitOk : kExitFailed;
}

}  // namespace

const CommandSpec& BuildArchiveCommand() {
  static const CommandSpec spec{
      .name = "build-archive",
      .summary = "Pack a doll and everything it uses into an LZH archive",
      .description =
          "Builds the doll's LZH archive, answering as a run without a user: palettes and the "
          "CNF are not saved first. In order: the CNF, the KCFs, each cel file once (cels used "
          "with several palettes share one file), the sound and music files, then for a doll "
          "from an archive every other member of that archive (readme, documentation, other "
          "CNFs and their files; not with --only-doll), then the added files (a path given "
          "twice goes in once), each under its file name. A file that "
          "cannot be read is reported on standard error (\"Can't read \" and its name) and "
          "left out. The archive is written to a new lmdtemp.lzh (or lmdtemp-N.lzh) beside OUT "
          "and renamed over it when complete; then \"OUT has been created.\" is printed.\n\n"
          "Exit status 1 when the doll cannot be opened or OUT cannot be written (\"Unable to "
          "write to file\" and OUT on standard error; an existing OUT stays as it was).",
      .operands = {{.name = "FILE", .complete = Complete::kDoll}},
      .options =
          {
              {.name = "-o",
               .value = "OUT.lzh",
               .help = "The archive to write.",
               .required = true,
               .complete = Complete::kArchive},
              {.name = "--add",
               .value = "PATH",
               .help = "Add this file too (after the doll's own files).",
               .repeatable = true,
               .complete = Complete::kAnyFile},
              {.name = "--only-doll",
               .help = "Leave out the other members of the archive the doll came from."},
          },
      .run = RunBuildArchive,
  };
  return spec;
}

}  // namespace luma::cli
