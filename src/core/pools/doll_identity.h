#ifndef LUMA_CORE_POOLS_DOLL_IDENTITY_H_
#define LUMA_CORE_POOLS_DOLL_IDENTITY_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace luma {

// The longest doll path a private pool header stores.
inline constexpr size_t kDollNameLength = 259;

// What a private value pool remembers of its doll, so that the doll finds
// its values again after its file was moved: the path of its file, and the
// size and checksum of the CNF text.
struct DollIdentity {
  std::string name;  // the CNF's path, or the archive's for an archived doll
  uint32_t size = 0;
  int32_t checksum = 0;
  friend bool operator==(const DollIdentity&, const DollIdentity&) = default;
};

// `size` counts the characters of all lines; `checksum` adds them one by one
// as signed bytes, keeping the remainder of 10000 with the sign of the sum,
// as pool files written by earlier versions expect.
DollIdentity ComputeDollIdentity(std::string_view doll_path, const std::vector<std::string>& lines);

}  // namespace luma

#endif  // LUMA_CORE_POOLS_DOLL_IDENTITY_H_
