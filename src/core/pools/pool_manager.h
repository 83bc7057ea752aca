#ifndef LUMA_CORE_POOLS_POOL_MANAGER_H_
#define LUMA_CORE_POOLS_POOL_MANAGER_H_

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

namespace luma {

class Host;
struct Settings;

// A pool as the options dialog lists it.
struct PoolListEntry {
  std::string display_name;
  std::string file_name;
};

// The name a pool file is listed by, without ".pool": a private pool
// ("~" first) without its "~" and with every other "~" shown as ".", so
// "~doll~lzh~doll~cnf.pool" reads "doll.lzh.doll.cnf".
std::string PoolDisplayName(std::string_view file_name);

// What the options dialog does with the stored value pools: lists them in a
// public and a private list, and deletes chosen ones or all of them after
// asking through the Host.
class PoolManager {
 public:
  explicit PoolManager(Host& host) : host_(host) {}

  // Reads the pool folder again.
  void Refresh();
  const std::vector<PoolListEntry>& public_pools() const { return public_; }
  const std::vector<PoolListEntry>& private_pools() const { return private_; }

  // Deletes the entries at `selected` of one list once the user agrees, then
  // refreshes. Returns how many files went.
  int DeleteSelected(bool private_list, const std::vector<int>& selected);
  // Deletes every pool file once the user agrees, and says how many went.
  int DeleteAll();

 private:
  Host& host_;
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
