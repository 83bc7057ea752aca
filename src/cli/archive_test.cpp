#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
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

// Members the way various archivers wrote them, behind a program's stub.
std::string WriteForeignArchive(const testing::TempDir& dir) {
  LzhTestMember os2 = StoredTestMember("readme.txt", "level 3\n");
  os2.directory = "os2/";
  os2.os_id = '2';
  LzhTestMember os9 = StoredTestMember("startup", "os-9\n");
  os9.os_id = 'K';
  LzhTestMember amiga_dir = StoredTestMember("", "");
  amiga_dir.directory = "amiga/sub";
  amiga_dir.os_id = 'A';
  LzhTestMember amiga = StoredTestMember("hello.txt", "amiga\n");
  amiga.directory = "amiga/sub";
  amiga.os_id = 'A';
  LzhTestMember comment =
      StoredTestMember(std::string("note.txt") + '\0' + "Written on\x1b an A500", "note\n");
  comment.os_id = 'A';
  LzhTestMember lhark = testing::SpacesTestMember("lhark.dat", 100, "-lh7-");
  lhark.os_id = ' ';
  std::string image(30 * 1024, 'x');
  image[0] = 'M';
  image[1] = 'Z';
  const std::vector<uint8_t> archive = testing::LzhTestArchive(
      {LzhTestMemberBytes(os2, 3), LzhTestMemberBytes(os9, 2), LzhTestMemberBytes(amiga_dir, 2),
       LzhTestMemberBytes(amiga, 2), LzhTestMemberBytes(comment, 1), LzhTestMemberBytes(lhark, 1)});
  image.append(archive.begin(), archive.end());
  const std::string path = (dir / "doll.exe").string();
  testing::WriteFile(path, image);
  return path;
}

TEST(ArchiveCommandTest, ReadsWhatEveryArchiverWrote) {
  testing::TempDir dir;
  const std::string path = WriteForeignArchive(dir);
  ProgramResult r = Archive({"list", path});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out,
            "-lh0-          8          8 48fc 2001-01-15 12:00:00 os2/readme.txt\n"
            "-lh0-          5          5 d3cc 2001-01-15 12:00:00 startup\n"
            "-lh0-          0          0 0000 2001-01-15 12:00:00 amiga/sub/\n"
            "-lh0-          6          6 6ca0 2001-01-15 12:00:00 amiga/sub/hello.txt\n"
            "-lh0-          5          5 901f 2001-01-15 12:00:00 note.txt  (comment: Written on? "
            "an A500)\n"
            "-lh7-          7        100 4469 2001-01-15 12:00:00 lhark.dat\n");
  r = Archive({"test", path});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.out,
            "os2/readme.txt: OK\nstartup: OK\namiga/sub/: OK\namiga/sub/hello.txt: OK\n"
            "note.txt: OK\nlhark.dat: unsupported method -lh7- (LHARK)\n");
  for (const auto& [member, content] :
       std::vector<std::pair<std::string, std::string>>{{"README.TXT", "level 3\n"},
                                                        {"startup", "os-9\n"},
                                                        {"amiga/sub/hello.txt", "amiga\n"},
                                                        {"note.txt", "note\n"}}) {
    r = Archive({"extract", path, member});
    EXPECT_EQ(r.exit_code, 0) << member << r.err;
    EXPECT_EQ(r.out, content);
  }
}

