#include "core/pools/value_pool.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/host/file_io.h"
#include "core/host/memory_file_system.h"
#include "core/host/posix_file_system.h"
#include "core/pools/pool_directory.h"
#include "core/pools/pool_file.h"
#include "core/testing/fake_host.h"
#include "core/testing/pool_file_bytes.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

namespace fs = std::filesystem;
using testing::Header;
using testing::Le32;
using testing::ReadFile;
using testing::Record;
using testing::TempDir;
using testing::WriteFile;

ino_t Inode(const fs::path& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(DollIdentityTest, ChecksumAddsSignedBytesAndKeepsTheSignOfTheSum) {
  const DollIdentity plain = ComputeDollIdentity("doll.cnf", {"ab", "", "c"});
  EXPECT_EQ(plain.size, 3u);
  EXPECT_EQ(plain.checksum, 'a' + 'b' + 'c');
  // Bytes above 127 count as negative, and the remainder follows the sum's sign.
  const DollIdentity high = ComputeDollIdentity("x", {std::string(3, '\xff'), "\x80"});
  EXPECT_EQ(high.checksum, -3 - 128);
  const DollIdentity wraps = ComputeDollIdentity("x", {std::string(201, 'd')});  // 201 * 100
  EXPECT_EQ(wraps.checksum, 100);
  const DollIdentity negative_wrap = ComputeDollIdentity("x", {std::string(101, '\x9c')});
  EXPECT_EQ(negative_wrap.checksum, -100);
  const DollIdentity long_name = ComputeDollIdentity(std::string(300, 'n'), {});
  EXPECT_EQ(long_name.name.size(), kDollNameLength);
}

TEST(ValuePoolTest, PrivateFileHasTheExactLayout) {
  PosixFileSystem disk;
  TempDir dir;
  const DollIdentity identity{"Doll.CNF", 1234, -77};
  ValuePool pool(disk, (dir / "p.pool").string(), identity);
  ASSERT_TRUE(pool.Save("Score", -5).ok());
  ASSERT_TRUE(pool.Save("lives", 3).ok());
  EXPECT_EQ(ReadFile(dir / "p.pool"), Header(identity) + Record("Score", -5) + Record("lives", 3));
  EXPECT_EQ(pool.ReadHeader(), identity);

  ValuePool shared(disk, (dir / "shared.pool").string(), std::nullopt);
  ASSERT_TRUE(shared.Save("x", 0x01020304).ok());
  EXPECT_EQ(ReadFile(dir / "shared.pool"), Record("x", 0x01020304));
}

TEST(ValuePoolTest, SavingAnIdAgainOverwritesItsRecordInPlace) {
  PosixFileSystem disk;
  TempDir dir;
  ValuePool pool(disk, (dir / "p.pool").string(), DollIdentity{"d.cnf", 1, 1});
  ASSERT_TRUE(pool.Save("a", 1).ok());
  ASSERT_TRUE(pool.Save("b", 2).ok());
  ASSERT_TRUE(pool.Save("A", 10).ok());  // ids ignore case
  ASSERT_TRUE(pool.Save("a", 11).ok());
  EXPECT_EQ(fs::file_size(dir / "p.pool"), kPoolHeaderSize + 2 * kPoolRecordSize);
  EXPECT_EQ(pool.Load("a"), 11);
  EXPECT_EQ(pool.Load("B"), 2);
  EXPECT_EQ(pool.Load("c"), std::nullopt);
  EXPECT_EQ(ValuePool(disk, (dir / "none.pool").string(), std::nullopt).Load("a"), std::nullopt);
}

TEST(ValuePoolTest, DeletingKeepsTheOthersAndTheLastRecordTakesTheFile) {
  PosixFileSystem disk;
  TempDir dir;
  const fs::path path = dir / "p.pool";
  const DollIdentity identity{"d.cnf", 5, 6};
  ValuePool pool(disk, path.string(), identity);
  for (const char* id : {"a", "b", "c"}) ASSERT_TRUE(pool.Save(id, id[0]).ok());

  // An id the pool does not hold leaves the file as it is.
  const ino_t before = Inode(path);
  EXPECT_EQ(pool.Delete("zz"), ValuePool::Deleted::kNothing);
  EXPECT_EQ(Inode(path), before);

  EXPECT_EQ(pool.Delete("B"), ValuePool::Deleted::kRewritten);
  EXPECT_EQ(ReadFile(path), Header(identity) + Record("a", 'a') + Record("c", 'c'));
  EXPECT_EQ(pool.Delete("a"), ValuePool::Deleted::kRewritten);
  EXPECT_EQ(pool.Delete("c"), ValuePool::Deleted::kRemoved);
  EXPECT_FALSE(fs::exists(path));

  // The next save starts a fresh file, header first.
  ASSERT_TRUE(pool.Save("c", 9).ok());
  EXPECT_EQ(ReadFile(path), Header(identity) + Record("c", 9));
  // Nothing but the pool itself is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
}

TEST(ValuePoolTest, DamagedFilesReadSafely) {
  PosixFileSystem disk;
  TempDir dir;
  const fs::path path = dir / "pub.pool";
  ValuePool pool(disk, path.string(), std::nullopt);

  // An id field without its zero never runs into the value, and a torn last
  // record is not read.
  WriteFile(path, std::string(kValueIdFieldSize, 'q') + Le32(7) + Record("ok", 1) + "torn");
  EXPECT_EQ(pool.Load("ok"), 1);
  EXPECT_EQ(pool.Load(std::string(kValueIdFieldSize, 'q')), std::nullopt);  // not a valid id either
  // A new record goes to the record boundary, over the torn remains.
  ASSERT_TRUE(pool.Save("new", 5).ok());
  EXPECT_EQ(fs::file_size(path), 3 * kPoolRecordSize);
  EXPECT_EQ(pool.Load("new"), 5);
  EXPECT_EQ(pool.Load("ok"), 1);

  // A private file too short for its header has no values and no identity.
  const fs::path short_path = dir / "short.pool";
  WriteFile(short_path, "junk");
  ValuePool mine(disk, short_path.string(), DollIdentity{"d.cnf", 1, 2});
  EXPECT_EQ(mine.ReadHeader(), std::nullopt);
  EXPECT_EQ(mine.Load("junk"), std::nullopt);
  EXPECT_EQ(mine.Delete("junk"), ValuePool::Deleted::kNothing);
  EXPECT_FALSE(mine.RewriteHeader().ok());
  ASSERT_TRUE(mine.Save("v", 1).ok());
  EXPECT_EQ(mine.ReadHeader(), (DollIdentity{"d.cnf", 1, 2}));
  EXPECT_EQ(mine.Load("v"), 1);

  // A header whose name fills its field is cut at the field's end.
  WriteFile(short_path, std::string(kPoolNameFieldSize, 'n') + Le32(1) + Le32(2));
  EXPECT_EQ(mine.ReadHeader()->name.size(), kPoolNameFieldSize);

  // Invalid ids are never written.
  EXPECT_FALSE(pool.Save("", 1).ok());
  EXPECT_FALSE(pool.Save("a.b", 1).ok());
}

TEST(ValuePoolTest, AFullDiskOrAFailedRenameCostsNoStoredValue) {
  MemoryFileSystem files;
  const DollIdentity identity{"d.cnf", 1, 1};
  ValuePool pool(files, "/p.pool", identity);
  ASSERT_TRUE(pool.Save("a", 1).ok());
  ASSERT_TRUE(pool.Save("b", 2).ok());
  auto bytes = [&] { return *ReadWholeFile(files, "/p.pool"); };
  const std::vector<uint8_t> stored = bytes();

  // Rewrites go through a temporary file: a failed rename leaves the pool
  // as it was, and nothing beside it.
  files.set_rename_fails(true);
  EXPECT_EQ(pool.Delete("a"), ValuePool::Deleted::kFailed);
  EXPECT_FALSE(ValuePool(files, "/p.pool", DollIdentity{"moved.cnf", 1, 1}).RewriteHeader().ok());
  EXPECT_EQ(bytes(), stored);
  EXPECT_EQ(files.ListFolder("/")->size(), 1u);
  files.set_rename_fails(false);

  // A value that does not fit is reported; the others stay, an overwrite in
  // place still works, and the next save goes over the torn remains.
  files.set_capacity(files.used() + kPoolRecordSize / 2);
  EXPECT_FALSE(pool.Save("c", 3).ok());
  EXPECT_EQ(pool.Load("a"), 1);
  EXPECT_EQ(pool.Load("b"), 2);
  EXPECT_EQ(pool.Load("c"), std::nullopt);
  EXPECT_TRUE(pool.Save("b", 20).ok());
  EXPECT_EQ(pool.Load("b"), 20);
  files.set_capacity(std::nullopt);
  ASSERT_TRUE(pool.Save("c", 3).ok());
  EXPECT_EQ(bytes().size(), kPoolHeaderSize + 3 * kPoolRecordSize);
  EXPECT_EQ(pool.Load("c"), 3);
}

TEST(PoolDirectoryTest, PrivateBaseNamesAndTheFolderItself) {
  EXPECT_EQ(PrivatePoolBaseName("", "My Doll.CNF"), "~my~doll~cnf");
  EXPECT_EQ(PrivatePoolBaseName("Set-1.LZH", "doll.cnf"), "~set~1~lzh~doll~cnf");

  TempDir dir;
  FakeHost host;
  host.set_data_folder("");
  EXPECT_EQ(PoolDirectory(host), "");  // no data folder, no pools
  host.set_data_folder((dir / "missing").string());
  EXPECT_EQ(PoolDirectory(host), "");  // the data folder is not made here
  EXPECT_FALSE(fs::exists(dir / "missing"));
  host.set_data_folder(dir.str());
  EXPECT_EQ(PoolDirectory(host), (dir / "pooldata").string());
  EXPECT_TRUE(fs::is_directory(dir / "pooldata"));
}

class PrivatePoolTest : public ::testing::Test {
 protected:
  std::string Find(const DollIdentity& identity, std::string_view base = "~doll~cnf") {
    return FindPrivatePool(disk_, dir_.str(), base, identity, names_);
  }
  std::string Path(const std::string& name) const { return (dir_ / name).string(); }
  PosixFileSystem disk_;
  TempDir dir_;
  TextEncoding names_ = TextEncoding::kWindows1252;
};

TEST_F(PrivatePoolTest, ARenamedDollFindsItsPoolByItsCnfText) {
  PosixFileSystem disk;
  const DollIdentity old_doll{"old.lzh", 500, 42};
  ASSERT_EQ(Find(old_doll), Path("~doll~cnf.pool"));
  ASSERT_TRUE(ValuePool(disk, Path("~doll~cnf.pool"), old_doll).Save("x", 8).ok());

  const DollIdentity renamed{"new.lzh", 500, 42};
  ValuePool pool(disk, Find(renamed), renamed);
  EXPECT_EQ(pool.path(), Path("~doll~cnf.pool"));
  EXPECT_EQ(pool.ReadHeader(), renamed);  // the stored name follows the doll
  EXPECT_EQ(pool.Load("x"), 8);

  // An edited CNF is still found by the doll's name, whatever its case, and
  // the stored size and checksum follow the text.
  const DollIdentity edited{"NEW.LZH", 510, 43};
  EXPECT_EQ(Find(edited), Path("~doll~cnf.pool"));
  EXPECT_EQ(pool.ReadHeader(), edited);
  EXPECT_EQ(pool.Load("x"), 8);
}

TEST_F(PrivatePoolTest, JapaneseNamesFoldOnlyTheirSingleByteLetters) {
  PosixFileSystem disk;
  // "\x83\x41" is ア, "\x83\x61" is ャ: the same base name, but two dolls.
  names_ = TextEncoding::kShiftJis;
  const DollIdentity first{"/dolls/\x83\x41.lzh", 10, 1}, second{"/dolls/\x83\x61.lzh", 20, 2};
  ASSERT_TRUE(ValuePool(disk, Find(first), first).Save("v", 1).ok());
  EXPECT_EQ(Find(second), Path("~doll~cnf-0.pool"));
  // Its own name in other case still finds a doll's pool.
  EXPECT_EQ(Find({"/DOLLS/\x83\x41.LZH", 11, 3}), Path("~doll~cnf.pool"));
}

TEST_F(PrivatePoolTest, DifferentDollsWithOneCnfNameGetNumberedPools) {
  PosixFileSystem disk;
  const DollIdentity first{"a.cnf", 10, 1}, second{"b.cnf", 20, 2}, third{"c.cnf", 30, 3};
  ASSERT_TRUE(ValuePool(disk, Find(first), first).Save("v", 1).ok());
  const std::string second_path = Find(second);
  EXPECT_EQ(second_path, Path("~doll~cnf-0.pool"));
  ASSERT_TRUE(ValuePool(disk, second_path, second).Save("v", 2).ok());
  EXPECT_EQ(Find(third), Path("~doll~cnf-1.pool"));
  // Each finds its own again.
  EXPECT_EQ(Find(first), Path("~doll~cnf.pool"));
  EXPECT_EQ(Find(second), Path("~doll~cnf-0.pool"));
  // A base name that only starts another doll's name does not match it.
  EXPECT_EQ(Find({"d.cnf", 99, 9}, "~doll"), Path("~doll-0.pool"));
}

// The store a doll's script reaches its pools through.
}  // namespace
}  // namespace luma
