#ifndef LUMA_CORE_POOLS_POOL_MANAGER_H_
#define LUMA_CORE_POOLS_POOL_MANAGER_H_

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "core/host/file_system.h"

namespace luma {

class Host;
struct Settings;

// A pool as the options dialog lists it.
struct PoolListEntry {
  std::string display_name;
  std::string file_name;
  friend bool operator==(const PoolListEntry&, const PoolListEntry&) = default;
};

// The name a pool file is listed by, without ".pool": a private pool
// ("~" first) without its "~" and with every other "~" shown as ".", so
// "~doll~lzh~doll~cnf.pool" reads "doll.lzh.doll.cnf".
std::string PoolDisplayName(std::string_view file_name);

// The stored value pools as the options dialog lists them, in a public and
// a private list, and deleting them.
class PoolManager {
 public:
  // `data_folder` is the user's data folder, the pools' folder's parent.
  PoolManager(FileSystem& files, std::string data_folder)
      : files_(files), data_folder_(std::move(data_folder)) {}

  // Reads the pool folder again.
  void Refresh();
  const std::vector<PoolListEntry>& public_pools() const { return public_; }
  const std::vector<PoolListEntry>& private_pools() const { return private_; }

  // The entries at `selected` of one list, each once, in the order given;
  // indexes outside the list are passed over.
  std::vector<PoolListEntry> Selected(bool private_list, const std::vector<int>& selected) const;
  // Deletes the listed pool files, then refreshes. Returns how many went.
  int Delete(const std::vector<PoolListEntry>& pools);

 private:
  FileSystem& files_;
  const std::string data_folder_;
  std::string directory_;
  std::vector<PoolListEntry> public_;
  std::vector<PoolListEntry> private_;
};

// How long a pool may go unused under the settings: "Pool Expire" days, or
// as many 30-day months plus 10 hours 30 minutes. Never less than a day.
std::time_t PoolExpiryAge(const Settings& settings);

// Once at start, when "Pool AutoExpire" is on: deletes every pool file,
// private or public, unused for longer than PoolExpiryAge. Failures are
// ignored. Returns how many went.
int ExpireValuePools(Host& host, const Settings& settings, std::time_t now);

}  // namespace luma

#endif  // LUMA_CORE_POOLS_POOL_MANAGER_H_