TEST(ArchiveCommandTest, NamesAreShownAsTextInTheArchivesEncoding) {
  testing::TempDir dir;
  // Shift-JIS names: "ねこ.kcf" and "ドール.cel".
  const std::string cat = "\x82\xcb\x82\xb1.kcf";
  const std::string doll = "\x83\x68\x81\x5b\x83\x8b.cel";
  const std::vector<uint8_t> japanese =
      testing::LzhTestArchive({LzhTestMemberBytes(StoredTestMember(cat, "kcf"), 1),
                               LzhTestMemberBytes(StoredTestMember(doll, "cel"), 1)});
  const std::string path = (dir / "jp.lzh").string();
  testing::WriteFile(path, std::string(japanese.begin(), japanese.end()));
  ProgramResult r = Archive({"list", path});
  EXPECT_NE(r.out.find(" ねこ.kcf\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find(" ドール.cel\n"), std::string::npos) << r.out;
  // Either spelling of a name finds the member.
  EXPECT_EQ(Archive({"extract", path, "ドール.CEL"}).out, "cel");
  EXPECT_EQ(Archive({"extract", path, doll}).out, "cel");

  // UTF-8 names keep their letters; C1 control characters are no safer
  // than C0 ones.
  const std::vector<uint8_t> utf8 =
      testing::LzhTestArchive({LzhTestMemberBytes(StoredTestMember("na\xc3\xafve.cel", "n"), 2),
                               LzhTestMemberBytes(StoredTestMember("x\xc2\x9b"
                                                                   "31m.cel",
                                                                   "x"),
                                                  2)});
  const std::string utf8_path = (dir / "utf8.lzh").string();
  testing::WriteFile(utf8_path, std::string(utf8.begin(), utf8.end()));
  r = Archive({"test", utf8_path});
  EXPECT_EQ(r.out, "naïve.cel: OK\nx?31m.cel: OK\n");
}

TEST(ArchiveCommandTest, StreamsMembersTooLargeForMemory) {
  testing::TempDir dir;
  const std::vector<uint8_t> image = testing::LzhTestArchive(
      {LzhTestMemberBytes(testing::SpacesTestMember("big.dat", 400u << 20), 1)});
  const std::string path = (dir / "big.lzh").string();
  testing::WriteFile(path, std::string(image.begin(), image.end()));
  const ProgramResult r = Archive({"test", path});
  EXPECT_EQ(r.exit_code, 0) << r.err;
  EXPECT_EQ(r.out, "big.dat: OK\n");
  // Far below the member's 400 MiB: the program and one ring of history.
  EXPECT_LT(r.max_rss_kib, 100 * 1024);
  std::printf("archive test of a 400 MiB member: peak memory %ld KiB\n", r.max_rss_kib);
}

TEST(ArchiveCommandTest, ExtractPrefersTheExactNameAndKeepsFilesOnFailure) {
  testing::TempDir dir;
  LzhTestMember attributes = StoredTestMember("hello.txt", "extended attributes");
  attributes.directory = "EAS/";
  LzhTestMember damaged = StoredTestMember("damaged.txt", "damaged");
  damaged.crc ^= 1;
  const std::vector<uint8_t> image = testing::LzhTestArchive(
      {LzhTestMemberBytes(attributes, 1),
       LzhTestMemberBytes(StoredTestMember("hello.txt", "hi"), 1), LzhTestMemberBytes(damaged, 0)});
  const std::string path = (dir / "a.lzh").string();
  testing::WriteFile(path, std::string(image.begin(), image.end()));
  EXPECT_EQ(Archive({"extract", path, "hello.txt"}).out, "hi");
  EXPECT_EQ(Archive({"extract", path, "eas/HELLO.TXT"}).out, "extended attributes");

  testing::WriteFile(dir / "out.txt", "old");
  const ProgramResult r =
      Archive({"extract", path, "damaged.txt", "-o", (dir / "out.txt").string()});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.err, "damaged.txt: CRC error\n");
  EXPECT_EQ(testing::ReadFile(dir / "out.txt"), "old");
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    ++files;
  }
  EXPECT_EQ(files, 2);  // a.lzh and out.txt: nothing left behind
}

TEST(ArchiveCommandTest, RefusesUnreadableArchivesAndBadUsage) {
  testing::TempDir dir;
  testing::WriteFile(dir / "not.lzh", "MZ this is a program, not an archive");
  // A pipe would hold the tool until something writes to it.
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  for (const std::string& file :
       {(dir / "not.lzh").string(), (dir / "none.lzh").string(), (dir / "pipe").string()}) {
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
