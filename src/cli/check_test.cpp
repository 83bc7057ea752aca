#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/tool_fixture.h"
#include "core/testing/corpus_dolls.h"
#include "core/testing/doll_builder.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ProgramResult;

class CheckCommandTest : public testing::ToolFixture {};

// The counter lines of a report: everything after the second blank line.
std::string Counters(const std::string& out) {
  const size_t first = out.find("\n\n");
  const size_t second = first == std::string::npos ? first : out.find("\n\n", first + 2);
  return second == std::string::npos ? "" : out.substr(second + 2);
}

TEST_F(CheckCommandTest, PrintsTheReportCountersAndTitle) {
  doll_.Write("doll.cnf",
              "%body.kcf\r\n"
              "#0 body.cel *0 :0 1 ;%t300\r\n"
              "#1 hat.cel :0 12 ;!hats\r\n"
              "#1 hat.cel *1\r\n"
              "#2 gone.cel\r\n"
              "$0 10,10 20,20\r\n");
  doll_.Write("body.kcf", testing::TestKcf(16));
  doll_.Write("body.cel", testing::TestCel(10, 20, 4));
  doll_.Write("hat.cel", testing::TestCel(8, 4, 32));
  const ProgramResult r = Tool("check", {doll_.Path("doll.cnf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "3 Errors:\n"
            "Set number (12) out of range in line 3. Assuming sets 0, 1, 2 should be used.\n"
            "Palette out of range (1) in line 4\n"
            "gone.cel file not found\n"
            "\n"
            "1 Warning:\n"
            "Transparency out of range (300) in line 2\n"
            "\n"
            "Cels: 3\n"
            "Cel counts: 1 / 0 / 1\n"
            "Unique Cels: 3\n"
            "Ambiguous cels: 1\n"
            "KCF counts: 1 / 0\n"
            "Objects: 3\n"
            "Groups: 1\n"
            "Events: 0\n"
            "Actions: 0\n"
            "FKiSS: None\n"
            "Quads: 4\n"
            "Textures: 2\n"
            "\n"
            "Title: doll.cnf\n");
}

TEST_F(CheckCommandTest, ReportsTheScript) {
  doll_.Write("doll.cnf",
              "#0 body.cel\n"
              "#1 hat.cel\n"
              ";@EventHandler\n"
              ";@press(#1) unmap(#1) movebyxx(#1, #0, 3)\n"
              ";@release(#1) map(#1\n"
              ";@in(#1, #0) transparent(#1, 10) map(#7)\n");
  doll_.Write("body.cel", testing::TestCel(10, 20, 32));
  doll_.Write("hat.cel", testing::TestCel(8, 4, 32));
  const ProgramResult r = Tool("check", {doll_.Path("doll.cnf")});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  const std::string report =
      "1 Error:\n"
      "FKiSS: Syntax error in line 5 [release(#1) map(#1]\n"
      "\n"
      "2 Warnings:\n"
      "FKiSS: Unable to match command movebyxx() in line 4. Using closest match movebyx().\n"
      "FKiSS: Object #7 not found in line 6.\n"
      "\n";
  EXPECT_EQ(r.out.substr(0, report.size()), report);
  EXPECT_NE(r.out.find("\nEvents: 2\nActions: 3\nFKiSS: 2\n"), std::string::npos) << r.out;
}

TEST_F(CheckCommandTest, TheDemoDollIsClean) {
  const ProgramResult r = Tool("check", {std::string(LUMA_SOURCE_DIR) + "/samples/demo/demo.cnf"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 36), "No Errors Found\n\nNo Warnings Found\n\n");
  EXPECT_NE(r.out.find("Cel counts: 5 / 2 / 1\n"), std::string::npos) << r.out;
}

TEST_F(CheckCommandTest, ArchiveWithSeveralCnfsListsThemAndLoadsTheChosenOne) {
  doll_.Write("pack.lzh", testing::TestDollArchive({{"a.cnf", "#0 x.cel\n"},
                                                    {"b.cnf", "#0 x.cel\n#1 x.cel\n"},
                                                    {"x.cel", testing::TestCel(4, 4, 32)}}));
  const std::string path = doll_.Path("pack.lzh");
  ProgramResult r = Tool("check", {path});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out.substr(0, 75),
            "CNF files:\n  a.cnf\n  b.cnf\nLoading the first: a.cnf (another one with --cnf");
  EXPECT_NE(r.out.find("\nTitle: pack.lzh (a.cnf)\n"), std::string::npos) << r.out;

  r = Tool("check", {path, "--cnf", "B.CNF"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_NE(r.out.find("Cels: 2\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\nTitle: pack.lzh (b.cnf)\n"), std::string::npos) << r.out;

  r = Tool("check", {path, "--cnf", "c.cnf"});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "The archive holds no CNF named c.cnf\n");
}

TEST_F(CheckCommandTest, ExitStatusForFilesThatDoNotOpenAndForUsage) {
  const std::string missing = doll_.Path("none.cnf");
  ProgramResult r = Tool("check", {missing});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Unable to open\n" + missing + "\n");
  EXPECT_TRUE(r.out.empty());
  doll_.Write("notes.txt", "hello");
  r = Tool("check", {doll_.Path("notes.txt")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, doll_.Path("notes.txt") + "\nis not a KiSS file type\n");
  doll_.Write("junk.lzh", "not an archive");
  r = Tool("check", {doll_.Path("junk.lzh")});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "Unable to open\n" + doll_.Path("junk.lzh") + "\nIt is not an LZH archive.\n");
  // A text file renamed .cnf loads, but its report says what it likely is.
  doll_.Write("letter.cnf", "Dear diary,\r\ntoday nothing happened.\r\n");
  r = Tool("check", {doll_.Path("letter.cnf")});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.out.rfind("1 Error:\nNo cels were found in letter.cnf: it may not be a KiSS "
                        "configuration file\n\n",
                        0),
            0u)
      << r.out;
  EXPECT_EQ(Tool("check", {}).exit_code, 2);
  EXPECT_EQ(Tool("check", {"a.cnf", "b.cnf"}).exit_code, 1);  // a collection of two missing dolls
  EXPECT_EQ(Tool("check", {"a.lzh", "--cnf"}).exit_code, 2);
}

TEST_F(CheckCommandTest, CorpusCnfFilesAllRead) {
  LUMA_REQUIRE_CORPUS();
  for (const auto& entry : std::filesystem::directory_iterator(testing::CorpusDir() / "cnf")) {
    if (entry.path().extension() != ".cnf") continue;
    const ProgramResult r = Tool("check", {entry.path().string()});
    EXPECT_EQ(r.exit_code, 0) << entry.path() << r.err;
    EXPECT_NE(r.out.find("\nCels: "), std::string::npos) << entry.path();
  }
}

// One doll of the corpus manifest: what a correct load prints.
struct ManifestDoll {
  std::string archive;
  std::string cnf;  // "-" for the damaged doll
  std::string cels;
  std::string cel_counts;
  std::string kcf_counts;
};

std::vector<ManifestDoll> ReadManifest() {
  std::istringstream manifest(testing::ReadFile(testing::CorpusDir() / "dolls/manifest.tsv"));
  std::vector<ManifestDoll> dolls;
  std::string line;
  std::getline(manifest, line);  // column names
  while (std::getline(manifest, line)) {
    std::vector<std::string> cols;
    std::istringstream fields(line);
    for (std::string f; std::getline(fields, f, '\t');) cols.push_back(f);
    if (cols.size() < 7) continue;
    dolls.push_back({cols[0], cols[1], cols[2], cols[5], cols[6]});
  }
  return dolls;
}

void ExpectManifestCounters(const ManifestDoll& doll, const ProgramResult& r) {
  EXPECT_EQ(r.exit_code, 0) << doll.archive << r.err;
  const std::string counters = "\n" + Counters(r.out);
  for (const std::string& expected :
       {"Cels: " + doll.cels, "Cel counts: " + doll.cel_counts, "KCF counts: " + doll.kcf_counts}) {
    EXPECT_NE(counters.find("\n" + expected + "\n"), std::string::npos)
        << doll.archive << ": no \"" << expected << "\" in\n"
        << counters;
  }
}

// Every doll of the corpus loads with exactly the counters its manifest
// gives; the damaged one is refused with a message and no report.
TEST_F(CheckCommandTest, CorpusDollsMatchTheirManifest) {
  LUMA_REQUIRE_CORPUS();
  const std::vector<ManifestDoll> dolls = ReadManifest();
  int loaded = 0;
  int refused = 0;
  for (const ManifestDoll& doll : dolls) {
    const std::string path = (testing::CorpusDir() / "dolls" / doll.archive).string();
    const ProgramResult r = Tool("check", {path});
    if (doll.cnf != "-") {
      ExpectManifestCounters(doll, r);
      ++loaded;
      continue;
    }
    EXPECT_EQ(r.exit_code, 1) << doll.archive;
    EXPECT_TRUE(r.out.empty()) << r.out;
    const bool known = r.err.rfind("Unable to open\n" + path + "\n", 0) == 0 ||
                       r.err.find("does not contain a CNF file") != std::string::npos ||
                       r.err.rfind("Unable to extract ", 0) == 0;
    EXPECT_TRUE(known) << doll.archive << ": " << r.err;
    ++refused;
  }
  EXPECT_GE(loaded, 7);
  EXPECT_EQ(refused, 1);
}

// The same dolls unpacked into a folder load from their CNF on disk with the
// same counters: the disk and archive paths agree on real dolls.
TEST_F(CheckCommandTest, CorpusDollsUnpackedLoadTheSameFromDisk) {
  LUMA_REQUIRE_CORPUS();
  for (const ManifestDoll& doll : ReadManifest()) {
    if (doll.cnf == "-") continue;
    testing::DiskDoll unpacked;
    for (const testing::CorpusMember& member :
         testing::ReadArchiveMembers(testing::CorpusDir() / "dolls" / doll.archive)) {
      unpacked.Write(member.name, member.bytes);
    }
    ExpectManifestCounters(doll, Tool("check", {unpacked.Path(doll.cnf)}));
  }
}

}  // namespace
}  // namespace luma
