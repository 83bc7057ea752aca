// lumadoll-tool save-cnf FILE -o OUT.cnf [options]: loads a doll and saves
// its CNF with the preserving or the reformatting writer.
#include <cstdio>
#include <string>

#include "cli/cli_host.h"
#include "cli/commands.h"
#include "cli/loaded_doll.h"
#include "core/files/cnf_save.h"

namespace luma::cli {
namespace {

constexpr char kSaveCnfUsage[] =
    "usage: lumadoll-tool save-cnf FILE -o OUT.cnf [--reformat] [--positions] [--mapping]\n"
    "         [--transparencies] [--stack-hint] [--maxfix-hint] [--bounds-hint]\n";

int Usage() {
  std::fputs(kSaveCnfUsage, stderr);
  return kExitUsage;
}

}  // namespace

int RunSaveCnf(const Args& args) {
  std::string path;
  std::string out;
  CnfSaveOptions options;
  const std::pair<const char*, bool*> flags[] = {
      {"--reformat", &options.reformat},       {"--positions", &options.positions},
      {"--mapping", &options.mapping},         {"--transparencies", &options.transparencies},
      {"--stack-hint", &options.stack_hint},   {"--maxfix-hint", &options.maxfix_hint},
      {"--bounds-hint", &options.bounds_hint},
  };
  for (size_t i = 0; i < args.size(); ++i) {
    bool* flag = nullptr;
    for (const auto& [name, target] : flags) {
      if (args[i] == name) flag = target;
    }
    if (flag) {
      *flag = true;
    } else if (args[i] == "-o" && i + 1 < args.size() && out.empty()) {
      out = args[++i];
    } else if (!args[i].empty() && args[i][0] != '-' && path.empty()) {
      path = args[i];
    } else {
      return Usage();
    }
  }
  if (path.empty() || out.empty()) return Usage();

  CliHost host;
  const Settings settings;
  LoadedDoll doll = LoadDoll(path, host, settings);
  if (!doll.doc) return kExitFailed;
  const bool saved = SaveToNewCnf(*doll.doc, out, options);
  doll.doc->Close();
  return saved ? kExitOk : kExitFailed;
}

}  // namespace luma::cli
