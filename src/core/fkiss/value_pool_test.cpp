#include "core/fkiss/value_pool.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/fkiss/fkiss_param.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/fkiss/pool_directory.h"
#include "core/fkiss/pool_file.h"
#include "core/fkiss/value_pools.h"
#include "core/host/file_io.h"
#include "core/host/memory_file_system.h"
#include "core/host/posix_file_system.h"
#include "core/testing/fake_host.h"
#include "core/testing/fake_script_view.h"
#include "core/testing/fkiss_doll.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;
using testing::WriteFile;

std::string Le32(uint32_t v) {
  std::string s;
  for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
  return s;
}

std::string Field(std::string_view text, size_t size) {
  std::string s(text);
  s.resize(size, '\0');
  return s;
}

std::string Record(std::string_view id, int32_t value) {
  return Field(id, kValueIdFieldSize) + Le32(static_cast<uint32_t>(value));
}

std::string Header(const DollIdentity& id) {
  return Field(id.name, kPoolNameFieldSize) + Le32(id.size) +
         Le32(static_cast<uint32_t>(id.checksum));
}

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
class ValuePoolsTest : public ::testing::Test {
 protected:
  ValuePoolsTest()
      : doll_(testing::CnfWithObjects(1) +
              ";@EventHandler\n"
              ";@initialize() savevalue(\"score\", 1) loadvalue(v, \"Shared.lives\") "
              "deletevalue(\".bonus\") valuepool(\"other\")\n") {
    host_.set_data_folder(data_.str());
    pools_ = std::make_unique<ValuePools>(
        host_, doll_.script, ComputeDollIdentity("doll.cnf", doll_.doll.cnf_lines),
        PrivatePoolBaseName("", "doll.cnf"), TextEncoding::kWindows1252);
  }
  int Pool(const char* name) const {
    const auto& names = doll_.script.pool_names();
    for (size_t i = 0; i < names.size(); ++i) {
      if (names[i] == name) return static_cast<int>(i);
    }
    return -100;
  }
  int Id(const char* name) const {
    const auto& ids = doll_.script.value_ids();
    for (size_t i = 0; i < ids.size(); ++i) {
      if (ids[i] == name) return static_cast<int>(i);
    }
    return -100;
  }
  fs::path PoolFile(const std::string& name) const { return data_ / "pooldata" / name; }

  TempDir data_;
  FakeHost host_;
  testing::ScriptedDoll doll_;
  std::unique_ptr<ValuePools> pools_;
};

TEST_F(ValuePoolsTest, ScriptIndicesReachPrivateAndPublicFiles) {
  PosixFileSystem disk;
  ASSERT_GE(Pool("Shared"), 0);
  ASSERT_GE(Id("score"), 0);
  pools_->Save(kPrivatePool, Id("score"), 12);
  pools_->Save(Pool("Shared"), Id("lives"), 3);
  EXPECT_TRUE(fs::exists(PoolFile("~doll~cnf.pool")));
  EXPECT_EQ(ReadFile(PoolFile("Shared.pool")), Record("lives", 3));

  int32_t value = -1;
  EXPECT_TRUE(pools_->Load(kPrivatePool, Id("score"), &value));
  EXPECT_EQ(value, 12);
  EXPECT_FALSE(pools_->Load(Pool("other"), Id("score"), &value));  // no such file
  EXPECT_FALSE(pools_->Load(kPrivatePool, Id("bonus"), &value));   // no such record
  EXPECT_EQ(value, 12);
  // Indices the script does not have reach nothing.
  EXPECT_FALSE(pools_->Load(kPrivatePool, 99, &value));
  EXPECT_FALSE(pools_->Load(99, Id("score"), &value));
  pools_->Save(99, Id("score"), 1);
  pools_->Save(kPoolNotGiven, Id("score"), 1);

  // Deleting the private pool's last value forgets its name: a doll that
  // took the plain name meanwhile keeps it, and this one is named afresh.
  pools_->Delete(kPrivatePool, Id("score"));
  EXPECT_FALSE(fs::exists(PoolFile("~doll~cnf.pool")));
  const DollIdentity stranger{"stranger.cnf", 1, 1};
  ASSERT_TRUE(ValuePool(disk, PoolFile("~doll~cnf.pool").string(), stranger).Save("z", 1).ok());
  pools_->Save(kPrivatePool, Id("score"), 4);
  EXPECT_EQ(pools_->FindPrivatePool(), PoolFile("~doll~cnf-0.pool").string());
  EXPECT_TRUE(pools_->Load(kPrivatePool, Id("score"), &value));
  EXPECT_EQ(value, 4);
}

