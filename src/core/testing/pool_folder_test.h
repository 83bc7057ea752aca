#ifndef LUMA_CORE_TESTING_POOL_FOLDER_TEST_H_
#define LUMA_CORE_TESTING_POOL_FOLDER_TEST_H_

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/pools/pool_manager.h"
#include "core/testing/fake_host.h"
#include "core/testing/test_paths.h"

namespace luma::testing {

// A test with an empty pool folder in a data folder of its own, reached
// through a fake host.
class PoolFolderTest : public ::testing::Test {
 protected:
  PoolFolderTest() {
    host_.set_data_folder(data_.str());
    std::filesystem::create_directories(Dir());
  }
  std::filesystem::path Dir() const { return data_ / "pooldata"; }
  // A pool file of the size an empty pool has.
  void Make(const std::string& name) { WriteFile(Dir() / name, std::string(72, '\0')); }
  bool Has(const std::string& name) const { return std::filesystem::exists(Dir() / name); }
  static std::vector<std::string> Shown(const std::vector<PoolListEntry>& list) {
    std::vector<std::string> names;
    for (const PoolListEntry& entry : list) names.push_back(entry.display_name);
    return names;
  }

  TempDir data_;
  FakeHost host_;
};

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_POOL_FOLDER_TEST_H_
