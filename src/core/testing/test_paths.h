#ifndef LUMA_CORE_TESTING_TEST_PATHS_H_
#define LUMA_CORE_TESTING_TEST_PATHS_H_

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace luma::testing {

// ../shared/corpus beside the checkout.
std::filesystem::path CorpusDir();
bool CorpusAvailable();

// A fresh, empty folder under the system temporary folder, removed when the
// object goes out of scope.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

std::string ReadFile(const std::filesystem::path& path);
void WriteFile(const std::filesystem::path& path, std::string_view bytes);

// Runs `run` with files limited to `bytes`: writes beyond it come up short,
// as on a full disk (even for root, who ignores permissions).
void WithFileSizeLimit(size_t bytes, const std::function<void()>& run);

}  // namespace luma::testing

// Skips the current test with a visible message when the shared corpus is absent.
#define LUMA_REQUIRE_CORPUS()                                                        \
  do {                                                                               \
    if (!::luma::testing::CorpusAvailable())                                         \
      GTEST_SKIP() << "shared corpus not found at " << ::luma::testing::CorpusDir(); \
  } while (0)

#endif  // LUMA_CORE_TESTING_TEST_PATHS_H_
