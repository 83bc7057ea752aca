#include "core/files/lzh_build.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/testing/corpus_dolls.h"
#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"
#include "core/testing/doll_description.h"
#include "core/testing/lzh_builder.h"
#include "core/testing/run_program.h"

namespace luma {
namespace {

namespace fs = std::filesystem;
using testing::DescribeDoll;
using testing::DiskDoll;

// The build says nothing to the user itself: what it left out, and why the
// archive could not be written, come back to the caller.
TEST(LzhBuildTest, FilesLeftOutAndAFailedWriteAreReturned) {
  DiskDoll doll;
  doll.WritePalettedCels({"a.cel"});
  doll.Write("doll.cnf", "%pal.kcf\n#0 a.cel\n#1 missing.cel\n$0 1,1 2,2\n");
  const std::string long_name = doll.Write(std::string(70, 'n') + ".txt", "notes");
  auto doc = doll.Open("doll.cnf");
  ASSERT_TRUE(doc);
  doll.host().ClearLog();
  const std::string out = doll.Path("doll.lzh");
  const DollArchiveBuild built =
      WriteDollArchive(*doc, out, {{"/no/such/notes.txt", false}, {long_name, false}});
  EXPECT_TRUE(built.written.ok()) << built.written.message();
  ASSERT_EQ(built.skipped.size(), 3u);
  EXPECT_EQ(built.skipped[0], (SkippedFile{"missing.cel", ""}));
  EXPECT_EQ(built.skipped[1], (SkippedFile{"/no/such/notes.txt", ""}));
  EXPECT_EQ(built.skipped[2],
            (SkippedFile{long_name, "Can't add " + long_name +
                                        " to the archive: its file name is longer than 66 "
                                        "characters."}));
  EXPECT_EQ(testing::LzhMemberNames(out),
            (std::vector<std::string>{"doll.cnf", "pal.kcf", "a.cel"}));
  EXPECT_TRUE(doll.host().messages().empty());

  const std::string nowhere = doll.Path("missing/doll.lzh");
  const DollArchiveBuild failed = WriteDollArchive(*doc, nowhere, {});
  EXPECT_EQ(failed.written.message(), "Unable to write to file " + nowhere);
  EXPECT_EQ(failed.skipped, (std::vector<SkippedFile>{{"missing.cel", ""}}));
  EXPECT_TRUE(doll.host().messages().empty());
}

// Every corpus doll packed again opens to the same doll, and the archive
// passes Debian's lha.
TEST(LzhBuildCorpusTest, PackedDollsOpenAgain) {
  LUMA_REQUIRE_CORPUS();
  const bool have_lha = fs::exists("/usr/bin/lha");
  for (const fs::path& archive : testing::CorpusDollArchives()) {
    SCOPED_TRACE(archive.filename().string());
    DiskDoll doll;
    auto doc = doll.OpenPath(archive.string());
    ASSERT_TRUE(doc);
    const std::string out = doll.Path("packed.lzh");
    ASSERT_TRUE(WriteDollArchive(*doc, out, {}).written.ok());
    auto packed = doll.OpenPath(out);
    ASSERT_TRUE(packed);
    EXPECT_EQ(DescribeDoll(packed->model(), packed->fkiss()),
              DescribeDoll(doc->model(), doc->fkiss()));
    EXPECT_EQ(packed->model().cel_counts.total(), doc->model().cel_counts.total());
    EXPECT_EQ(packed->model().kcf_counts.total(), doc->model().kcf_counts.total());
    EXPECT_EQ(packed->quad_count(), doc->quad_count());
    if (have_lha) {
      const testing::ProgramResult r = testing::RunProgram("/usr/bin/lha", {"t", out});
      EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
    }
  }
}

}  // namespace
}  // namespace luma
