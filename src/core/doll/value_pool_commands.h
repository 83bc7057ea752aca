#ifndef LUMA_CORE_DOLL_VALUE_POOL_COMMANDS_H_
#define LUMA_CORE_DOLL_VALUE_POOL_COMMANDS_H_

#include <vector>

#include "core/pools/pool_manager.h"

namespace luma {

class Host;

// The options' value pool commands: the stored pools listed, and deleting
// chosen ones or all of them once the user agrees.
class ValuePoolCommands {
 public:
  explicit ValuePoolCommands(Host& host);

  // Reads the pool folder again.
  void Refresh() { pools_.Refresh(); }
  const PoolManager& pools() const { return pools_; }

  // Asks before deleting the entries at `selected` of one list (nothing
  // valid selected asks nothing). Returns how many files went.
  int DeleteSelected(bool private_list, const std::vector<int>& selected);
  // Reads the folder again, asks before deleting every pool file and says
  // how many went; with none there it says so instead of asking.
  int DeleteAll();

 private:
  Host& host_;
  PoolManager pools_;
};

}  // namespace luma

#endif  // LUMA_CORE_DOLL_VALUE_POOL_COMMANDS_H_
