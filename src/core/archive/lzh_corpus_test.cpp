// Every member of the real-world archive collection that we can decode must
// come out byte for byte as the reference extractor produced it.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/archive/crc16.h"
#include "core/archive/lzh_archive.h"
#include "core/archive/lzh_method.h"
#include "core/host/posix_file_system.h"
#include "core/host/text.h"
#include "core/testing/sha256.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

struct ManifestRow {
  std::string archive, member, method, size, crc16, sha256;
};

std::vector<ManifestRow> ReadManifest() {
  std::ifstream in(testing::CorpusDir() / "lzh" / "manifest.tsv");
  std::vector<ManifestRow> rows;
  std::string line;
  std::getline(in, line);  // column names
  while (std::getline(in, line)) {
    std::istringstream fields(line);
    ManifestRow row;
    std::getline(fields, row.archive, '\t');
    std::getline(fields, row.member, '\t');
    std::getline(fields, row.method, '\t');
    std::getline(fields, row.size, '\t');
    std::getline(fields, row.crc16, '\t');
    std::getline(fields, row.sha256, '\t');
    rows.push_back(row);
  }
  return rows;
}

bool IsProgram(const std::string& archive) {
  const std::string_view ext = ExtensionPart(archive);
  return EqualsIgnoreCase(ext, "exe") || EqualsIgnoreCase(ext, "com");
}

std::string ArchivePath(const ManifestRow& row) {
  return (testing::CorpusDir() / "lzh" / row.archive).string();
}

TEST(LzhCorpusTest, DecodableMembersMatchTheReferenceBytes) {
  PosixFileSystem disk;
  LUMA_REQUIRE_CORPUS();
  const std::vector<ManifestRow> rows = ReadManifest();
  ASSERT_FALSE(rows.empty());
  std::set<std::string> seen;  // archive + file name: the first member wins
  int checked = 0;
  for (const ManifestRow& row : rows) {
    if (row.member == "-") continue;
    const std::string file_name(FileNamePart(row.member));
    if (!seen.insert(row.archive + "\n" + AsciiLowerCopy(file_name)).second) continue;
    SCOPED_TRACE(row.archive + " " + row.member);
    LzhArchive archive;
    if (!archive.Open(disk, ArchivePath(row)).ok()) {
      ADD_FAILURE() << "cannot open";
      continue;
    }
    Result<std::vector<uint8_t>> bytes = archive.ExtractToMemory(file_name);
    const bool decodable = FindLzhMethod(row.method) && row.size != "0" && row.method != "-lhd-" &&
                           row.archive != "regression/truncated.lzh";
    if (!decodable) {
      EXPECT_FALSE(bytes.ok());
      continue;
    }
    if (!bytes.ok()) {
      ADD_FAILURE() << bytes.status().message();
      continue;
    }
    EXPECT_EQ(StringPrintf("%04x", Crc16(*bytes)), row.crc16);
    if (row.sha256 != "-") {
      EXPECT_EQ(testing::Sha256Hex(*bytes), row.sha256);
    }
    ++checked;
  }
  EXPECT_GE(checked, 70);
}

TEST(LzhCorpusTest, SelfExtractingProgramsOpenAndForeignArchivesFailCleanly) {
  PosixFileSystem disk;
  LUMA_REQUIRE_CORPUS();
  std::set<std::string> archives;
  for (const ManifestRow& row : ReadManifest()) archives.insert(row.archive);
  int programs = 0;
  for (const std::string& name : archives) {
    SCOPED_TRACE(name);
    LzhArchive archive;
    const Status opened = archive.Open(disk, (testing::CorpusDir() / "lzh" / name).string());
    if (IsProgram(name)) {
      // Including those the reference extractor finds nothing in: every
      // member decodes and passes its CRC check.
      ++programs;
      ASSERT_TRUE(opened.ok());
      EXPECT_FALSE(archive.index().empty());
      for (const LzhIndexEntry& entry : archive.index()) {
        const Result<std::vector<uint8_t>> bytes = archive.ExtractAt(entry.header_position);
        EXPECT_TRUE(bytes.ok()) << entry.name << ": " << bytes.status().message();
      }
      continue;
    }
    if (EqualsIgnoreCase(ExtensionPart(name), "pma")) {
      for (const LzhIndexEntry& entry : archive.index()) {
        EXPECT_FALSE(archive.ExtractAt(entry.header_position).ok());
      }
      continue;
    }
    // Whatever the rest holds, every member decodes or fails without harm.
    for (const LzhIndexEntry& entry : archive.index()) {
      (void)archive.ExtractAt(entry.header_position);
    }
  }
  EXPECT_EQ(programs, 7);
}

}  // namespace
}  // namespace luma
