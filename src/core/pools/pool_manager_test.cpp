#include "core/pools/pool_manager.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/host/settings.h"
#include "core/testing/pool_folder_test.h"

namespace luma {
namespace {

namespace fs = std::filesystem;

class PoolManagerTest : public testing::PoolFolderTest {};

TEST_F(PoolManagerTest, ListsPublicAndPrivatePoolsByTheirShownNames) {
  for (const char* name : {"~doll~lzh~doll~cnf.pool", "Scores.pool", "~b~cnf.pool", "alpha.POOL",
                           "notes.txt", "pool"}) {
    Make(name);
  }
  fs::create_directory(Dir() / "dir.pool");
  PoolManager manager(host_.Files(), data_.str());
  manager.Refresh();
  EXPECT_EQ(Shown(manager.public_pools()), (std::vector<std::string>{"alpha", "Scores"}));
  EXPECT_EQ(Shown(manager.private_pools()),
            (std::vector<std::string>{"b.cnf", "doll.lzh.doll.cnf"}));
}

class PoolExpiryTest : public PoolManagerTest {
 protected:
  static constexpr std::time_t kNow = 1'700'000'000;
  static constexpr std::time_t kDay = 24 * 60 * 60;

  // A pool last read `age` seconds before kNow and written long before.
  void MakeUsed(const std::string& name, std::time_t age) {
    Make(name);
    const timespec times[2] = {{kNow - age, 0}, {kNow - 1000 * kDay, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, (Dir() / name).c_str(), times, 0), 0);
  }
};

TEST_F(PoolExpiryTest, PoolsUnusedForTheAgeGoWhenTheSettingIsOn) {
  Settings settings;
  settings.pool_expire = 6;
  settings.pool_day_month = 0;
  MakeUsed("fresh.pool", 6 * kDay - 60);
  MakeUsed("~stale~cnf.pool", 6 * kDay + 60);
  MakeUsed("other.txt", 100 * kDay);
  EXPECT_EQ(ExpireValuePools(host_, settings, kNow), 0);  // off by default
  settings.pool_auto_expire = true;
  EXPECT_EQ(ExpireValuePools(host_, settings, kNow), 1);
  EXPECT_TRUE(Has("fresh.pool") && Has("other.txt"));
  EXPECT_FALSE(Has("~stale~cnf.pool"));

  // Months are 30 days each, with 10 hours 30 minutes added once.
  settings.pool_day_month = 1;
  settings.pool_expire = 2;
  const std::time_t age = 60 * kDay + 10 * 3600 + 30 * 60;
  EXPECT_EQ(PoolExpiryAge(settings), age);
  MakeUsed("month-fresh.pool", age - 60);
  MakeUsed("month-stale.pool", age + 60);
  EXPECT_EQ(ExpireValuePools(host_, settings, kNow), 1);
  EXPECT_TRUE(Has("month-fresh.pool") && Has("fresh.pool"));
  EXPECT_FALSE(Has("month-stale.pool"));

  // A recent write keeps a pool whose access time was never updated.
  MakeUsed("written.pool", 400 * kDay);
  const timespec written[2] = {{kNow - 400 * kDay, 0}, {kNow - kDay, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, (Dir() / "written.pool").c_str(), written, 0), 0);
  EXPECT_EQ(ExpireValuePools(host_, settings, kNow), 0);

  // A stored age below one counts as one day, never as a limit in the future.
  settings.pool_expire = -3;
  settings.pool_day_month = 0;
  EXPECT_EQ(PoolExpiryAge(settings), kDay);
  MakeUsed("recent.pool", 3600);
  EXPECT_EQ(ExpireValuePools(host_, settings, kNow), 2);  // the six- and sixty-day ones
  EXPECT_TRUE(Has("recent.pool") && Has("written.pool"));
}

}  // namespace
}  // namespace luma
