// lumadoll-tool check FILE [--cnf NAME]: loads a doll (a CNF on disk or an
// LZH/LHA archive) and prints its error report, counters and title.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "cli/cli_host.h"
#include "cli/commands.h"
#include "core/doll/kiss_cnf_doc.h"
#include "core/gfx/device_setup.h"
#include "core/host/settings.h"
#include "core/host/text.h"
#include "core/view/doll_statistics.h"
#include "core/view/error_report_view.h"

namespace luma::cli {
namespace {

constexpr char kCheckUsage[] =
    "usage: lumadoll-tool check FILE.cnf|FILE.lzh|FILE.lha [--cnf NAME]\n";

// Answers the question which CNF of an archive to open: the one named on the
// command line, or the first.
class CheckHost : public CliHost {
 public:
  explicit CheckHost(std::string wanted) : wanted_(std::move(wanted)) {}

  int Choose(std::string_view, std::string_view, const std::vector<std::string>& items) override {
    std::printf("CNF files:\n");
    for (const std::string& item : items) std::printf("  %s\n", item.c_str());
    if (wanted_.empty()) {
      std::printf("Loading the first: %s (another one with --cnf NAME)\n\n", items[0].c_str());
      return 0;
    }
    for (size_t i = 0; i < items.size(); ++i) {
      if (EqualsIgnoreCase(items[i], wanted_) ||
          EqualsIgnoreCase(FileNamePart(items[i]), wanted_)) {
        std::printf("Loading %s\n\n", items[i].c_str());
        return static_cast<int>(i);
      }
    }
    std::fprintf(stderr, "The archive holds no CNF named %s\n", wanted_.c_str());
    return -1;
  }

 private:
  std::string wanted_;
};

void PrintList(const std::string& heading, const std::vector<std::string>& entries) {
  std::printf("%s\n", heading.c_str());
  for (const std::string& entry : entries) std::printf("%s\n", entry.c_str());
}

void PrintReport(CKissCnfDoc& doc) {
  const DollModel& doll = doc.model();
  const ErrorReport& report = doll.report;
  PrintList(ErrorHeading(report.error_count()), report.errors());
  std::printf("\n");
  PrintList(WarningHeading(report.warning_count()), report.warnings());
  std::printf("\n");
  std::printf("Cels: %zu\n", doll.instances().size());
  std::printf("Cel counts: %d / %d / %d\n", doll.cel_counts.color16, doll.cel_counts.color256,
              doll.cel_counts.truecolor);
  std::printf("Unique Cels: %zu\n", doll.cels().size());
  std::printf("Ambiguous cels: %zu\n", doll.ambiguous_cels().size());
  std::printf("KCF counts: %d / %d\n", doll.kcf_counts.color16, doll.kcf_counts.color256);
  std::printf("Objects: %zu\n", doll.objects().size());
  std::printf("Groups: %zu\n", doll.groups().size());
  if (ScriptStages* script = doc.script()) {
    std::printf("Events: %d\n", script->event_count());
    std::printf("Actions: %d\n", script->action_count());
    std::printf("FKiSS: %s\n", FkissLevelName(doll.fkiss_level));
  }
  std::printf("Quads: %d\n", doc.quad_count());
  std::printf("Textures: %d\n", doc.textures().texture_count());
  std::printf("\nTitle: %s\n", doc.title().c_str());
}

}  // namespace

int RunCheck(const Args& args) {
  std::string path;
  std::string cnf;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--cnf" && i + 1 < args.size()) {
      cnf = args[++i];
    } else if (!args[i].empty() && args[i][0] != '-' && path.empty()) {
      path = args[i];
    } else {
      std::fputs(kCheckUsage, stderr);
      return kExitUsage;
    }
  }
  if (path.empty()) {
    std::fputs(kCheckUsage, stderr);
    return kExitUsage;
  }

  CheckHost host(cnf);
  const Settings settings;
  std::unique_ptr<RenderDevice> device = CreateRenderDevice(settings, DeviceSetupOptions(), host);
  if (!device) return kExitFailed;
  CKissCnfDoc doc(host, *device, settings);
  if (!doc.OpenDoll(path)) return kExitFailed;
  PrintReport(doc);
  doc.Close();
  return kExitOk;
}

}  // namespace luma::cli
