#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/testing/lzh_builder.h"
#include "core/testing/run_program.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::LzhTestMember;
using testing::LzhTestMemberBytes;
using testing::ProgramResult;
using testing::StoredTestMember;

ProgramResult Archive(std::vector<std::string> args) {
  args.insert(args.begin(), "archive");
  return testing::RunProgram(LUMA_TOOL_PATH, args);
}

// doc/readme.txt, a directory entry, a member whose CRC does not match,
// and a name with a terminal escape in it.
std::string WriteArchive(const testing::TempDir& dir, bool with_damage) {
  LzhTestMember readme = StoredTestMember("readme.txt", "hello\n");
  readme.directory = "doc/";
  LzhTestMember folder = StoredTestMember("", "");
  folder.method = "-lhd-";
  folder.directory = "doc/";
  LzhTestMember damaged = StoredTestMember("BAD.CEL", "bytes");
  damaged.crc ^= 0x0101;
  LzhTestMember odd = StoredTestMember("odd\x1b]2;x.txt", "odd");
  std::vector<std::vector<uint8_t>> members = {
      LzhTestMemberBytes(readme, 1), LzhTestMemberBytes(folder, 2), LzhTestMemberBytes(odd, 0)};
  if (with_damage) members.push_back(LzhTestMemberBytes(damaged, 0));
  const std::vector<uint8_t> image = testing::LzhTestArchive(members);
  const std::string path = (dir / (with_damage ? "damaged.lzh" : "good.lzh")).string();
  testing::WriteFile(path, std::string(image.begin(), image.end()));
  return path;
}

TEST(ArchiveCommandTest, ListsOneLinePerMember) {
  testing::TempDir dir;
  const ProgramResult r = Archive({"list", WriteArchive(dir, true)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "-lh0-          6          6 5a34 2001-01-15 12:00:00 doc/readme.txt\n"
            "-lhd-          0          0 0000 2001-01-15 12:00:00 doc/\n"
            "-lh0-          3          3 361b 2001-01-15 12:00:00 odd?]2;x.txt\n"
            "-lh0-          5          5 3acb 2001-01-15 12:00:00 bad.cel\n");
}

TEST(ArchiveCommandTest, TestDecodesEveryMemberAndFailsOnDamage) {
  testing::TempDir dir;
  ProgramResult r = Archive({"test", WriteArchive(dir, false)});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "doc/readme.txt: OK\ndoc/: OK\nodd?]2;x.txt: OK\n");
  r = Archive({"test", WriteArchive(dir, true)});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_NE(r.out.find("bad.cel: CRC error\n"), std::string::npos) << r.out;
}

TEST(ArchiveCommandTest, ExtractsByFileNameToOutputOrFile) {
  testing::TempDir dir;
  const std::string archive = WriteArchive(dir, true);
  ProgramResult r = Archive({"extract", archive, "README.TXT"});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "hello\n");
  r = Archive({"extract", archive, "readme.txt", "-o", (dir / "out.txt").string()});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(testing::ReadFile(dir / "out.txt"), "hello\n");
  EXPECT_EQ(Archive({"extract", archive, "bad.cel"}).exit_code, 1);
  EXPECT_EQ(Archive({"extract", archive, "missing.cel"}).exit_code, 1);
}

TEST(ArchiveCommandTest, RefusesUnreadableArchivesAndBadUsage) {
  testing::TempDir dir;
  testing::WriteFile(dir / "not.lzh", "MZ this is a program, not an archive");
  for (const std::string& file : {(dir / "not.lzh").string(), (dir / "none.lzh").string()}) {
    const ProgramResult r = Archive({"list", file});
    EXPECT_EQ(r.exit_code, 1);
    EXPECT_NE(r.err.find("Unable to open"), std::string::npos) << r.err;
  }
  EXPECT_EQ(Archive({}).exit_code, 2);
  EXPECT_EQ(Archive({"list"}).exit_code, 2);
  EXPECT_EQ(Archive({"extract", "a.lzh", "m", "-x", "p"}).exit_code, 2);
}

}  // namespace
}  // namespace luma
