#include "core/testing/doll_loader.h"

#include "core/testing/test_paths.h"

namespace luma::testing {

bool TestDoll::Open(const std::string& path) { return doc_.OpenDoll(path); }

std::string WriteTestDoll(const std::filesystem::path& dir, const std::string& cnf,
                          const std::map<std::string, std::vector<uint8_t>>& files) {
  WriteFile(dir / "doll.cnf", cnf);
  for (const auto& [name, bytes] : files) {
    WriteFile(dir / name,
              std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  }
  return (dir / "doll.cnf").string();
}

}  // namespace luma::testing
