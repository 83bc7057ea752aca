#include "core/archive/zip_archive.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/archive/open_archive.h"
#include "core/testing/lzh_builder.h"
#include "core/testing/zip_builder.h"

namespace luma {
namespace {

using testing::ZipMember;
using testing::ZipTestArchive;
using testing::ZipTestMember;

std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::string Text(const Result<std::vector<uint8_t>>& bytes) {
  return bytes.ok() ? std::string(bytes->begin(), bytes->end())
                    : "<" + bytes.status().message() + ">";
}

// A few kilobytes that Deflate shrinks.
std::string Pattern(size_t size) {
  std::string s;
  for (size_t i = 0; s.size() < size; ++i) s += "cel " + std::to_string(i % 97) + ";";
  s.resize(size);
  return s;
}

// A little-endian field of `size` bytes at `at`.
void PutField(std::vector<uint8_t>& image, size_t at, uint64_t value, int size) {
  for (int i = 0; i < size; ++i) image[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(ZipArchiveTest, ListsAndReadsStoredDeflatedAndFolderMembers) {
  const std::string big = Pattern(5000);
  ZipArchive zip;
  ASSERT_TRUE(zip.OpenImage(ZipTestArchive({ZipMember("doll.cnf", "#0 a.cel\n", false),
                                            ZipMember("cels/", ""), ZipMember("cels/A.CEL", big),
                                            ZipMember("extra/a.cel", "second"),
                                            ZipMember("empty.txt", "")}))
                  .ok());
  const std::vector<ArchiveMember>& m = zip.members();
  ASSERT_EQ(m.size(), 5u);
  EXPECT_EQ(m[0].name, "doll.cnf");
  EXPECT_EQ(zip.details(0).method, 0);
  EXPECT_TRUE(m[1].is_directory);
  EXPECT_EQ(m[2].full_name, "cels/A.CEL");
  EXPECT_EQ(m[2].name, "A.CEL");
  EXPECT_EQ(m[2].size, big.size());
  EXPECT_LT(m[2].packed_size, big.size());
  EXPECT_EQ(zip.details(2).method, 8);
  EXPECT_EQ(m[2].dos_time, 0x5A2F6000u);  // read back as stored
  EXPECT_EQ(m[2].time_stamp, m[2].dos_time);

  EXPECT_EQ(Text(zip.Read("doll.cnf")), "#0 a.cel\n");
  // By file name ignoring case, the first of that name wins; a full path
  // with its folders finds the later one.
  EXPECT_EQ(Text(zip.Read("a.cel")), big);
  EXPECT_EQ(Text(zip.Read("EXTRA/A.CEL")), "second");
  EXPECT_FALSE(zip.Find("missing.cel").has_value());
  EXPECT_FALSE(zip.ReadMember(1).ok());  // a folder
  EXPECT_EQ(Text(zip.Read("empty.txt")), "<no data>");
  std::string streamed;
  ASSERT_TRUE(zip.StreamMember(2,
                               [&](std::span<const uint8_t> piece) {
                                 streamed.append(piece.begin(), piece.end());
                                 return Status::Ok();
                               })
                  .ok());
  EXPECT_EQ(streamed, big);
}

TEST(ZipArchiveTest, ReadsZip64SizesOffsetsAndEndRecords) {
  ZipTestMember first = ZipMember("a.cel", Pattern(3000));
  first.zip64 = true;
  ZipTestMember second = ZipMember("b.kcf", "palette", false);
  second.zip64 = true;
  testing::ZipTestOptions zip64_end;
  zip64_end.zip64_end = true;
  ZipArchive zip;
  ASSERT_TRUE(zip.OpenImage(ZipTestArchive({first, second}, zip64_end)).ok());
  ASSERT_EQ(zip.members().size(), 2u);
  EXPECT_EQ(zip.members()[0].size, 3000u);
  EXPECT_EQ(Text(zip.Read("a.cel")), Pattern(3000));
  EXPECT_EQ(Text(zip.Read("b.kcf")), "palette");
}

TEST(ZipArchiveTest, NamesStayTheArchivesBytesWithOrWithoutTheUtf8Mark) {
  ZipTestMember utf8 = ZipMember(
      "poup\xC3\xA9"
      "e.cel",
      "utf8");
  utf8.utf8_flag = true;
  // Windows-1252 and Shift-JIS names carry no mark; 0x5C is the second
  // byte of the Shift-JIS character, not a folder separator.
  const std::string cp1252 = "\xE9t\xE9.cel";
  const std::string sjis = "\x95\x5C\x8E\xA6.cel";
  ZipArchive zip;
  ASSERT_TRUE(zip.OpenImage(ZipTestArchive({utf8, ZipMember(cp1252, "1252"),
                                            ZipMember(sjis, "sjis"), ZipMember("plain.cel", "")}))
                  .ok());
  const std::vector<ArchiveMember>& m = zip.members();
  EXPECT_EQ(m[0].full_name,
            "poup\xC3\xA9"
            "e.cel");
  EXPECT_TRUE(m[0].utf8_name);
  EXPECT_EQ(m[1].full_name, cp1252);
  EXPECT_FALSE(m[1].utf8_name);
  EXPECT_EQ(m[2].name, sjis);
  EXPECT_FALSE(m[2].utf8_name);
  EXPECT_TRUE(m[3].utf8_name);  // ASCII reads the same either way
  EXPECT_EQ(Text(zip.Read(cp1252)), "1252");
  EXPECT_EQ(Text(zip.Read(sjis)), "sjis");
}

TEST(ZipArchiveTest, EncryptedAndUnsupportedMembersAreRefusedWithAReason) {
  ZipTestMember secret = ZipMember("secret.cel", "hidden");
  secret.encrypted = true;
  ZipArchive zip;
  ASSERT_TRUE(zip.OpenImage(ZipTestArchive({secret, ZipMember("open.cel", "fine")})).ok());
  EXPECT_TRUE(zip.details(0).encrypted);
  const Result<std::vector<uint8_t>> refused = zip.Read("secret.cel");
  ASSERT_FALSE(refused.ok());
  EXPECT_EQ(refused.status().message(), "encrypted; Lumadoll does not read encrypted ZIP members");
  EXPECT_FALSE(zip.StreamMember(0, [](std::span<const uint8_t>) { return Status::Ok(); }).ok());
  EXPECT_EQ(Text(zip.Read("open.cel")), "fine");

  ZipTestMember odd = ZipMember("odd.cel", "data");
  odd.method = 97;  // WavPack
  ZipArchive unsupported;
  ASSERT_TRUE(unsupported.OpenImage(ZipTestArchive({odd})).ok());
  EXPECT_EQ(unsupported.Read("odd.cel").status().message(),
            "compressed by method 97, which Lumadoll cannot unpack");
}

TEST(ZipArchiveTest, DamagedAndTruncatedFilesFailWithAMessageNeverACrash) {
  const std::vector<uint8_t> image =
      ZipTestArchive({ZipMember("doll.cnf", Pattern(2000)), ZipMember("a.cel", Pattern(900))});
  // Every cut: a file that lost its end has no directory; one cut inside
  // the directory or end record is inconsistent.
  for (size_t cut = 0; cut < image.size(); cut += 7) {
    ZipArchive zip;
    const Status opened = zip.OpenImage({image.begin(), image.begin() + cut});
    if (!opened.ok()) {
      EXPECT_FALSE(opened.message().empty()) << cut;
      continue;
    }
    for (size_t i = 0; i < zip.members().size(); ++i) (void)zip.ReadMember(i);
  }
  ZipArchive cut_off;
  const Status truncated = cut_off.OpenImage({image.begin(), image.begin() + image.size() / 2});
  EXPECT_EQ(truncated.message(),
            "The ZIP archive is damaged or cut off: the directory at its end is missing.");
  ZipArchive nothing;
  EXPECT_EQ(nothing.OpenImage({}).message(), "The file is empty.");

  // Damaged compressed data: the CRC or the Deflate stream says so.
  std::vector<uint8_t> flipped = image;
  flipped[30 + 8 + 40] ^= 0x55;
  ZipArchive damaged;
  ASSERT_TRUE(damaged.OpenImage(flipped).ok());
  const Result<std::vector<uint8_t>> bad = damaged.Read("doll.cnf");
  ASSERT_FALSE(bad.ok());
  EXPECT_EQ(Text(damaged.Read("a.cel")), Pattern(900));
}

TEST(ZipArchiveTest, BombsAreRefusedBeforeTheyTakeTheMachine) {
  // A member that claims more than a doll's file may be is refused on its
  // word, before anything is unpacked.
  ZipTestMember huge = ZipMember("huge.cel", "tiny");
  huge.declared_size = kMaxArchiveMemberSize + 1;
  // One that unpacks to more than it claims stops one byte past its claim.
  ZipTestMember liar = ZipMember("liar.cel", std::string(1 << 20, '\0'));
  liar.declared_size = 1000;
  ZipArchive zip;
  ASSERT_TRUE(zip.OpenImage(ZipTestArchive({huge, liar})).ok());
  const Result<std::vector<uint8_t>> too_large = zip.Read("huge.cel");
  ASSERT_FALSE(too_large.ok());
  EXPECT_EQ(too_large.status().message(),
            "too large for a doll (268435457 bytes unpacked; at most 256 MiB)");
  const Result<std::vector<uint8_t>> lied = zip.Read("liar.cel");
  ASSERT_FALSE(lied.ok());
  EXPECT_NE(lied.status().message().find("damaged data"), std::string::npos);
  uint64_t streamed = 0;
  EXPECT_FALSE(zip.StreamMember(1,
                                [&](std::span<const uint8_t> piece) {
                                  streamed += piece.size();
                                  return Status::Ok();
                                })
                   .ok());
  EXPECT_LE(streamed, 1000u);
  // One that unpacks to less than it claims is damaged too.
  ZipTestMember shortfall = ZipMember("short.cel", Pattern(1000));
  shortfall.declared_size = 5000;
  ZipArchive short_zip;
  ASSERT_TRUE(short_zip.OpenImage(ZipTestArchive({shortfall})).ok());
  EXPECT_EQ(short_zip.Read("short.cel").status().message(),
            "damaged data (unpacks to less than the size it declares)");

  // Entries sharing one block of data: each is honest, together they are
  // more than the reader unpacks in all.
  std::vector<ZipTestMember> overlapping{ZipMember("0.cel", std::string(40000, 'x'))};
  for (size_t i = 1; i < 10; ++i) {
    ZipTestMember again = overlapping[0];
    again.name = std::to_string(i) + ".cel";
    again.same_data_as = 0;
    overlapping.push_back(again);
  }
  ZipLimits limits;
  limits.max_total_size = 100000;
  ZipArchive bomb;
  ASSERT_TRUE(bomb.OpenImage(ZipTestArchive(overlapping), limits).ok());
  EXPECT_TRUE(bomb.Read("0.cel").ok());
  EXPECT_TRUE(bomb.Read("1.cel").ok());
  const Result<std::vector<uint8_t>> third = bomb.Read("2.cel");
  ASSERT_FALSE(third.ok());
  EXPECT_EQ(third.status().message(),
            "refused: the archive unpacks to more than 0 MiB in all, more than any doll needs "
            "(a compression bomb?)");

  // A directory longer than the reader takes fails the open.
  limits.max_members = 5;
  ZipArchive crowded;
  const Status opened = crowded.OpenImage(ZipTestArchive(overlapping), limits);
  EXPECT_EQ(opened.message(),
            "The ZIP directory lists 10 members, more than the 5 Lumadoll reads.");
}

TEST(ZipArchiveTest, AHostileMemberCountIsRefusedFromTheEndRecordsAlone) {
  const std::vector<ZipTestMember> three{ZipMember("a.cel", "a"), ZipMember("b.cel", "b"),
                                         ZipMember("c.cel", "c")};
  // The ZIP64 end record's count is 64 bits wide: claimed, not counted.
  testing::ZipTestOptions zip64_end;
  zip64_end.zip64_end = true;
  std::vector<uint8_t> image = ZipTestArchive(three, zip64_end);
  const size_t end64 = image.size() - 22 - 20 - 56;
  const auto claim64 = [&](uint64_t count) {
    PutField(image, end64 + 24, count, 8);
    PutField(image, end64 + 32, count, 8);
  };
  claim64(uint64_t{1} << 40);
  ZipArchive vast;
  EXPECT_EQ(vast.OpenImage(image).message(),
            "The ZIP directory lists 1099511627776 members, more than the 65536 Lumadoll "
            "reads.");
  claim64(60000);
  ZipArchive crowded;
  EXPECT_EQ(crowded.OpenImage(image).message(),
            "The ZIP archive is damaged: its directory claims 60000 members but has room for 3 "
            "at most.");

  std::vector<uint8_t> classic = ZipTestArchive(three);
  PutField(classic, classic.size() - 22 + 8, 0xFFF0, 2);
  PutField(classic, classic.size() - 22 + 10, 0xFFF0, 2);
  ZipArchive short_directory;
  EXPECT_EQ(short_directory.OpenImage(classic).message(),
            "The ZIP archive is damaged: its directory claims 65520 members but has room for 3 "
            "at most.");

  // An end record's signature inside the archive comment is only text.
  testing::ZipTestOptions commented;
  commented.comment = std::string("PK\x05\x06\0\0\0\0\xFF\xFF\xFF\xFF", 12) + "junk";
  ZipArchive fine;
  ASSERT_TRUE(fine.OpenImage(ZipTestArchive(three, commented)).ok());
  EXPECT_EQ(fine.members().size(), 3u);
}

TEST(OpenArchiveTest, TheBytesDecideTheFormatAndTheNameBreaksTies) {
  const std::vector<uint8_t> zip_image = ZipTestArchive({ZipMember("d.cnf", "zip")});
  const std::vector<uint8_t> lzh_image = testing::LzhTestArchive(
      {testing::LzhTestMemberBytes(testing::StoredTestMember("d.cnf", "lzh"), 1)});

  Result<std::unique_ptr<ArchiveReader>> renamed_zip = OpenArchiveImage(zip_image, "doll.lzh");
  ASSERT_TRUE(renamed_zip.ok());
  EXPECT_STREQ((*renamed_zip)->format_name(), "ZIP");
  EXPECT_EQ(Text((*renamed_zip)->Read("D.CNF")), "zip");

  Result<std::unique_ptr<ArchiveReader>> renamed_lzh = OpenArchiveImage(lzh_image, "doll.zip");
  ASSERT_TRUE(renamed_lzh.ok());
  EXPECT_STREQ((*renamed_lzh)->format_name(), "LZH");
  EXPECT_EQ(Text((*renamed_lzh)->Read("d.cnf")), "lzh");

  const Result<std::unique_ptr<ArchiveReader>> junk =
      OpenArchiveImage(Bytes("not an archive"), "doll.ZIP");
  ASSERT_FALSE(junk.ok());
  EXPECT_EQ(junk.status().message(), "It is not a ZIP archive.");
}

}  // namespace
}  // namespace luma
