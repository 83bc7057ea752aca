#include "core/archive/lzh_archive_writer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "core/archive/lzh_header_writer.h"
#include "core/host/memory_file_system.h"
#include "core/host/posix_file_system.h"
#include "core/host/text.h"
#include "core/testing/sample_data.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using Bytes = std::vector<uint8_t>;
using testing::RandomBytes;
using testing::SampleText;

Bytes Text(std::string_view s) { return Bytes(s.begin(), s.end()); }

struct Member {
  LzhHeader header;
  size_t data_position = 0;
};

// Walks the image header by header, checking what every written header must
// hold (size byte, checksum, level, the UNIX extension and the level-1
// terminator), and requires the last member to end exactly at the end of the
// image: no end-of-archive byte, no leftovers.
std::vector<Member> Walk(std::span<const uint8_t> image) {
  std::vector<Member> members;
  size_t at = 0;
  while (at < image.size()) {
    Member m;
    if (!ParseLzhHeader(image.subspan(at), m.header)) {
      ADD_FAILURE() << "no header at " << at;
      break;
    }
    const size_t size = image[at];
    const size_t n = m.header.name.size();
    EXPECT_EQ(size, n + 34);
    EXPECT_EQ(m.header.header_length, n + 36);
    uint8_t sum = 0;
    for (size_t i = at + 2; i < at + size + 2; ++i) sum = static_cast<uint8_t>(sum + image[i]);
    EXPECT_EQ(sum, image[at + 1]) << "checksum at " << at;
    EXPECT_EQ(m.header.level, 1);
    EXPECT_EQ(m.header.os_id, 'U');
    m.data_position = at + m.header.header_length;
    at = m.data_position + m.header.packed_size;
    members.push_back(m);
  }
  EXPECT_EQ(at, image.size()) << "the image does not end with the last member";
  return members;
}

TEST(LzhArchiveWriterTest, GeneratedFilesComeBackIdentical) {
  PosixFileSystem disk;
  const std::vector<std::pair<std::string, Bytes>> files = {
      {"one.byt", {'x'}},
      {"repeat.cel", Bytes(70000, 0x11)},
      {"window.txt", SampleText(8448, 1)},
      {"slide.txt", SampleText(8449, 2)},
      {"big.cnf", SampleText(1 << 20, 3)},
      {"noise.bin", RandomBytes(1 << 20, 4)},
      {"empty.cel", {}},
      {"last.kcf", SampleText(300, 5)},
  };
  LzhArchive archive;
  archive.CreateNew("unused.lzh");
  LzhArchiveWriter writer(archive, disk);
  for (const auto& [name, data] : files) ASSERT_TRUE(writer.AddMember(name, data, 0).ok());

  const std::vector<Member> members = Walk(archive.image().bytes());
  ASSERT_EQ(members.size(), files.size());
  LzhArchive reread;
  ASSERT_TRUE(
      reread.OpenImage(Bytes(archive.image().bytes().begin(), archive.image().bytes().end())).ok());
  ASSERT_EQ(reread.index().size(), files.size()) << "the archive must index completely";
  for (size_t i = 0; i < files.size(); ++i) {
    const auto& [name, data] = files[i];
    const LzhHeader& h = members[i].header;
    SCOPED_TRACE(name);
    EXPECT_EQ(reread.index()[i].name, name);
    EXPECT_EQ(h.unpacked_size, data.size());
    if (data.empty()) {
      EXPECT_EQ(h.method, "-lh5-");
      EXPECT_EQ(h.packed_size, 0u);
      EXPECT_FALSE(reread.ExtractToMemory(name).ok()) << "an empty member yields no buffer";
      continue;
    }
    const Result<Bytes> back = reread.ExtractToMemory(name);
    ASSERT_TRUE(back.ok()) << back.status().message();
    EXPECT_TRUE(*back == data);
    if (h.method == "-lh0-") {
      EXPECT_EQ(h.packed_size, data.size());
    } else {
      EXPECT_EQ(h.method, "-lh5-");
      EXPECT_LT(h.packed_size, data.size());
    }
  }
  EXPECT_EQ(members[0].header.method, "-lh0-");  // one byte cannot shrink
  EXPECT_EQ(members[5].header.method, "-lh0-");  // nor can noise
  EXPECT_LT(members[1].header.packed_size, 100u);
}

