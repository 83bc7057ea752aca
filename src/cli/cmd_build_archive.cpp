// lumadoll-tool build-archive FILE -o OUT.lzh [--add PATH]...: packs every
// file a doll uses, and the added files, into a new LZH archive.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_host.h"
#include "cli/commands.h"
#include "cli/loaded_doll.h"
#include "core/files/lzh_build.h"

namespace luma::cli {
namespace {

constexpr char kBuildArchiveUsage[] =
    "usage: lumadoll-tool build-archive FILE -o OUT.lzh [--add PATH]...\n";

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

}  // namespace

int RunBuildArchive(const Args& args) {
  std::string path;
  std::string out;
  std::vector<std::string> additional;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" && i + 1 < args.size() && out.empty()) {
      out = args[++i];
    } else if (args[i] == "--add" && i + 1 < args.size()) {
      AddAdditionalFile(additional, args[++i]);
    } else if (!args[i].empty() && args[i][0] != '-' && path.empty()) {
      path = args[i];
    } else {
      std::fputs(kBuildArchiveUsage, stderr);
      return kExitUsage;
    }
  }
  if (path.empty() || out.empty()) {
    std::fputs(kBuildArchiveUsage, stderr);
    return kExitUsage;
  }

  // Run without a user: the palettes and the CNF are not saved first.
  BuildHost host;
  host.set_answer(Answer::kNo);
  const Settings settings;
  LoadedDoll doll = LoadDoll(path, host, settings);
  if (!doll.doc) return kExitFailed;
  LzhBuildHooks hooks;
  hooks.choose_additional_files = [&] { return std::optional(additional); };
  hooks.choose_destination = [&] { return std::optional(out); };
  const bool built = BuildLzhArchive(*doll.doc, hooks);
  doll.doc->Close();
  return built ? kExitOk : kExitFailed;
}

}  // namespace luma::cli
