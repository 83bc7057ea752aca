#include "core/host/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <future>

#include "core/host/memory_file_system.h"
#include "core/host/posix_file_system.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

size_t FilesIn(const std::filesystem::path& dir) {
  size_t n = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) n += entry.exists();
  return n;
}

TEST(FileIoTest, ReadsToTheEndWhateverSizeIsReported) {
  PosixFileSystem disk;
  // /proc files report size 0 but have content.
  auto status = ReadWholeFile(disk, "/proc/self/status");
  ASSERT_TRUE(status.ok()) << status.status().message();
  EXPECT_NE(std::string(status->begin(), status->end()).find("Pid:"), std::string::npos);

  testing::TempDir dir;
  auto missing = ReadWholeFile(disk, (dir / "nope.cel").string());
  ASSERT_FALSE(missing.ok());
  EXPECT_NE(missing.status().message().find("nope.cel"), std::string::npos);
  EXPECT_FALSE(ReadWholeFile(disk, dir.str()).ok());

  // A limit stops endless files, and a file exactly at the limit is fine.
  EXPECT_FALSE(ReadWholeFile(disk, "/dev/zero", 100000).ok());
  testing::WriteFile(dir / "ten", "0123456789");
  EXPECT_TRUE(ReadWholeFile(disk, (dir / "ten").string(), 10).ok());
  EXPECT_FALSE(ReadWholeFile(disk, (dir / "ten").string(), 9).ok());
}

// A doll, cel or pool named by a pipe or a device must not hold the program:
// opening a pipe waits for a writer, and a device may never end.
TEST(FileIoTest, PipesAndDevicesAreRefusedWithoutWaiting) {
  PosixFileSystem disk;
  testing::TempDir dir;
  const std::string pipe = (dir / "doll.lzh").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  auto opened = std::async(std::launch::async, [&] { return disk.OpenForReading(pipe); });
  if (opened.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
    // Let the waiting open go before failing.
    const int writer = ::open(pipe.c_str(), O_WRONLY);
    if (writer >= 0) ::close(writer);
    FAIL() << "opening a pipe waited for a writer";
  }
  const auto file = opened.get();
  ASSERT_FALSE(file.ok());
  EXPECT_EQ(file.status().message(), "It is a pipe or a device, not a file.");
  EXPECT_EQ(ReadWholeFile(disk, "/dev/zero").status().message(),
            "Can't read /dev/zero: It is a pipe or a device, not a file.");
}

TEST(FileIoTest, ReplaceCreatesAndReplacesKeepingPermissions) {
  PosixFileSystem disk;
  testing::TempDir dir;
  const std::string path = (dir / "doll.lzh").string();
  ASSERT_TRUE(ReplaceFile(disk, path, Bytes("first")).ok());
  EXPECT_EQ(testing::ReadFile(path), "first");
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(ReplaceFile(disk, path, Bytes("second, longer")).ok());
  EXPECT_EQ(testing::ReadFile(path), "second, longer");
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(FilesIn(dir.path()), 1u) << "temporary file left behind";
}

TEST(FileIoTest, FailuresAreReportedAndLeaveTheOldFile) {
  PosixFileSystem disk;
  testing::TempDir dir;
  Status no_folder = ReplaceFile(disk, (dir / "missing" / "a.lzh").string(), Bytes("x"));
  EXPECT_FALSE(no_folder.ok());
  EXPECT_NE(no_folder.message().find("a.lzh"), std::string::npos);
  EXPECT_FALSE(ReplaceFile(disk, dir.str(), Bytes("x")).ok());

  // A file size limit makes the write come up short, as a full disk would.
  const std::string path = (dir / "doll.lzh").string();
  testing::WriteFile(path, "old archive");
  Status short_write;
  testing::WithFileSizeLimit(
      4096, [&] { short_write = ReplaceFile(disk, path, std::vector<uint8_t>(100000, 'n')); });
  EXPECT_FALSE(short_write.ok());
  EXPECT_EQ(testing::ReadFile(path), "old archive");
  EXPECT_EQ(FilesIn(dir.path()), 1u) << "temporary file left behind";
}

TEST(FileIoTest, StreamedContentReplacesTheFileOnlyWhenComplete) {
  PosixFileSystem disk;
  testing::TempDir dir;
  const std::string path = (dir / "member.cel").string();
  testing::WriteFile(path, "old");
  auto pieces = [](Status outcome) {
    return [outcome](const ContentSink& sink) {
      for (const char* piece : {"one ", "two ", "three"}) sink(Bytes(piece));
      return outcome;
    };
  };
  // The producer's failure (a CRC error found at the end) keeps the file.
  EXPECT_EQ(ReplaceFileStreaming(disk, path, pieces(Status::Error("CRC error"))).message(),
            "CRC error");
  EXPECT_EQ(testing::ReadFile(path), "old");
  ASSERT_TRUE(ReplaceFileStreaming(disk, path, pieces(Status::Ok())).ok());
  EXPECT_EQ(testing::ReadFile(path), "one two three");

  // A write that fails part way is what gets reported, and the sink says so.
  bool refused = false;
  Status full;
  testing::WithFileSizeLimit(4096, [&] {
    full = ReplaceFileStreaming(disk, path, [&](const ContentSink& sink) {
      for (int i = 0; i < 10 && !refused; ++i) refused = !sink(std::vector<uint8_t>(1000, 'n'));
      return Status::Error("not reached");
    });
  });
  EXPECT_TRUE(refused);
  EXPECT_NE(full.message().find("Can't write"), std::string::npos) << full.message();
  EXPECT_EQ(testing::ReadFile(path), "one two three");
  EXPECT_EQ(FilesIn(dir.path()), 1u) << "temporary file left behind";
}

TEST(FileIoTest, AFullDiskOrAFailedRenameKeepsTheOldFileAndNoTemporaryOne) {
  MemoryFileSystem files;
  ASSERT_TRUE(files.CreateFolder("/dolls").ok());
  const std::string path = "/dolls/doll.lzh";
  ASSERT_TRUE(ReplaceFile(files, path, Bytes("old archive")).ok());
  auto contents = [&] {
    Result<std::vector<uint8_t>> bytes = ReadWholeFile(files, path);
    return bytes.ok() ? std::string(bytes->begin(), bytes->end()) : bytes.status().message();
  };

  files.set_capacity(files.used() + 100);
  const Status full = ReplaceFile(files, path, std::vector<uint8_t>(1000, 'n'));
  EXPECT_EQ(full.message(), "Can't write /dolls/doll.lzh: No space left on device");
  EXPECT_EQ(contents(), "old archive");
  EXPECT_EQ(files.ListFolder("/dolls")->size(), 1u) << "temporary file left behind";

  files.set_capacity(std::nullopt);
  files.set_rename_fails(true);
  const Status renamed = ReplaceFile(files, path, Bytes("new archive"));
  EXPECT_EQ(renamed.message(), "Can't write /dolls/doll.lzh: Input/output error");
  EXPECT_EQ(contents(), "old archive");
  EXPECT_EQ(files.ListFolder("/dolls")->size(), 1u) << "temporary file left behind";

  files.set_rename_fails(false);
  ASSERT_TRUE(ReplaceFile(files, path, Bytes("new archive")).ok());
  EXPECT_EQ(contents(), "new archive");
}

}  // namespace
}  // namespace luma
