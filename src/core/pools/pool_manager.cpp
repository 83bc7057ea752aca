#include "core/pools/pool_manager.h"

#include <algorithm>

#include "core/host/host.h"
#include "core/host/settings.h"
#include "core/pools/pool_directory.h"

namespace luma {
namespace {

constexpr std::time_t kDay = 24 * 60 * 60;

std::string_view Title(std::string_view file_name) {
  const size_t dot = file_name.find_last_of('.');
  return dot == std::string_view::npos ? file_name : file_name.substr(0, dot);
}

bool IsPrivatePoolFile(std::string_view file_name) {
  return !file_name.empty() && file_name.front() == '~';
}

int DeleteFiles(FileSystem& files, const std::string& directory,
                const std::vector<std::string>& names) {
  int deleted = 0;
  for (const std::string& name : names) {
    if (files.Remove(directory + "/" + name).ok()) ++deleted;
  }
  return deleted;
}

}  // namespace

std::string PoolDisplayName(std::string_view file_name) {
  std::string name(Title(file_name));
  if (!IsPrivatePoolFile(name)) return name;
  name.erase(0, 1);
  std::replace(name.begin(), name.end(), '~', '.');
  return name;
}

void PoolManager::Refresh() {
  public_.clear();
  private_.clear();
  directory_ = PoolDirectory(files_, data_folder_);
  if (directory_.empty()) return;
  for (const PoolFileEntry& file : ListPoolFiles(files_, directory_)) {
    PoolListEntry entry{PoolDisplayName(file.file_name), file.file_name};
    (IsPrivatePoolFile(file.file_name) ? private_ : public_).push_back(std::move(entry));
  }
}

std::vector<PoolListEntry> PoolManager::Selected(bool private_list,
                                                 const std::vector<int>& selected) const {
  const std::vector<PoolListEntry>& list = private_list ? private_ : public_;
  std::vector<PoolListEntry> chosen;
  for (const int index : selected) {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) continue;
    const PoolListEntry& entry = list[static_cast<size_t>(index)];
    if (std::find(chosen.begin(), chosen.end(), entry) == chosen.end()) chosen.push_back(entry);
  }
  return chosen;
}

int PoolManager::Delete(const std::vector<PoolListEntry>& pools) {
  std::vector<std::string> names;
  for (const PoolListEntry& pool : pools) names.push_back(pool.file_name);
  const int deleted = DeleteFiles(files_, directory_, names);
  Refresh();
  return deleted;
}

std::time_t PoolExpiryAge(const Settings& settings) {
  const std::time_t count = std::max(settings.pool_expire, 1);
  if (settings.pool_day_month == 0) return count * kDay;
  return count * 30 * kDay + (10 * 60 + 30) * 60;
}

int ExpireValuePools(Host& host, const Settings& settings, std::time_t now) {
  if (!settings.pool_auto_expire) return 0;
  const std::string directory = PoolDirectory(host);
  if (directory.empty()) return 0;
  const std::time_t limit = now - PoolExpiryAge(settings);
  std::vector<std::string> expired;
  for (const PoolFileEntry& file : ListPoolFiles(host.Files(), directory)) {
    if (file.last_used < limit) expired.push_back(file.file_name);
  }
  return DeleteFiles(host.Files(), directory, expired);
}

}  // namespace luma
