#include "core/archive/lzh_archive.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "core/archive/crc16.h"
#include "core/host/posix_file_system.h"
#include "core/testing/lzh_builder.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::LzhTestArchive;
using testing::LzhTestMember;
using testing::LzhTestMemberBytes;
using testing::StoredTestMember;

std::string Text(const Result<Bytes>& bytes) {
  return bytes.ok() ? std::string(bytes->begin(), bytes->end())
                    : "<" + bytes.status().message() + ">";
}

std::vector<std::string> IndexNames(const LzhArchive& archive) {
  std::vector<std::string> names;
  for (const LzhIndexEntry& e : archive.index()) names.push_back(e.name);
  return names;
}

Bytes ThreeLevels(bool final_zero) {
  LzhTestMember second = StoredTestMember("two.txt", "second");
  second.directory = "docs\xFF";
  return LzhTestArchive(
      {LzhTestMemberBytes(StoredTestMember("ONE.TXT", "first"), 0), LzhTestMemberBytes(second, 1),
       LzhTestMemberBytes(StoredTestMember("three.txt", "third"), 2)},
      final_zero);
}

TEST(LzhArchiveTest, IndexesEveryLevelWithOrWithoutTheFinalZero) {
  for (bool final_zero : {true, false}) {
    LzhArchive archive;
    ASSERT_TRUE(archive.OpenImage(ThreeLevels(final_zero)).ok());
    EXPECT_EQ(IndexNames(archive), (std::vector<std::string>{"one.txt", "two.txt", "three.txt"}));
    EXPECT_EQ(Text(archive.ExtractToMemory("one.txt")), "first");
    // The level-1 member's extended headers are not part of its data.
    EXPECT_EQ(Text(archive.ExtractToMemory("two.txt")), "second");
    EXPECT_EQ(Text(archive.ExtractToMemory("three.txt")), "third");
    // Walking the headers again finds the same members and adds none.
    archive.Rewind();
    int members = 0;
    while (archive.ReadNextHeader() == LzhHeaderStep::kMember) ++members;
    EXPECT_EQ(members, 3);
    EXPECT_EQ(archive.ReadNextHeader(), LzhHeaderStep::kEndOfArchive);
    EXPECT_EQ(archive.index().size(), 3u);
  }
}

TEST(LzhArchiveTest, FindsMembersByFileNameIgnoringCase) {
  LzhTestMember nested = StoredTestMember("readme.txt", "nested");
  nested.directory = "dir/sub/";
  LzhTestMember later = StoredTestMember("readme.txt", "later");
  later.directory = "other/";
  LzhArchive archive;
  ASSERT_TRUE(
      archive
          .OpenImage(LzhTestArchive({LzhTestMemberBytes(nested, 2), LzhTestMemberBytes(later, 1)}))
          .ok());
  // The first member of that file name wins, whatever its directory.
  EXPECT_EQ(Text(archive.ExtractToMemory("README.TXT")), "nested");
  EXPECT_EQ(archive.current_name(), "readme.txt");
  // Full names are found by scanning the headers.
  EXPECT_EQ(Text(archive.ExtractToMemory("OTHER/Readme.txt")), "later");
  EXPECT_FALSE(archive.FindMember("missing.txt"));
  EXPECT_FALSE(archive.ExtractToMemory("missing.txt").ok());
}

TEST(LzhArchiveTest, HeaderVariantsOfOldAndForeignArchivers) {
  // A level-0 header two bytes short of a CRC: extracted unchecked.
  LzhTestMember old = StoredTestMember("OLD.DAT", "old data");
  old.with_crc = false;
  old.crc = 0x1234;
  // Method ids in upper case.
  LzhTestMember upper = StoredTestMember("upper.dat", "upper");
  upper.method = "-LH0-";
  LzhArchive archive;
  ASSERT_TRUE(
      archive.OpenImage(LzhTestArchive({LzhTestMemberBytes(old, 0), LzhTestMemberBytes(upper, 1)}))
          .ok());
  EXPECT_EQ(Text(archive.ExtractToMemory("old.dat")), "old data");
  EXPECT_EQ(Text(archive.ExtractToMemory("UPPER.DAT")), "upper");
}

