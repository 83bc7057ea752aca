#include "core/pools/doll_identity.h"

#include <algorithm>

namespace luma {

DollIdentity ComputeDollIdentity(std::string_view doll_path,
                                 const std::vector<std::string>& lines) {
  DollIdentity identity;
  identity.name = std::string(doll_path.substr(0, std::min(doll_path.size(), kDollNameLength)));
  int32_t checksum = 0;
  uint32_t size = 0;
  for (const std::string& line : lines) {
    size += static_cast<uint32_t>(line.size());
    for (const char c : line) {
      checksum = (checksum + static_cast<signed char>(c)) % 10000;
    }
  }
  identity.size = size;
  identity.checksum = checksum;
  return identity;
}

}  // namespace luma
