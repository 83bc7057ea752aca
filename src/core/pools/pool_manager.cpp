#include "core/pools/pool_manager.h"

#include <algorithm>

#include "core/host/host.h"
#include "core/host/settings.h"
#include "core/host/text.h"
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
  directory_ = PoolDirectory(host_);
  if (directory_.empty()) return;
  for (const PoolFileEntry& file : ListPoolFiles(host_.Files(), directory_)) {
    PoolListEntry entry{PoolDisplayName(file.file_name), file.file_name};
    (IsPrivatePoolFile(file.file_name) ? private_ : public_).push_back(std::move(entry));
  }
}

int PoolManager::DeleteSelected(bool private_list, const std::vector<int>& selected) {
  const std::vector<PoolListEntry>& list = private_list ? private_ : public_;
  std::vector<std::string> names;
  std::string shown;
  for (const int index : selected) {
    if (index < 0 || static_cast<size_t>(index) >= list.size()) continue;
    const PoolListEntry& entry = list[static_cast<size_t>(index)];
    if (std::find(names.begin(), names.end(), entry.file_name) != names.end()) continue;
    names.push_back(entry.file_name);
    shown = entry.display_name;
  }
  if (names.empty()) return 0;
  const std::string question =
      names.size() == 1
          ? StringPrintf("Delete the value pool \"%s\"?", shown.c_str())
          : StringPrintf("Delete these %d value pools?", static_cast<int>(names.size()));
  const char* caption = private_list ? "Delete Private Value Pool" : "Delete Public Value Pool";
  if (host_.Ask(caption, question, Buttons::kYesNo, MessageIcon::kQuestion) != Answer::kYes) {
    return 0;
  }
  const int deleted = DeleteFiles(host_.Files(), directory_, names);
  Refresh();
  return deleted;
}

int PoolManager::DeleteAll() {
  Refresh();
  std::vector<std::string> names;
  for (const PoolListEntry& entry : public_) names.push_back(entry.file_name);
  for (const PoolListEntry& entry : private_) names.push_back(entry.file_name);
  constexpr std::string_view kCaption = "Delete All Value Pools";
  if (names.empty()) {
    host_.ShowMessage(kCaption, "No KiSS value pools currently exist.", MessageIcon::kInformation);
    return 0;
  }
  const std::string question = StringPrintf(
      "You are about to delete all KiSS value pools (%d pools exist) for all known KiSS dolls. "
      "This action is not reversible.\nAre you absolutely certain that you want to do this?",
      static_cast<int>(names.size()));
  if (host_.Ask(kCaption, question, Buttons::kYesNo, MessageIcon::kWarning) != Answer::kYes) {
    return 0;
  }
  const int deleted = DeleteFiles(host_.Files(), directory_, names);
  Refresh();
  host_.ShowMessage(
      kCaption,
      StringPrintf("%d KiSS value pools for all known KiSS dolls have been deleted.", deleted),
      MessageIcon::kInformation);
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
