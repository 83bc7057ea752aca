#include "core/host/memory_file_system.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/host/file_io.h"

namespace luma {
namespace {

std::vector<uint8_t> Bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::string Read(FileSystem& files, const std::string& path) {
  Result<std::vector<uint8_t>> bytes = ReadWholeFile(files, path);
  return bytes.ok() ? std::string(bytes->begin(), bytes->end())
                    : "(" + bytes.status().message() + ")";
}

std::vector<std::string> List(FileSystem& files, const std::string& path) {
  Result<std::vector<std::string>> names = files.ListFolder(path);
  if (!names.ok()) return {"(" + names.status().message() + ")"};
  std::sort(names->begin(), names->end());
  return *names;
}

TEST(MemoryFileSystemTest, FoldersAndFilesBehaveAsOnADisk) {
  MemoryFileSystem files;
  // A file needs its folder; folders are made one at a time.
  EXPECT_EQ(ReplaceFile(files, "/a/b.cel", Bytes("x")).message(),
            "Can't write /a/b.cel: No such file or directory");
  EXPECT_FALSE(files.CreateFolder("/a/b").ok());
  ASSERT_TRUE(files.CreateFolder("/a").ok());
  EXPECT_TRUE(files.CreateFolder("/a/").ok()) << "an existing folder is no failure";
  ASSERT_TRUE(ReplaceFile(files, "a/./b.cel", Bytes("cel")).ok()) << "relative to the root";
  EXPECT_EQ(Read(files, "/a/../a//b.cel"), "cel");
  EXPECT_EQ(files.CreateFolder("/a/b.cel").message(), "File exists");
  EXPECT_EQ(Read(files, "/a"), "(Can't read /a: Is a directory)");

  // Exclusive creation never touches what is there.
  Result<std::unique_ptr<WritableFile>> taken = files.CreateNewFile("/a/b.cel", 0600);
  ASSERT_TRUE(taken.ok());
  EXPECT_EQ(*taken, nullptr);
  EXPECT_EQ(Read(files, "/a/b.cel"), "cel");

  // Listing shows the folder's own entries only.
  ASSERT_TRUE(files.CreateFolder("/a/c").ok());
  ASSERT_TRUE(ReplaceFile(files, "/a/c/d.kcf", Bytes("kcf")).ok());
  ASSERT_TRUE(ReplaceFile(files, "/a-b", Bytes("beside")).ok());
  EXPECT_EQ(List(files, "/a"), (std::vector<std::string>{"b.cel", "c"}));
  EXPECT_EQ(List(files, "/"), (std::vector<std::string>{"a", "a-b"}));

  // A folder moves with everything in it, but never into itself.
  EXPECT_EQ(files.Rename("/a", "/a/c/e").message(), "Invalid argument");
  ASSERT_TRUE(files.Rename("/a", "/z").ok());
  EXPECT_EQ(Read(files, "/z/c/d.kcf"), "kcf");
  EXPECT_FALSE(files.Stat("/a/c/d.kcf")->exists());
  EXPECT_EQ(files.Rename("/z/b.cel", "/z/c").message(), "Is a directory");

  EXPECT_EQ(files.Remove("/z/c").message(), "Is a directory");
  ASSERT_TRUE(files.Remove("/z/b.cel").ok());
  EXPECT_EQ(files.Remove("/z/b.cel").message(), "No such file or directory");
}

TEST(MemoryFileSystemTest, AFullDiskTakesWhatFitsAndFailsTheRest) {
  MemoryFileSystem files;
  ASSERT_TRUE(ReplaceFile(files, "/pool", Bytes("0123456789")).ok());
  files.set_capacity(14);
  Result<std::unique_ptr<WritableFile>> file = files.OpenForWriting("/pool");
  ASSERT_TRUE(file.ok());
  // Overwriting needs no room; growing does.
  EXPECT_TRUE((*file)->WriteAt(0, Bytes("ab")).ok());
  EXPECT_EQ((*file)->WriteAt(8, Bytes("cdefghij")).message(), "No space left on device");
  EXPECT_EQ(Read(files, "/pool"), "ab234567cdefgh");
  EXPECT_EQ(files.used(), 14u);
  // Without a limit it grows again.
  files.set_capacity(std::nullopt);
  EXPECT_TRUE((*file)->WriteAt(14, Bytes("!")).ok());
  EXPECT_EQ(files.Stat("/pool")->size, 15u);
}

}  // namespace
}  // namespace luma
