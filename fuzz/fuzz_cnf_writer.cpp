// CNFs from outside through both CNF writers: whatever a writer makes of a
// doll must read back to the same doll.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_map>

#include "core/files/cnf_text.h"
#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/parse_fkiss.h"
#include "core/host/text.h"
#include "core/model/cnf_parser.h"
#include "core/testing/doll_description.h"
#include "core/testing/fake_host.h"

namespace {

// Reads `lines` the way loading does, short of the files: the CNF, the
// cel sets of shared cel files, the script.
std::string Load(luma::CnfLines lines, luma::DollModel& doll, luma::FkissScript& script) {
  luma::FakeHost host;
  doll.cnf_lines = std::move(lines);
  luma::ParseCnf(doll, host, luma::CnfParseOptions());
  std::unordered_map<std::string, int> uses;
  for (const auto& instance : doll.instances())
    ++uses[luma::AsciiLowerCopy(instance->cel->file_name)];
  for (const auto& instance : doll.instances()) {
    if (uses[luma::AsciiLowerCopy(instance->cel->file_name)] < 2) continue;
    doll.FindOrCreateAmbiguous(instance->cel->file_name)->AddInstance(instance.get());
  }
  if (!doll.fkiss_lines.empty()) {
    (void)luma::ParseFkiss(doll, script, luma::FkissParseOptions(), nullptr);
  }
  return luma::testing::DescribeDoll(doll, &script);
}

void Check(const std::string& before, const std::string& text, const char* writer) {
  luma::DollModel doll;
  luma::FkissScript script;
  const std::string after = Load(luma::SplitDiskCnfText(text), doll, script);
  if (after == before) return;
  std::fprintf(
      stderr,
      "%s writer changed the doll.\n--- CNF written:\n%s\n--- before:\n%s\n--- after:\n%s\n",
      writer, text.c_str(), before.c_str(), after.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 8192) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  luma::DollModel doll;
  luma::FkissScript script;
  const std::string before = Load(luma::SplitDiskCnfText(input), doll, script);
  luma::CnfSaveOptions options;
  Check(before, luma::FormatReformattedCnf(doll, &script, options, luma::HintValues()).text,
        "reformatting");
  Check(before, luma::FormatPreservedCnf(doll, &script, options, luma::HintValues()).text,
        "preserving");
  return 0;
}
