#include "core/doll/value_pool_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/testing/pool_folder_test.h"

namespace luma {
namespace {

class ValuePoolCommandsTest : public testing::PoolFolderTest {};

TEST_F(ValuePoolCommandsTest, DeletingSelectedPoolsAsksFirst) {
  for (const char* name : {"a.pool", "b.pool", "c.pool", "~x~cnf.pool"}) Make(name);
  ValuePoolCommands commands(host_);
  commands.Refresh();

  host_.QueueAnswer(Answer::kNo);
  EXPECT_EQ(commands.DeleteSelected(false, {0, 2}), 0);
  ASSERT_EQ(host_.questions().size(), 1u);
  EXPECT_TRUE(host_.Logged("Delete Public Value Pool"));
  EXPECT_TRUE(host_.Logged("Delete these 2 value pools?"));
  EXPECT_TRUE(Has("a.pool") && Has("c.pool"));

  host_.QueueAnswer(Answer::kYes);
  EXPECT_EQ(commands.DeleteSelected(false, {0, 2}), 2);
  EXPECT_FALSE(Has("a.pool") || Has("c.pool"));
  EXPECT_EQ(Shown(commands.pools().public_pools()), std::vector<std::string>{"b"});

  // One pool is named in the question; the private list has its own caption.
  host_.ClearLog();
  host_.QueueAnswer(Answer::kYes);
  EXPECT_EQ(commands.DeleteSelected(true, {0}), 1);
  EXPECT_TRUE(host_.Logged("Delete Private Value Pool"));
  EXPECT_TRUE(host_.Logged("x.cnf"));
  EXPECT_TRUE(commands.pools().private_pools().empty());

  // Nothing selected asks nothing.
  const size_t asked = host_.questions().size();
  EXPECT_EQ(commands.DeleteSelected(false, {}), 0);
  EXPECT_EQ(commands.DeleteSelected(false, {7}), 0);
  EXPECT_EQ(host_.questions().size(), asked);
}

TEST_F(ValuePoolCommandsTest, DeletingAllPoolsConfirmsAndReports) {
  ValuePoolCommands commands(host_);
  EXPECT_EQ(commands.DeleteAll(), 0);
  ASSERT_EQ(host_.messages().size(), 1u);
  EXPECT_EQ(host_.messages()[0].text, "No KiSS value pools currently exist.");
  EXPECT_TRUE(host_.questions().empty());

  for (const char* name : {"a.pool", "~b~cnf.pool", "keep.txt"}) Make(name);
  host_.QueueAnswer(Answer::kNo);
  EXPECT_EQ(commands.DeleteAll(), 0);
  EXPECT_TRUE(Has("a.pool"));
  host_.QueueAnswer(Answer::kYes);
  EXPECT_EQ(commands.DeleteAll(), 2);
  ASSERT_EQ(host_.questions().size(), 2u);
  EXPECT_TRUE(host_.Logged(
      "You are about to delete all KiSS value pools (2 pools exist) for all known KiSS dolls. "
      "This action is not reversible.\nAre you absolutely certain that you want to do this?"));
  EXPECT_EQ(host_.messages().back().text,
            "2 KiSS value pools for all known KiSS dolls have been deleted.");
  EXPECT_FALSE(Has("a.pool") || Has("~b~cnf.pool"));
  EXPECT_TRUE(Has("keep.txt"));
}

}  // namespace
}  // namespace luma
