// lumadoll-tool check FILE.cnf: reads a doll's CNF and prints what it found.
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "cli/cli_host.h"
#include "cli/commands.h"
#include "core/host/file_io.h"
#include "core/model/cnf_parser.h"
#include "core/model/doll_model.h"

namespace luma::cli {
namespace {

constexpr char kCheckUsage[] = "usage: lumadoll-tool check FILE.cnf\n";

void PrintList(const char* none, const char* one, const char* many, int count,
               const std::vector<std::string>& entries) {
  if (count == 0) {
    std::printf("%s\n", none);
  } else if (count == 1) {
    std::printf("%s\n", one);
  } else {
    std::printf(many, count);
    std::printf("\n");
  }
  for (const std::string& entry : entries) std::printf("%s\n", entry.c_str());
}

void PrintReport(const DollModel& doll) {
  const ErrorReport& report = doll.report;
  PrintList("No Errors Found", "1 Error:", "%d Errors:", report.error_count(), report.errors());
  std::printf("\n");
  PrintList("No Warnings Found", "1 Warning:", "%d Warnings:", report.warning_count(),
            report.warnings());
  std::printf("\n");
  std::printf("Cels: %zu\n", doll.instances().size());
  std::printf("Unique Cels: %zu\n", doll.cels().size());
  std::printf("Objects: %zu\n", doll.objects().size());
  std::printf("Groups: %zu\n", doll.groups().size());
}

}  // namespace

int RunCheck(const Args& args) {
  if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
    std::fputs(kCheckUsage, stderr);
    return kExitUsage;
  }
  const std::string& path = args[0];
  const Result<std::vector<uint8_t>> bytes = ReadWholeFile(path);
  if (!bytes.ok()) {
    std::fprintf(stderr, "%s\n", FormatMessage(kMsgUnableToOpen, path).c_str());
    return kExitFailed;
  }

  CliHost host;
  DollModel doll;
  doll.cnf_lines = SplitDiskCnfText(
      std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
  ParseCnf(doll, host, CnfParseOptions{.paletted_textures = true});
  PrintReport(doll);
  return kExitOk;
}

}  // namespace luma::cli
