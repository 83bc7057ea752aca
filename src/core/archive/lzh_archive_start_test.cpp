// Self-extracting archives: a program in front of the members.
#include "core/archive/lzh_archive_start.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/archive/lzh_archive.h"
#include "core/testing/lzh_builder.h"

namespace luma {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::LzhTestArchive;
using testing::LzhTestMember;
using testing::LzhTestMemberBytes;
using testing::StoredTestMember;

Bytes Members() {
  LzhTestMember cel = StoredTestMember("doll.cel", "cel bytes");
  cel.directory = "cels/";
  return LzhTestArchive({LzhTestMemberBytes(StoredTestMember("DOLL.CNF", "cnf text"), 0),
                         LzhTestMemberBytes(cel, 2)});
}

// A program's bytes, with the kind of near misses that real extractor programs hold: the
// method names of its decoder as text, and a header whose checksum is off.
Bytes ExtractorProgram(size_t size) {
  Bytes program(size);
  std::mt19937 rng(5);
  for (uint8_t& b : program) b = static_cast<uint8_t>(rng());
  program[0] = 'M';
  program[1] = 'Z';
  const char names[] = "-lh0-\0-lh5-\0-lhd-";
  std::copy(names, names + sizeof names, program.begin() + 600);
  Bytes decoy = LzhTestMemberBytes(StoredTestMember("decoy.txt", "decoy"), 1);
  decoy[1] ^= 1;
  if (size >= 2000 + decoy.size()) std::copy(decoy.begin(), decoy.end(), program.begin() + 2000);
  return program;
}

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST(LzhArchiveStartTest, FindsTheArchiveBehindAnExtractorProgram) {
  const Bytes image = Concat(ExtractorProgram(30 * 1024), Members());
  EXPECT_EQ(FindLzhArchiveStart(image), 30 * 1024u);
  LzhArchive archive;
  ASSERT_TRUE(archive.OpenImage(image).ok());
  ASSERT_EQ(archive.index().size(), 2u);
  EXPECT_EQ(archive.index()[0].header_position, 30 * 1024u);
  Result<Bytes> cel = archive.ExtractToMemory("doll.cel");
  ASSERT_TRUE(cel.ok()) << cel.status().message();
  EXPECT_EQ(std::string(cel->begin(), cel->end()), "cel bytes");
  // Walks of the headers start at the archive, not at the program.
  archive.Rewind();
  EXPECT_EQ(archive.ReadNextHeader(), LzhHeaderStep::kMember);
  EXPECT_EQ(archive.current_name(), "doll.cnf");
  EXPECT_TRUE(archive.FindMember("cels/doll.cel"));

  // A level-2 header proves itself by its header CRC.
  const Bytes level2 =
      Concat(ExtractorProgram(5000),
             LzhTestArchive({LzhTestMemberBytes(StoredTestMember("a.cnf", "a"), 2)}));
  EXPECT_EQ(FindLzhArchiveStart(level2), 5000u);
  // An archive at the start needs no proof.
  EXPECT_EQ(FindLzhArchiveStart(Members()), 0u);
}

TEST(LzhArchiveStartTest, ProgramsWithoutAnArchiveAreRefused) {
  EXPECT_EQ(FindLzhArchiveStart(ExtractorProgram(30 * 1024)), std::nullopt);
  EXPECT_FALSE(LzhArchive().OpenImage(ExtractorProgram(30 * 1024)).ok());
  EXPECT_EQ(FindLzhArchiveStart({}), std::nullopt);
  // A valid header whose member runs past the end of the file is no
  // archive.
  Bytes cut = Concat(ExtractorProgram(1000), Members());
  cut.resize(1000 + 33 + 3);  // the first header and 3 of its 8 bytes
  EXPECT_EQ(FindLzhArchiveStart(cut), std::nullopt);
  // Only the first 64 KiB of a program that is not a Windows one are
  // searched.
  EXPECT_EQ(FindLzhArchiveStart(Concat(ExtractorProgram(65 * 1024), Members())), std::nullopt);
}

// A Windows program whose one section ends at `end`.
Bytes WindowsProgram(uint32_t end) {
  Bytes program = ExtractorProgram(end);
  auto put = [&](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) program[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  put(0x3C, 0x80, 4);
  put(0x80, 0x00004550, 4);  // "PE\0\0"
  put(0x86, 1, 2);           // one section
  put(0x94, 0, 2);           // no optional header
  put(0x98 + 16, end - 0x400, 4);
  put(0x98 + 20, 0x400, 4);
  return program;
}

TEST(LzhArchiveStartTest, LooksBehindTheSectionsOfAWindowsProgram) {
  // Windows self-extractors append the archive to the program, which may
  // itself be larger than 64 KiB.
  const Bytes image = Concat(WindowsProgram(70000), Concat(Bytes(900, 0), Members()));
  EXPECT_EQ(FindLzhArchiveStart(image), 70900u);
  Bytes not_windows = image;
  not_windows[0x80] = 'N';
  EXPECT_EQ(FindLzhArchiveStart(not_windows), std::nullopt);
}

}  // namespace
}  // namespace luma