TEST(LzhArchiveTest, MembersWithoutUsableDataYieldNothing) {
  LzhTestMember empty = StoredTestMember("empty.txt", "");
  LzhTestMember dir = StoredTestMember("", "");
  dir.method = "-lhd-";
  dir.directory = "folder/";
  LzhTestMember bad_crc = StoredTestMember("bad.txt", "damaged");
  bad_crc.crc ^= 1;
  // An unknown method is copied as stored, so packed data fails its CRC.
  LzhTestMember unknown = StoredTestMember("unknown.txt", "packed bytes");
  unknown.method = "-pm1-";
  unknown.crc = StoredTestMember("", "the original text").crc;
  LzhTestMember huge = StoredTestMember("huge.txt", "tiny");
  huge.unpacked_size = 0xFFFFFFF0;
  LzhArchive archive;
  ASSERT_TRUE(
      archive
          .OpenImage(LzhTestArchive({LzhTestMemberBytes(empty, 0), LzhTestMemberBytes(dir, 2),
                                     LzhTestMemberBytes(bad_crc, 1), LzhTestMemberBytes(unknown, 0),
                                     LzhTestMemberBytes(huge, 0),
                                     LzhTestMemberBytes(StoredTestMember("ok", "fine"), 0)}))
          .ok());
  EXPECT_EQ(archive.index().size(), 6u);
  EXPECT_TRUE(archive.FindMember("empty.txt"));
  for (const char* name : {"empty.txt", "folder/", "bad.txt", "unknown.txt", "huge.txt"}) {
    EXPECT_FALSE(archive.ExtractToMemory(name).ok()) << name;
  }
  EXPECT_EQ(Text(archive.ExtractToMemory("ok")), "fine");
}

// Counts what a member streams and how large the pieces are.
class CountingOutput : public LzhOutput {
 public:
  bool Write(std::span<const uint8_t> bytes) override {
    total += bytes.size();
    largest = std::max(largest, bytes.size());
    spaces_only =
        spaces_only && std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == ' '; });
    return total <= refuse_after;
  }

  uint64_t total = 0;
  size_t largest = 0;
  bool spaces_only = true;
  uint64_t refuse_after = UINT64_MAX;
};

TEST(LzhArchiveTest, StreamsMembersOfAnySize) {
  constexpr uint32_t kSize = 300u << 20;
  const LzhTestMember big = testing::SpacesTestMember("big.dat", kSize);
  LzhTestMember damaged = big;
  damaged.name = "damaged.dat";
  damaged.crc ^= 1;
  LzhArchive archive;
  ASSERT_TRUE(
      archive
          .OpenImage(LzhTestArchive({LzhTestMemberBytes(big, 1), LzhTestMemberBytes(damaged, 2)}))
          .ok());
  ASSERT_EQ(archive.index().size(), 2u);
  const size_t big_at = archive.index()[0].header_position;
  CountingOutput out;
  const Status status = archive.ExtractAt(big_at, out);
  EXPECT_TRUE(status.ok()) << status.message();
  EXPECT_EQ(out.total, kSize);
  EXPECT_LE(out.largest, 64u << 10);
  EXPECT_TRUE(out.spaces_only);
  // Into memory it is still refused.
  EXPECT_EQ(archive.ExtractAt(big_at).status().message(),
            "too large for a doll (314572800 bytes unpacked; at most 256 MiB)");
  EXPECT_FALSE(archive.ExtractToMemory("big.dat").ok());
  // The CRC is checked once the last byte is through.
  CountingOutput damaged_out;
  EXPECT_EQ(archive.ExtractAt(archive.index()[1].header_position, damaged_out).message(),
            "CRC error");
  EXPECT_EQ(damaged_out.total, kSize);
  // A receiver that takes no more stops the decoding.
  CountingOutput full;
  full.refuse_after = 1 << 20;
  EXPECT_EQ(archive.ExtractAt(big_at, full).message(), "cannot write the member");
  EXPECT_LE(full.total, (1u << 20) + (64u << 10));
}