TEST(LzhArchiveWriterTest, StoresBareNamesAndRefusesOnesTheHeaderCannotHold) {
  PosixFileSystem disk;
  LzhArchive archive;
  archive.CreateNew("unused.lzh");
  LzhArchiveWriter writer(archive, disk);
  const std::string longest(kMaxLzhMemberNameLength, 'n');
  const std::string too_long = "folder/" + std::string(kMaxLzhMemberNameLength + 1, 'o');
  EXPECT_TRUE(writer.AddMember("C:\\dolls\\doll.cnf", Text("cnf"), 0).ok());
  EXPECT_TRUE(writer.AddMember("cels/shirt.cel", Text("cel"), 0).ok());
  EXPECT_TRUE(writer.AddMember(longest, Text("first"), 0).ok());
  const Status refused = writer.AddMember(too_long, Text("second"), 0);
  ASSERT_FALSE(refused.ok());
  EXPECT_NE(refused.message().find(too_long), std::string::npos) << refused.message();
  EXPECT_FALSE(writer.AddMember("folder/", Text("no name"), 0).ok());
  EXPECT_TRUE(writer.AddMember("after.txt", Text("after"), 0).ok());

  std::vector<std::string> names;
  for (const Member& m : Walk(archive.image().bytes())) names.push_back(m.header.name);
  EXPECT_EQ(names, (std::vector<std::string>{"doll.cnf", "shirt.cel", longest, "after.txt"}));
}

TEST(LzhArchiveWriterTest, AddFileRecordsTheBytesActuallyRead) {
  PosixFileSystem disk;
  testing::TempDir dir;
  LzhArchive archive;
  archive.CreateNew((dir / "out.lzh").string());
  LzhArchiveWriter writer(archive, disk);
  // Reports size 0 while having content, as a file that changes while it
  // is read reports a size that is no longer true.
  ASSERT_TRUE(writer.AddFile("/proc/self/status", "status").ok());
  const Status missing = writer.AddFile((dir / "gone.cel").string(), "gone.cel");
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.message().find("gone.cel"), std::string::npos);
  // Devices could be read forever; folders cannot be read at all.
  EXPECT_FALSE(writer.AddFile("/dev/zero", "zero").ok());
  EXPECT_FALSE(writer.AddFile(dir.str(), "folder").ok());
  ASSERT_TRUE(writer.Save().ok());

  LzhArchive reread;
  ASSERT_TRUE(reread.Open(disk, (dir / "out.lzh").string()).ok());
  ASSERT_EQ(reread.index().size(), 1u);
  const Result<Bytes> status = reread.ExtractToMemory("status");
  ASSERT_TRUE(status.ok());
  EXPECT_GT(status->size(), 0u);
  EXPECT_NE(std::string(status->begin(), status->end()).find("Pid:"), std::string::npos);
}

TEST(LzhArchiveWriterTest, SaveReportsFailureAndKeepsTheOldArchive) {
  PosixFileSystem disk;
  testing::TempDir dir;
  testing::WriteFile(dir / "doll.lzh", "old");
  LzhArchive no_members;
  no_members.CreateNew((dir / "doll.lzh").string());
  EXPECT_FALSE(LzhArchiveWriter(no_members, disk).Save().ok())
      << "no reader opens an empty archive";

  LzhArchive nowhere;
  nowhere.CreateNew((dir / "no" / "such" / "folder.lzh").string());
  LzhArchiveWriter writer(nowhere, disk);
  ASSERT_TRUE(writer.AddMember("a.txt", Text("a"), 0).ok());
  EXPECT_FALSE(writer.Save().ok());

  std::filesystem::create_directory(dir / "taken.lzh");
  LzhArchive onto_folder;
  onto_folder.CreateNew((dir / "taken.lzh").string());
  LzhArchiveWriter folder_writer(onto_folder, disk);
  ASSERT_TRUE(folder_writer.AddMember("a.txt", Text("a"), 0).ok());
  EXPECT_FALSE(folder_writer.Save().ok());
  EXPECT_EQ(testing::ReadFile(dir / "doll.lzh"), "old");
}

