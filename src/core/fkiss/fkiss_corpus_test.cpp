#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/snap_to.h"
#include "core/host/text.h"
#include "core/model/cnf_lines.h"
#include "core/testing/fkiss_doll.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

namespace fs = std::filesystem;
using testing::ScriptedDoll;

int CountSnapToEffects(const FkissScript& script) {
  int count = 0;
  for (const TargetRecord* record : script.records()) {
    for (const PairLink<RegionPair>& link : record->regions) {
      if (!link.owner) continue;
      count += IsSnapToEvent(*link.pair, link.pair->in);
      count += IsSnapToEvent(*link.pair, link.pair->stillin);
    }
  }
  return count;
}

// The CNF members of a corpus archive, extracted with the lha program.
std::vector<fs::path> ExtractCnfs(const fs::path& archive, const fs::path& into) {
  const std::string command =
      "cd '" + into.string() + "' && lha -xqw=. '" + archive.string() + "' >/dev/null 2>&1";
  (void)std::system(command.c_str());
  std::vector<fs::path> cnfs;
  for (const auto& entry : fs::recursive_directory_iterator(into)) {
    if (EqualsIgnoreCase(ExtensionPart(entry.path().string()), "cnf")) cnfs.push_back(entry.path());
  }
  return cnfs;
}

TEST(FkissCorpusTest, LargeScriptsParse) {
  LUMA_REQUIRE_CORPUS();
  for (const auto& entry : fs::directory_iterator(testing::CorpusDir() / "cnf")) {
    if (entry.path().extension() != ".cnf") continue;
    SCOPED_TRACE(entry.path().string());
    ScriptedDoll d(SplitDiskCnfText(testing::ReadFile(entry.path())));
    EXPECT_TRUE(d.script.script_flag);
    EXPECT_GT(d.script.event_count, 10);
    EXPECT_GE(d.script.level, kFkissLevel1);
    EXPECT_EQ(d.doll.report.error_count(), 0) << d.ReportText();
  }
}

TEST(FkissCorpusTest, DollScriptsParseAndAuroraHasItsSnapToEffects) {
  LUMA_REQUIRE_CORPUS();
  if (std::system("command -v lha >/dev/null 2>&1") != 0) GTEST_SKIP() << "lha not installed";
  int dolls = 0;
  for (const auto& entry : fs::directory_iterator(testing::CorpusDir() / "dolls")) {
    if (entry.path().extension() != ".lzh") continue;
    SCOPED_TRACE(entry.path().string());
    testing::TempDir dir;
    for (const fs::path& cnf : ExtractCnfs(entry.path(), dir.path())) {
      ScriptedDoll d(SplitArchiveCnfText(testing::ReadFile(cnf)));
      ++dolls;
      if (entry.path().filename() == "aurora.lzh") {
        EXPECT_EQ(CountSnapToEffects(d.script), 80);
        EXPECT_EQ(d.script.level, kFkissLevel2);
      }
    }
  }
  EXPECT_GE(dolls, 7);
}

}  // namespace
}  // namespace luma