TEST(LzhArchiveTest, MethodsThatCannotBeDecodedAreRefusedUpFront) {
  // LHARK marks its own -lh7- with a blank OS id in a level-1 header.
  LzhTestMember lhark = testing::SpacesTestMember("lhark.dat", 5000, "-lh7-");
  lhark.os_id = ' ';
  LzhTestMember lha = lhark;
  lha.name = "lha.dat";
  lha.os_id = 'M';
  LzhTestMember lha_level2 = lhark;
  lha_level2.name = "lha2.dat";
  LzhTestMember packed = StoredTestMember("pm2.dat", "abc");
  packed.method = "-pm2-";
  packed.unpacked_size = 10;
  // An unknown id over data of the member's size is taken as stored.
  LzhTestMember stored = StoredTestMember("pm0.dat", "stored");
  stored.method = "-pm0-";
  LzhArchive archive;
  ASSERT_TRUE(
      archive
          .OpenImage(LzhTestArchive({LzhTestMemberBytes(lhark, 1), LzhTestMemberBytes(lha, 1),
                                     LzhTestMemberBytes(lha_level2, 2),
                                     LzhTestMemberBytes(packed, 0), LzhTestMemberBytes(stored, 0)}))
          .ok());
  EXPECT_EQ(Text(archive.ExtractToMemory("lhark.dat")), "<unsupported method -lh7- (LHARK)>");
  EXPECT_EQ(Text(archive.ExtractToMemory("lha.dat")), std::string(5000, ' '));
  EXPECT_EQ(Text(archive.ExtractToMemory("lha2.dat")), std::string(5000, ' '));
  EXPECT_EQ(Text(archive.ExtractToMemory("pm2.dat")), "<unsupported method -pm2->");
  EXPECT_EQ(Text(archive.ExtractToMemory("pm0.dat")), "stored");
}

TEST(LzhArchiveTest, MalformedHeadersFailAndEndTheIndex) {
  const Bytes good = LzhTestMemberBytes(StoredTestMember("good.txt", "good"), 0);
  auto index_after_good = [&](Bytes bad) {
    LzhArchive archive;
    Bytes image = good;
    image.insert(image.end(), bad.begin(), bad.end());
    EXPECT_TRUE(archive.OpenImage(image).ok());
    EXPECT_FALSE(LzhArchive().OpenImage(bad).ok());
    return archive.index().size();
  };
  Bytes sized = LzhTestMemberBytes(StoredTestMember("x.txt", "x"), 0);
  // Header sizes outside 10-100.
  sized[0] = 9;
  EXPECT_EQ(index_after_good(sized), 1u);
  sized[0] = 101;
  EXPECT_EQ(index_after_good(sized), 1u);
  // A level-0 name running past the header.
  Bytes long_name = LzhTestMemberBytes(StoredTestMember("x.txt", "x"), 0);
  long_name[21] = 40;
  EXPECT_EQ(index_after_good(long_name), 1u);
  // A level-1 extended header running past the end, or too small to hold its
  // own next-size word.
  Bytes ext = LzhTestMemberBytes(StoredTestMember("x.txt", "x"), 1);
  Bytes ext_past = ext;
  ext_past[25 + 5] = 0xF0;  // first extension size
  EXPECT_EQ(index_after_good(ext_past), 1u);
  Bytes ext_tiny = ext;
  ext_tiny[25 + 5] = 2;
  EXPECT_EQ(index_after_good(ext_tiny), 1u);
  // A level-2 header longer than the data, and one whose extensions overrun it.
  Bytes level2 = LzhTestMemberBytes(StoredTestMember("x.txt", "x"), 2);
  Bytes level2_long = level2;
  level2_long[1] = 0x0F;
  EXPECT_EQ(index_after_good(level2_long), 1u);
  Bytes level2_ext = level2;
  level2_ext[24] = 0x80;
  EXPECT_EQ(index_after_good(level2_ext), 1u);
  // Not a method id at all: a program's header.
  Bytes program = LzhTestMemberBytes(StoredTestMember("x.txt", "x"), 0);
  program[2] = 'M';
  EXPECT_EQ(index_after_good(program), 1u);
}

TEST(LzhArchiveTest, LevelTwoHeadersMayExceedOneByteOfLength) {
  const std::string name(300, 'n');
  LzhArchive archive;
  ASSERT_TRUE(archive
                  .OpenImage(LzhTestArchive({LzhTestMemberBytes(StoredTestMember(name, "long"), 2),
                                             LzhTestMemberBytes(StoredTestMember("b", "b"), 0)}))
                  .ok());
  EXPECT_EQ(IndexNames(archive), (std::vector<std::string>{name, "b"}));
  EXPECT_EQ(Text(archive.ExtractToMemory(name)), "long");
}

TEST(LzhArchiveTest, OpenReportsFilesThatCannotBeRead) {
  PosixFileSystem disk;
  testing::TempDir dir;
  LzhArchive archive;
  Status missing = archive.Open(disk, (dir / "missing.lzh").string());
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.message(), "No such file or directory");
  // Opening works but reading fails: the message callers show.
  EXPECT_EQ(archive.Open(disk, dir.str()).message(), "File not found!");
  testing::WriteFile(dir / "empty.lzh", "");
  EXPECT_FALSE(archive.Open(disk, (dir / "empty.lzh").string()).ok());
  const Bytes image = ThreeLevels(true);
  testing::WriteFile(dir / "a.lzh", std::string(image.begin(), image.end()));
  ASSERT_TRUE(archive.Open(disk, (dir / "a.lzh").string()).ok());
  EXPECT_EQ(archive.path(), (dir / "a.lzh").string());
  EXPECT_EQ(archive.index().size(), 3u);
}

