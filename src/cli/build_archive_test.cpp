#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/tool_fixture.h"
#include "core/archive/lzh_archive.h"
#include "core/host/posix_file_system.h"
#include "core/testing/doll_builder.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ProgramResult;
using testing::RunProgram;

class BuildArchiveCommandTest : public testing::ToolFixture {};

TEST_F(BuildArchiveCommandTest, PacksTheDollAndTheAddedFiles) {
  doll_.Write("doll.cnf", "#0 a.cel\n#1 gone.cel\n$0 5,6\n");
  doll_.Write("a.cel", testing::TestCel(4, 4, 32));
  doll_.Write("notes.txt", "hello");
  const std::string out = doll_.Path("doll.lzh");
  const ProgramResult r =
      Tool("build-archive", {doll_.Path("doll.cnf"), "-o", out, "--add", doll_.Path("notes.txt"),
                             "--add", doll_.Path("notes.txt")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, out + " has been created.\n");
  EXPECT_EQ(r.err, "Can't read gone.cel\n");

  LzhArchive archive;
  PosixFileSystem disk;
  ASSERT_TRUE(archive.Open(disk, out).ok());
  std::vector<std::string> names;
  for (const LzhIndexEntry& entry : archive.index()) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"doll.cnf", "a.cel", "notes.txt"}));

  EXPECT_EQ(Tool("build-archive", {doll_.Path("doll.cnf")}).exit_code, 2);
  EXPECT_EQ(Tool("build-archive", {doll_.Path("doll.cnf"), "-o", doll_.Path("no/x.lzh")}).exit_code,
            1);
}

TEST_F(BuildArchiveCommandTest, AnArchivedDollKeepsItsDocumentsUnlessOnlyTheDollIsAsked) {
  const std::vector<uint8_t> image =
      testing::TestDollArchive({{"doll.cnf", "#0 a.cel\n$0 5,6\n"},
                                {"a.cel", testing::TestCel(4, 4, 32)},
                                {"readme.txt", "hello"},
                                {"doll.doc", "manual"}});
  doll_.Write("in.lzh", image);
  auto names = [](const std::string& path) {
    LzhArchive archive;
    PosixFileSystem disk;
    std::vector<std::string> out;
    if (!archive.Open(disk, path).ok()) return out;
    for (const LzhIndexEntry& entry : archive.index()) out.push_back(entry.name);
    return out;
  };
  const std::string out = doll_.Path("out.lzh");
  ProgramResult r = Tool("build-archive", {doll_.Path("in.lzh"), "-o", out});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(names(out), (std::vector<std::string>{"doll.cnf", "a.cel", "readme.txt", "doll.doc"}));
  r = Tool("build-archive", {doll_.Path("in.lzh"), "-o", out, "--only-doll"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(names(out), (std::vector<std::string>{"doll.cnf", "a.cel"}));
}

// The counters `check` prints for a doll, from "Cels:" up to the title.
std::string CheckCounters(const std::string& path) {
  const ProgramResult r = RunProgram(LUMA_TOOL_PATH, {"check", path});
  EXPECT_EQ(r.exit_code, 0) << path << r.err;
  const size_t start = r.out.find("\nCels: ");
  const size_t end = r.out.find("\nTitle: ");
  if (start == std::string::npos || end == std::string::npos) return "";
  return r.out.substr(start, end - start);
}

// Each corpus doll packed again loads with the counters it had, and Debian's
// lha accepts the archive.
TEST_F(BuildArchiveCommandTest, CorpusDollsLoadAgainFromTheirBuiltArchive) {
  LUMA_REQUIRE_CORPUS();
  const bool have_lha = std::filesystem::exists("/usr/bin/lha");
  int built = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::CorpusDir() / "dolls")) {
    if (entry.path().extension() != ".lzh" || entry.path().filename() == "lina.lzh") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string out = (doll_ / entry.path().filename().string()).string();
    const ProgramResult r = Tool("build-archive", {entry.path().string(), "-o", out});
    ASSERT_EQ(r.exit_code, 0) << r.err;
    EXPECT_EQ(r.out, out + " has been created.\n");
    const std::string counters = CheckCounters(entry.path().string());
    EXPECT_FALSE(counters.empty());
    EXPECT_EQ(CheckCounters(out), counters);
    if (have_lha) {
      const ProgramResult listed = RunProgram("/usr/bin/lha", {"t", out});
      EXPECT_EQ(listed.exit_code, 0) << listed.out << listed.err;
    }
    ++built;
  }
  EXPECT_GE(built, 7);
}

}  // namespace
}  // namespace luma
