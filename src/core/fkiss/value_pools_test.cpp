// The script's side of value pools: indices into private and public pool
// files, and the value actions.
#include "core/fkiss/value_pools.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/fkiss/fkiss_param.h"
#include "core/fkiss/fkiss_runtime.h"
#include "core/host/file_io.h"
#include "core/host/posix_file_system.h"
#include "core/pools/pool_directory.h"
#include "core/pools/pool_file.h"
#include "core/testing/fake_host.h"
#include "core/testing/fake_script_view.h"
#include "core/testing/fkiss_doll.h"
#include "core/testing/pool_file_bytes.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

namespace fs = std::filesystem;
using testing::Header;
using testing::ReadFile;
using testing::Record;
using testing::TempDir;
using testing::WriteFile;

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