TEST(LzhArchiveTest, CreateNewStartsAnEmptyImage) {
  LzhArchive archive;
  ASSERT_TRUE(archive.OpenImage(ThreeLevels(true)).ok());
  archive.CreateNew("out.lzh");
  EXPECT_TRUE(archive.is_new());
  EXPECT_EQ(archive.path(), "out.lzh");
  EXPECT_EQ(archive.image().size(), 0u);
  EXPECT_TRUE(archive.index().empty());
}

TEST(LzhHeaderTest, NamesAreConvertedForTheirOperatingSystem) {
  auto parsed_name = [](std::string name, char os_id, int level) {
    LzhTestMember m = StoredTestMember(std::move(name), "");
    m.os_id = os_id;
    LzhHeader header;
    EXPECT_TRUE(ParseLzhHeader(LzhTestMemberBytes(m, level), header));
    return header.name;
  };
  EXPECT_EQ(parsed_name("DIR\\FILE.TXT", 'M', 0), "dir/file.txt");
  EXPECT_EQ(parsed_name("DIR\\FILE.TXT", 0, 1), "dir/file.txt");
  EXPECT_EQ(parsed_name("Dir\\File.txt", 0, 1), "Dir/File.txt");
  EXPECT_EQ(parsed_name("Folder:File", 'm', 1), "Folder/File");
  EXPECT_EQ(parsed_name("UPPER.TXT", 'U', 2), "UPPER.TXT");
  EXPECT_EQ(LzhMemberFileName("dir\\sub/c:file.cel"), "file.cel");
}

// Japanese archives: ソ ends in the byte of '\\', ア in that of 'A'.
TEST(LzhHeaderTest, ShiftJisNamesKeepTheirSecondBytes) {
  auto parsed_name = [](std::string name, char os_id, int level) {
    LzhTestMember m = StoredTestMember(std::move(name), "");
    m.os_id = os_id;
    LzhHeader header;
    EXPECT_TRUE(ParseLzhHeader(LzhTestMemberBytes(m, level), header));
    return header.name;
  };
  const std::string so = "\x83\x5c";
  const std::string a = "\x83\x41";
  EXPECT_EQ(parsed_name("DIR\\" + a + so + ".CEL", 'M', 0), "dir/" + a + so + ".cel");
  EXPECT_EQ(parsed_name(so + a + ".CEL", 0, 1), so + a + ".cel");
  EXPECT_EQ(LzhMemberFileName("dir\\" + so + ".cel"), so + ".cel");
  EXPECT_TRUE(LzhNamesEqual(a + ".CEL", a + ".cel"));
  EXPECT_FALSE(LzhNamesEqual(a + ".cel", "\x83\x61.cel"));  // ヂ
  EXPECT_TRUE(LzhNamesEqual("FILE.CEL", "file.cel"));
}

TEST(LzhHeaderTest, DosTimesConvertWithoutTimeZone) {
  EXPECT_EQ(DosTimeToUnix(0), 0u);
  // 2000-01-01 00:00:00 and 2024-02-29 13:45:58.
  EXPECT_EQ(DosTimeToUnix((20u << 25) | (1u << 21) | (1u << 16)), 946684800u);
  EXPECT_EQ(DosTimeToUnix((44u << 25) | (2u << 21) | (29u << 16) | (13u << 11) | (45u << 5) | 29u),
            1709214358u);
}

TEST(Crc16Test, MatchesTheArcCheckValueAtEveryAlignment) {
  const std::string check = "123456789";
  EXPECT_EQ(Crc16(std::span(reinterpret_cast<const uint8_t*>(check.data()), check.size())), 0xBB3D);
  // The eight-byte steps agree with the bitwise definition for every length.
  Bytes data;
  for (int i = 0; i < 40; ++i) {
    uint16_t slow = 0;
    for (uint8_t b : data) {
      slow ^= b;
      for (int k = 0; k < 8; ++k) slow = (slow & 1) ? (slow >> 1) ^ 0xA001 : slow >> 1;
    }
    EXPECT_EQ(Crc16(data), slow) << i;
    data.push_back(static_cast<uint8_t>(i * 37 + 11));
  }
}

}  // namespace
}  // namespace luma