TEST(LzhArchiveWriterTest, AFullDiskIsReportedAndLeavesNoPartOfTheArchive) {
  MemoryFileSystem files;
  ASSERT_TRUE(files.CreateFolder("/dolls").ok());
  LzhArchive archive;
  archive.CreateNew("/dolls/doll.lzh");
  LzhArchiveWriter writer(archive, files);
  ASSERT_TRUE(writer.AddMember("noise.cel", testing::RandomBytes(20000, 7), 0).ok());
  files.set_capacity(archive.image().size() / 2);
  EXPECT_EQ(writer.Save().message(), "Can't write /dolls/doll.lzh: No space left on device");
  EXPECT_EQ(files.ListFolder("/dolls")->size(), 0u);
  EXPECT_EQ(files.used(), 0u);
}

TEST(LzhArchiveWriterTest, TimeStampsAreLocalDosTimeWithinItsRange) {
  const char* saved = std::getenv("TZ");
  const std::string saved_tz = saved ? saved : "";
  ::setenv("TZ", "UTC0", 1);
  ::tzset();
  EXPECT_EQ(DosTimeToUnix(DosTimeStamp(1000000000)), 1000000000u);  // 2001-09-09 01:46:40
  EXPECT_EQ(DosTimeStamp(1000000001), DosTimeStamp(1000000000));    // 2-second steps
  // The format starts in 1980 and ends in 2107; times outside are clamped
  // instead of spilling into neighbouring fields.
  EXPECT_EQ(DosTimeStamp(0), DosTimeStamp(315532800));  // 1970 -> 1980-01-01
  EXPECT_EQ(DosTimeToUnix(DosTimeStamp(315532800)), 315532800u);
  EXPECT_EQ(DosTimeStamp(std::time_t{5000000000}) >> 25, 127u);  // 2128 -> 2107
  if (saved) {
    ::setenv("TZ", saved_tz.c_str(), 1);
  } else {
    ::unsetenv("TZ");
  }
  ::tzset();
}

// Every file of every corpus doll goes through our encoder and comes back.
TEST(LzhArchiveWriterTest, CorpusDollsRoundTrip) {
  PosixFileSystem disk;
  LUMA_REQUIRE_CORPUS();
  int dolls = 0;
  size_t files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(testing::CorpusDir() / "dolls")) {
    if (!EqualsIgnoreCase(ExtensionPart(entry.path().string()), "lzh")) continue;
    LzhArchive original;
    if (!original.Open(disk, entry.path().string()).ok()) continue;  // the damaged copy
    SCOPED_TRACE(entry.path().filename().string());
    std::vector<Bytes> contents;
    LzhArchive copy;
    copy.CreateNew("unused.lzh");
    LzhArchiveWriter writer(copy, disk);
    for (const LzhIndexEntry& e : original.index()) {
      Result<Bytes> data = original.ExtractAt(e.header_position);
      ASSERT_TRUE(data.ok()) << e.name;
      ASSERT_TRUE(writer.AddMember(e.name, *data, 0).ok()) << e.name;
      contents.push_back(std::move(*data));
    }
    Walk(copy.image().bytes());
    LzhArchive reread;
    ASSERT_TRUE(
        reread.OpenImage(Bytes(copy.image().bytes().begin(), copy.image().bytes().end())).ok());
    ASSERT_EQ(reread.index().size(), contents.size());
    for (size_t i = 0; i < contents.size(); ++i) {
      const Result<Bytes> back = reread.ExtractAt(reread.index()[i].header_position);
      ASSERT_TRUE(back.ok()) << reread.index()[i].name;
      EXPECT_TRUE(*back == contents[i]) << reread.index()[i].name;
    }
    ++dolls;
    files += contents.size();
  }
  EXPECT_GE(dolls, 7);
  std::printf("round-tripped %zu files of %d dolls\n", files, dolls);
}

}  // namespace
}  // namespace luma
