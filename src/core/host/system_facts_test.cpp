#include "core/host/system_facts.h"

#include <gtest/gtest.h>

namespace luma {
namespace {

TEST(SystemFactsTest, ReleaseVersionsTakeTheLeadingNumbers) {
  unsigned v[3] = {9, 9, 9};
  ParseReleaseVersion("6.1.0-18-amd64", v);
  EXPECT_EQ(v[0], 6u);
  EXPECT_EQ(v[1], 1u);
  EXPECT_EQ(v[2], 0u);
  ParseReleaseVersion("5.10", v);
  EXPECT_EQ(v[1], 10u);
  EXPECT_EQ(v[2], 0u);
  ParseReleaseVersion("rc", v);
  EXPECT_EQ(v[0], 0u);
  ParseReleaseVersion("99999999999999.2", v);
  EXPECT_EQ(v[1], 2u) << "an absurd part does not spill into the next";
}

TEST(SystemFactsTest, ThisMachineIsDescribed) {
  const SystemFacts facts = ReadSystemFacts("/");
  EXPECT_FALSE(facts.os_name.empty());
  ASSERT_TRUE(facts.memory_known);
  EXPECT_GT(facts.physical_memory, 0u);
  EXPECT_LE(facts.available_physical, facts.virtual_memory);
  EXPECT_TRUE(facts.disk_known);
  EXPECT_LE(facts.disk_free, facts.disk_total);
  EXPECT_FALSE(ReadSystemFacts("/no/such/folder/here").disk_known);
}

}  // namespace
}  // namespace luma
