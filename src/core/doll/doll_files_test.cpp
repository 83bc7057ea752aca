#include "core/doll/doll_files.h"

#include <gtest/gtest.h>
#include <utime.h>

#include <string>

#include "core/doll/external_files.h"
#include "core/host/posix_file_system.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

TEST(FolderDollFilesTest, FindsFilesIgnoringCaseAndReportsSizeAndTime) {
  PosixFileSystem disk;
  testing::TempDir dir;
  testing::WriteFile(dir / "Shirt.CEL", "12345");
  testing::WriteFile(dir / "exact.cel", "1");
  const struct utimbuf t = {123456, 123456};
  ::utime((dir / "Shirt.CEL").c_str(), &t);
  FolderDollFiles files(disk, dir.str() + "/");
  const std::optional<DollFileInfo> info = files.Find("shirt.cel");
  ASSERT_TRUE(info.has_value());
  EXPECT_EQ(info->name, "Shirt.CEL");
  EXPECT_EQ(info->full_name, (dir / "Shirt.CEL").string());
  EXPECT_EQ(info->size, 5u);
  EXPECT_EQ(info->time_stamp, 123456u);
  Result<std::vector<uint8_t>> bytes = files.Read("SHIRT.cel");
  ASSERT_TRUE(bytes.ok());
  EXPECT_EQ(bytes->size(), 5u);
  EXPECT_TRUE(files.Find("exact.cel").has_value());
  EXPECT_FALSE(files.Find("missing.cel").has_value());
  EXPECT_FALSE(files.Read("missing.cel").ok());
  EXPECT_FALSE(files.Find("").has_value());
  EXPECT_EQ(files.PathOf("new.kcf"), dir.str() + "/new.kcf");
}

TEST(FolderDollFilesTest, BackslashesInNamesAreFolderSeparators) {
  PosixFileSystem disk;
  testing::TempDir dir;
  std::filesystem::create_directory(dir / "sub");
  testing::WriteFile(dir / "sub" / "a.wav", "RIFF");
  FolderDollFiles files(disk, dir.str() + "/");
  EXPECT_TRUE(files.Find("sub\\a.wav").has_value());
  EXPECT_FALSE(files.Find("sub").has_value());  // a folder is no file
}

TEST(FolderDollFilesTest, ShiftJisCharactersEndingInABackslashByteStayInTheName) {
  // The second byte of a double-byte character such as 0x95 0x5C may be
  // a backslash; only a backslash of its own separates folders.
  PosixFileSystem disk;
  testing::TempDir dir;
  const std::string hyou = "\x95\x5c";
  std::filesystem::create_directory(dir / "sub");
  testing::WriteFile(dir / (hyou + ".cel"), "1");
  testing::WriteFile(dir / "sub" / (hyou + "2.cel"), "2");
  FolderDollFiles files(disk, dir.str() + "/");
  files.SetNameEncoding(TextEncoding::kShiftJis);
  EXPECT_TRUE(files.Find(hyou + ".cel").has_value());
  EXPECT_TRUE(files.Find("sub\\" + hyou + "2.cel").has_value());
  EXPECT_EQ(DollRelativePath("sub\\" + hyou + "\\a.cel", TextEncoding::kShiftJis),
            "sub/" + hyou + "/a.cel");
  // Read in Windows-1252 the same bytes are two characters and a separator.
  EXPECT_EQ(DollRelativePath(hyou + ".cel", TextEncoding::kWindows1252), "\x95/.cel");
}

TEST(ExternalFilesTest, FilesBesideTheCnfAreUsedInPlace) {
  PosixFileSystem disk;
  testing::TempDir dir;
  testing::WriteFile(dir / "Bell.wav", "RIFF");
  FolderDollFiles files(disk, dir.str() + "/");
  FakeHost host;
  LoadProgress progress(host);
  DollModel doll;
  doll.FindExternalFile("bell.wav", true);
  doll.FindExternalFile("song.mid", true);
  PrepareExternalFiles(doll, files, host, progress);
  EXPECT_TRUE(doll.external_files[0].available);
  EXPECT_FALSE(doll.external_files[0].temporary);
  EXPECT_EQ(doll.external_files[0].path, (dir / "Bell.wav").string());
  EXPECT_FALSE(doll.external_files[1].available);
  EXPECT_EQ(doll.report.errors(), std::vector<std::string>{"FKiSS: Unable to read song.mid"});
  EXPECT_EQ(host.statuses(), std::vector<std::string>{"Processing 2 External files..."});
}

}  // namespace
}  // namespace luma