TEST_F(ValuePoolsTest, PublicPoolNamesIgnoreCaseOnDisk) {
  // Another doll wrote the pool as "SHARED"; this one names it "Shared".
  ASSERT_TRUE(fs::create_directories(data_ / "pooldata"));
  WriteFile(PoolFile("SHARED.pool"), Record("lives", 9));
  int32_t value = 0;
  EXPECT_TRUE(pools_->Load(Pool("Shared"), Id("lives"), &value));
  EXPECT_EQ(value, 9);
  pools_->Save(Pool("Shared"), Id("lives"), 4);
  EXPECT_EQ(ReadFile(PoolFile("SHARED.pool")), Record("lives", 4));
  EXPECT_FALSE(fs::exists(PoolFile("Shared.pool")));
  // Of several spellings the first in byte order serves, unless one is
  // spelt exactly as the script names the pool.
  WriteFile(PoolFile("shared.pool"), Record("lives", 1));
  EXPECT_TRUE(pools_->Load(Pool("Shared"), Id("lives"), &value));
  EXPECT_EQ(value, 4);
  WriteFile(PoolFile("Shared.pool"), Record("lives", 2));
  EXPECT_TRUE(pools_->Load(Pool("Shared"), Id("lives"), &value));
  EXPECT_EQ(value, 2);
  // A new pool file takes the name as the script first wrote it.
  pools_->Save(Pool("other"), Id("score"), 1);
  EXPECT_TRUE(fs::exists(PoolFile("other.pool")));
}

TEST_F(ValuePoolsTest, ResetBringsTheStoredIdentityUpToDate) {
  PosixFileSystem disk;
  ASSERT_TRUE(fs::create_directories(data_ / "pooldata"));
  const DollIdentity& identity = pools_->identity();
  const DollIdentity before_rename{"previous.cnf", identity.size, identity.checksum};
  WriteFile(PoolFile("~doll~cnf.pool"), Header(before_rename) + Record("score", 77));
  pools_->Reset();
  EXPECT_EQ(ValuePool(disk, PoolFile("~doll~cnf.pool").string(), identity).ReadHeader(), identity);

  // Without a data folder nothing is stored and nothing fails.
  FakeHost nowhere;
  nowhere.set_data_folder("");
  ValuePools lost(nowhere, doll_.script, identity, "~doll~cnf", TextEncoding::kWindows1252);
  lost.Reset();
  lost.Save(kPrivatePool, Id("score"), 1);
  int32_t value = 5;
  EXPECT_FALSE(lost.Load(kPrivatePool, Id("score"), &value));
  EXPECT_EQ(value, 5);
}

TEST(ValueActionsTest, AValueWithoutPoolFollowsValuepoolUntilTheScriptStartsAgain) {
  TempDir data;
  testing::ScriptedDoll d(testing::CnfWithObjects(1) +
                          ";@EventHandler\n"
                          ";@label(1) valuepool(\"scores\") savevalue(\"best\", 7) "
                          "valuepool(\"\") savevalue(\"best\", 1)\n"
                          ";@label(2) loadvalue(a, \"best\") valuepool(\"Scores\") "
                          "loadvalue(b, \"best\")\n"
                          ";@label(3) deletevalue(\"scores.best\") let(c, 5) "
                          "loadvalue(c, \"scores.best\") loadvalue(d, \".best\")\n");
  d.host.set_data_folder(data.str());
  ValuePools pools(d.host, d.script, ComputeDollIdentity("doll.cnf", d.doll.cnf_lines),
                   PrivatePoolBaseName("", "doll.cnf"), TextEncoding::kWindows1252);
  testing::FakeScriptView view;
  FkissRuntime runtime(d.doll, d.script, view, d.host, RuntimeSettings());
  runtime.set_value_pools(&pools);
  runtime.StartScript();
  auto run = [&](uint32_t label) { runtime.RunEvent(d.script.FindLabel(label), true); };
  auto var = [&](const char* name) { return d.script.GetVariable(d.script.FindVariable(name)); };

  run(1);
  EXPECT_EQ(ReadFile(data / "pooldata" / "scores.pool"), Record("best", 7));
  EXPECT_TRUE(fs::exists(data / "pooldata" / "~doll~cnf.pool"));
  run(2);
  EXPECT_EQ(var("a"), 1);
  EXPECT_EQ(var("b"), 7);
  EXPECT_EQ(runtime.current_pool(), 0);

  runtime.StartScript();  // values to 0, the private pool current again
  run(2);
  EXPECT_EQ(var("a"), 1);
  run(3);
  EXPECT_FALSE(fs::exists(data / "pooldata" / "scores.pool"));
  EXPECT_EQ(var("c"), 5);  // a missing value leaves the variable alone
  EXPECT_EQ(var("d"), 1);
}

}  // namespace
}  // namespace luma
