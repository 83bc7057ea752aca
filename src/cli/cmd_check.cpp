// lumadoll-tool check FILE... : loads a doll (a CNF on disk or an LZH/LHA
// archive) and prints its error report, counters and title; or works through
// a collection of dolls with one line and one JSON record per doll.
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/check_report.h"
#include "cli/cli_host.h"
#include "cli/commands.h"
#include "cli/doll_collection.h"
#include "core/doll/doll_device.h"
#include "core/doll/kiss_cnf_doc.h"
#include "core/host/settings.h"
#include "core/host/text.h"

namespace luma::cli {
namespace {

// Answers the question which CNF of an archive to open: the one named on the
// command line, or the first. For a collection it says nothing and keeps the
// messages for the doll's record.
class CheckHost : public CliHost {
 public:
  CheckHost(std::string wanted, bool quiet) : wanted_(std::move(wanted)), quiet_(quiet) {
    set_collect_messages(quiet);
  }

  int Choose(std::string_view, std::string_view, const std::vector<std::string>& items) override {
    Say("CNF files:\n");
    for (const std::string& item : items) Say("  " + item + "\n");
    if (wanted_.empty()) {
      Say("Loading the first: " + items[0] + " (another one with --cnf NAME)\n\n");
      return 0;
    }
    for (size_t i = 0; i < items.size(); ++i) {
      if (EqualsIgnoreCase(items[i], wanted_) ||
          EqualsIgnoreCase(FileNamePart(items[i]), wanted_)) {
        Say("Loading " + items[i] + "\n\n");
        return static_cast<int>(i);
      }
    }
    ShowMessage("", "The archive holds no CNF named " + wanted_, MessageIcon::kWarning);
    return -1;
  }

 private:
  void Say(const std::string& text) {
    if (!quiet_) std::fputs(text.c_str(), stdout);
  }

  std::string wanted_;
  bool quiet_;
};

// Loads one doll of a collection in a process of its own.
DollResult CheckOne(const DollJob& job) {
  CheckHost host(job.shown_cnf, /*quiet=*/true);
  const Settings settings;
  DollResult result;
  std::unique_ptr<RenderDevice> device = CreateRenderDevice(settings, DeviceSetupOptions(), host);
  const auto start = std::chrono::steady_clock::now();
  std::optional<CKissCnfDoc> doc;
  if (device) {
    doc.emplace(host, *device, settings);
    result.loaded = doc->OpenDoll(job.path);
  }
  const double ms =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::string failure;
  for (const std::string& m : host.messages()) failure += (failure.empty() ? "" : " ") + m;
  if (!result.loaded) {
    if (failure.empty()) failure = "the doll could not be loaded";
    result.summary = "failed: " + failure;
    result.json_members = "\"failure\": " + JsonString(failure);
  } else {
    const CheckReport report = MakeCheckReport(*doc);
    result.summary = StringPrintf("%d error%s, %d warning%s, %.0f ms", report.error_count,
                                  report.error_count == 1 ? "" : "s", report.warning_count,
                                  report.warning_count == 1 ? "" : "s", ms);
    result.cnf = LoadedCnf(job, *doc);
    result.json_members = CheckReportJson(report);
    if (!failure.empty()) result.json_members += ", \"messages\": " + JsonString(failure);
    doc->Close();
  }
  result.json_members += StringPrintf(", \"load ms\": %.3f", ms);
  return result;
}

int RunCheck(const ParsedArgs& args) {
  if (args.Has("--cnf") && args.Has("--all-cnfs")) {
    return args.UsageError("--cnf and --all-cnfs exclude each other");
  }
  if (IsCollection(args)) {
    if (args.Has("--cnf")) return args.UsageError("--cnf: only with a single FILE");
    return RunCollection(args, CheckOne);
  }
  const std::string& path = args.operand(0);
  CheckHost host(args.Value("--cnf"), /*quiet=*/false);
  const Settings settings;
  std::unique_ptr<RenderDevice> device = CreateRenderDevice(settings, DeviceSetupOptions(), host);
  if (!device) return kExitFailed;
  CKissCnfDoc doc(host, *device, settings);
  if (!doc.OpenDoll(path)) return kExitFailed;
  std::fputs(CheckReportText(MakeCheckReport(doc)).c_str(), stdout);
  doc.Close();
  return kExitOk;
}

}  // namespace

const CommandSpec& CheckCommand() {
  static const CommandSpec spec = [] {
    CommandSpec c{
        .name = "check",
        .summary = "Load dolls and print their error reports, counters and titles",
        .description =
            "Loads a doll (.cnf on disk, or an .lzh/.lha/.zip archive) through the whole loading "
            "pipeline, with paletted textures and default settings, and prints its report: the "
            "errors under \"No Errors Found\", \"1 Error:\" or \"N Errors:\", a blank line, the "
            "warnings under \"No Warnings Found\", \"1 Warning:\" or \"N Warnings:\", a blank "
            "line, then the counters one per line: Cels, Cel counts (16-colour / 256-colour / "
            "32-bit), Unique Cels, Ambiguous cels, KCF counts (16 / 256), Objects, Groups, Events "
            "and Actions (FKiSS events that have actions, and their actions), FKiSS (the script's "
            "level: 1, 1b, 2, 2.1, 3, 4, or None), Quads, Textures, then a blank line and the "
            "title. Each listed entry is one line as the error report shows it (at most 100 per "
            "list plus a closing note).\n\n"
            "An archive with several CNFs first lists them (\"CNF files:\", one per line) and "
            "loads the one named by --cnf or the first, saying so.\n\n"
            "Collections: with several FILEs, a folder (searched recursively for .cnf, .lzh, "
            ".lha and .zip files), --json or --all-cnfs, each doll is loaded in a process of its "
            "own with "
            "a time limit, several at once (-j), and gets one line as it ends: \"PATH: N errors, "
            "M warnings, T ms\", \"PATH: failed: \" and the message, \"PATH: crashed\" and the "
            "cause, or \"PATH: timed out after S s\" (with --all-cnfs PATH is followed by "
            "[CNF]). A progress line shows on a terminal; a closing line counts "
            "the dolls loaded, failed, crashed and timed out. The JSON records, in the order the "
            "dolls were found, hold: path, cnf, status (loaded, failed, crashed or timed out), "
            "failure, error count, errors, warning count, warnings, every counter under the name "
            "check prints (Cel counts and KCF counts as arrays of numbers, FKiSS as text), "
            "Title, load ms and seconds.\n\n"
            "Exit status 0 when the doll loaded (whatever problems it has; for a collection, "
            "every doll), 1 when it could not be opened (the message on standard error), 2 for a "
            "usage error.",
        .operands = {{.name = "FILE", .complete = Complete::kDoll, .repeatable = true}},
        .options = {{.name = "--cnf",
                     .value = "NAME",
                     .help = "In an archive with several CNFs, load the one named NAME (file "
                             "name or member name, any case) instead of the first."}},
        .run = RunCheck,
    };
    for (OptionSpec& o : CollectionOptionSpecs()) c.options.push_back(std::move(o));
    return c;
  }();
  return spec;
}

}  // namespace luma::cli
