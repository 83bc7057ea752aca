// Header shapes that particular archivers write, built byte by byte.
#include "core/archive/lzh_header.h"

#include <gtest/gtest.h>

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

LzhHeader Parsed(const Bytes& bytes) {
  LzhHeader header;
  EXPECT_TRUE(ParseLzhHeader(bytes, header));
  return header;
}

bool Parses(const Bytes& bytes) {
  LzhHeader header;
  return ParseLzhHeader(bytes, header);
}

std::string Extracted(const Bytes& image, std::string_view name) {
  LzhArchive archive;
  if (!archive.OpenImage(image).ok()) return "<cannot open>";
  Result<Bytes> bytes = archive.ExtractToMemory(name);
  return bytes.ok() ? std::string(bytes->begin(), bytes->end())
                    : "<" + bytes.status().message() + ">";
}

void PutDword(Bytes& bytes, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(LzhHeaderTest, LevelThreeIsLevelTwoWithWideLengths) {
  LzhTestMember m = StoredTestMember("readme.txt", "from OS/2");
  m.directory = "docs/";
  m.os_id = '2';
  const Bytes bytes = LzhTestMemberBytes(m, 3);
  const LzhHeader h = Parsed(bytes);
  EXPECT_EQ(h.level, 3);
  EXPECT_EQ(h.name, "docs/readme.txt");
  EXPECT_EQ(h.header_length, bytes.size() - 9);
  EXPECT_EQ(h.packed_size, 9u);
  EXPECT_EQ(h.crc, m.crc);
  EXPECT_TRUE(h.unix_time_stamp());
  EXPECT_TRUE(IsVerifiedLzhHeader(bytes));
  const Bytes image =
      LzhTestArchive({bytes, LzhTestMemberBytes(StoredTestMember("next.txt", "next"), 3)});
  EXPECT_EQ(Extracted(image, "readme.txt"), "from OS/2");
  EXPECT_EQ(Extracted(image, "next.txt"), "next");

  // Held to the same bounds as the others.
  Bytes word_size = bytes;
  word_size[0] = 2;
  EXPECT_FALSE(Parses(word_size));
  Bytes too_long = bytes;
  PutDword(too_long, 24, static_cast<uint32_t>(bytes.size() + 1));
  EXPECT_FALSE(Parses(too_long));
  Bytes too_short = bytes;
  PutDword(too_short, 24, 31);
  EXPECT_FALSE(Parses(too_short));
  Bytes tiny_extension = bytes;
  PutDword(tiny_extension, 28, 4);  // cannot hold its type and the next size
  EXPECT_FALSE(Parses(tiny_extension));
  Bytes huge_extension = bytes;
  PutDword(huge_extension, 28, 0x7FFFFFFF);
  EXPECT_FALSE(Parses(huge_extension));
}

TEST(LzhHeaderTest, Os9LevelTwoLengthCountsTheRestOfTheHeader) {
  LzhTestMember m = StoredTestMember("startup", "os-9 data");
  m.os_id = 'K';
  const Bytes bytes = LzhTestMemberBytes(m, 2);
  const LzhHeader h = Parsed(bytes);
  EXPECT_EQ(h.header_length, (bytes[0] | bytes[1] << 8) + 2u);
  EXPECT_EQ(h.name, "startup");
  EXPECT_TRUE(IsVerifiedLzhHeader(bytes));
  const Bytes image = LzhTestArchive({bytes, LzhTestMemberBytes(StoredTestMember("b", "b"), 2)});
  EXPECT_EQ(Extracted(image, "startup"), "os-9 data");
  EXPECT_EQ(Extracted(image, "b"), "b");
  // Only OS-9 gets the allowance: from anyone else the length is short.
  Bytes other = bytes;
  other[23] = 'U';
  EXPECT_FALSE(Parses(other));
}

TEST(LzhHeaderTest, DirectoryAndNameJoinWithOneSeparator) {
  for (const char* directory : {"subdir/subdir2", "subdir/subdir2/", "subdir\\subdir2\\"}) {
    for (int level : {1, 2, 3}) {
      LzhTestMember m = StoredTestMember("hello.txt", "hi");
      m.directory = directory;
      m.os_id = 'A';
      EXPECT_EQ(Parsed(LzhTestMemberBytes(m, level)).name, "subdir/subdir2/hello.txt")
          << directory << " level " << level;
    }
  }
  // Amiga LHA writes a directory as a stored entry with no name and no data.
  LzhTestMember folder = StoredTestMember("", "");
  folder.directory = "subdir/subdir2";
  folder.os_id = 'A';
  const LzhHeader dir = Parsed(LzhTestMemberBytes(folder, 2));
  EXPECT_EQ(dir.name, "subdir/subdir2/");
  EXPECT_EQ(dir.method, "-lh0-");
  EXPECT_TRUE(dir.is_directory());
  LzhTestMember lhd = folder;
  lhd.method = "-lhd-";
  EXPECT_TRUE(Parsed(LzhTestMemberBytes(lhd, 1)).is_directory());
  // An empty file is no directory.
  EXPECT_FALSE(Parsed(LzhTestMemberBytes(StoredTestMember("empty", ""), 2)).is_directory());
}

TEST(LzhHeaderTest, CommentsFollowTheNameAfterAZeroByte) {
  for (int level : {0, 1, 2}) {
    LzhTestMember m = StoredTestMember(std::string("Dir/Hello.txt\0Made on an A500", 29), "hi");
    m.os_id = 'A';
    const LzhHeader h = Parsed(LzhTestMemberBytes(m, level));
    EXPECT_EQ(h.name, "Dir/Hello.txt") << level;
    EXPECT_EQ(h.comment, "Made on an A500") << level;
  }
  // The member is found by its name alone.
  LzhTestMember m = StoredTestMember(std::string("HELLO.TXT\0comment", 17), "hello");
  const Bytes image = LzhTestArchive({LzhTestMemberBytes(m, 1)});
  EXPECT_EQ(Extracted(image, "hello.txt"), "hello");
  LzhArchive archive;
  ASSERT_TRUE(archive.OpenImage(image).ok());
  EXPECT_EQ(archive.index().at(0).name, "hello.txt");
}

TEST(LzhHeaderTest, OnlyACorrectChecksumOrHeaderCrcVerifiesAHeader) {
  for (int level : {0, 1, 2, 3}) {
    const Bytes bytes = LzhTestMemberBytes(StoredTestMember("file.dat", "data"), level);
    EXPECT_TRUE(IsVerifiedLzhHeader(bytes)) << level;
    Bytes damaged = bytes;
    damaged[12] ^= 0x40;  // the unpacked size: the header still parses
    EXPECT_TRUE(Parses(damaged)) << level;
    EXPECT_FALSE(IsVerifiedLzhHeader(damaged)) << level;
  }
}

}  // namespace
}  // namespace luma
