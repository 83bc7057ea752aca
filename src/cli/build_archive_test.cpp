#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/archive/lzh_archive.h"
#include "core/testing/doll_builder.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ProgramResult;
using testing::RunProgram;

ProgramResult BuildArchive(const std::vector<std::string>& args) {
  std::vector<std::string> all{"build-archive"};
  all.insert(all.end(), args.begin(), args.end());
  return RunProgram(LUMA_TOOL_PATH, all);
}

TEST(BuildArchiveCommandTest, PacksTheDollAndTheAddedFiles) {
  testing::TempDir dir;
  testing::WriteFile(dir / "doll.cnf", "#0 a.cel\n#1 gone.cel\n$0 5,6\n");
  testing::WriteFile(dir / "a.cel", testing::TestCel(4, 4, 32));
  testing::WriteFile(dir / "notes.txt", "hello");
  const std::string out = (dir / "doll.lzh").string();
  const ProgramResult r =
      BuildArchive({(dir / "doll.cnf").string(), "-o", out, "--add", (dir / "notes.txt").string(),
                    "--add", (dir / "notes.txt").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, out + " has been created.\n");
  EXPECT_EQ(r.err, "Can't read gone.cel\n");

  LzhArchive archive;
  ASSERT_TRUE(archive.Open(out).ok());
  std::vector<std::string> names;
  for (const LzhIndexEntry& entry : archive.index()) names.push_back(entry.name);
  EXPECT_EQ(names, (std::vector<std::string>{"doll.cnf", "a.cel", "notes.txt"}));

  EXPECT_EQ(BuildArchive({(dir / "doll.cnf").string()}).exit_code, 2);
  EXPECT_EQ(
      BuildArchive({(dir / "doll.cnf").string(), "-o", (dir / "no/x.lzh").string()}).exit_code, 1);
}

TEST(BuildArchiveCommandTest, AnArchivedDollKeepsItsDocumentsUnlessOnlyTheDollIsAsked) {
  testing::TempDir dir;
  const std::vector<uint8_t> image =
      testing::TestDollArchive({{"doll.cnf", "#0 a.cel\n$0 5,6\n"},
                                {"a.cel", testing::TestCel(4, 4, 32)},
                                {"readme.txt", "hello"},
                                {"doll.doc", "manual"}});
  testing::WriteFile(dir / "in.lzh",
                     std::string_view(reinterpret_cast<const char*>(image.data()), image.size()));
  auto names = [](const std::string& path) {
    LzhArchive archive;
    std::vector<std::string> out;
    if (!archive.Open(path).ok()) return out;
    for (const LzhIndexEntry& entry : archive.index()) out.push_back(entry.name);
    return out;
  };
  const std::string out = (dir / "out.lzh").string();
  ProgramResult r = BuildArchive({(dir / "in.lzh").string(), "-o", out});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(names(out), (std::vector<std::string>{"doll.cnf", "a.cel", "readme.txt", "doll.doc"}));
  r = BuildArchive({(dir / "in.lzh").string(), "-o", out, "--only-doll"});
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
TEST(BuildArchiveCommandTest, CorpusDollsLoadAgainFromTheirBuiltArchive) {
  LUMA_REQUIRE_CORPUS();
  const bool have_lha = std::filesystem::exists("/usr/bin/lha");
  testing::TempDir dir;
  int built = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::CorpusDir() / "dolls")) {
    if (entry.path().extension() != ".lzh" || entry.path().filename() == "lina.lzh") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string out = (dir / entry.path().filename().string()).string();
    const ProgramResult r = BuildArchive({entry.path().string(), "-o", out});
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
