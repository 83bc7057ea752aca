#include "core/pools/pool_directory.h"

#include <algorithm>

#include "core/host/host.h"
#include "core/host/text.h"
#include "core/pools/value_pool.h"

namespace luma {
namespace {

constexpr std::string_view kPoolExtension = ".pool";
// Numbered private pool names tried before giving up.
constexpr int kMaxPoolNumber = 100000;

bool EndsWithIgnoreCase(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && EqualsIgnoreCase(s.substr(s.size() - suffix.size()), suffix);
}

bool Exists(FileSystem& files, const std::string& path) {
  const Result<FileStatus> status = files.StatNoFollow(path);
  return status.ok() && status->exists();
}

}  // namespace

std::string PoolDirectory(FileSystem& files, std::string_view data_folder) {
  if (data_folder.empty()) return std::string();
  std::string folder(data_folder);
  if (folder.back() != '/') folder += '/';
  folder += "pooldata";
  // Only the last step is made: the data folder is the platform's to make,
  // and a host without one keeps no pools.
  if (!files.CreateFolder(folder).ok()) return std::string();
  return folder;
}

std::string PoolDirectory(Host& host) { return PoolDirectory(host.Files(), host.DataFolder()); }

std::vector<PoolFileEntry> ListPoolFiles(FileSystem& files, const std::string& directory) {
  std::vector<PoolFileEntry> pools;
  Result<std::vector<std::string>> names = files.ListFolder(directory);
  if (!names.ok()) return pools;
  for (std::string& name : *names) {
    if (name.size() <= kPoolExtension.size() || !EndsWithIgnoreCase(name, kPoolExtension)) continue;
    const Result<FileStatus> status = files.Stat(directory + "/" + name);
    if (!status.ok() || !status->is_regular()) continue;
    pools.push_back({std::move(name), std::max(status->accessed, status->modified)});
  }
  std::sort(pools.begin(), pools.end(), [](const PoolFileEntry& a, const PoolFileEntry& b) {
    const int order = CompareIgnoreCase(a.file_name, b.file_name);
    return order != 0 ? order < 0 : a.file_name < b.file_name;
  });
  return pools;
}

std::string PublicPoolPath(FileSystem& files, const std::string& directory, std::string_view name) {
  const std::string wanted = std::string(name) + std::string(kPoolExtension);
  std::string found;
  for (const PoolFileEntry& entry : ListPoolFiles(files, directory)) {
    if (!EqualsIgnoreCase(entry.file_name, wanted)) continue;
    if (entry.file_name == wanted) return directory + "/" + wanted;
    if (found.empty() || entry.file_name < found) found = entry.file_name;
  }
  return directory + "/" + (found.empty() ? wanted : found);
}

std::string PrivatePoolBaseName(std::string_view archive_name, std::string_view cnf_name) {
  std::string base = "~";
  if (!archive_name.empty()) {
    base += archive_name;
    base += '~';
  }
  base += cnf_name;
  for (char& c : base) c = IsAsciiAlpha(c) || IsAsciiDigit(c) ? AsciiLower(c) : '~';
  return base;
}

std::string FindPrivatePool(FileSystem& files, const std::string& directory,
                            std::string_view base_name, const DollIdentity& identity,
                            TextEncoding names) {
  const std::string base = directory + "/" + std::string(base_name);
  bool any = false;
  for (const PoolFileEntry& entry : ListPoolFiles(files, directory)) {
    if (!StartsWithIgnoreCase(entry.file_name, base_name)) continue;
    any = true;
    ValuePool pool(files, directory + "/" + entry.file_name, identity);
    const std::optional<DollIdentity> stored = pool.ReadHeader();
    if (!stored) continue;
    const bool same_name = NamesEqual(stored->name, identity.name, names);
    if (same_name || (stored->size == identity.size && stored->checksum == identity.checksum)) {
      (void)pool.RewriteHeader();
      return pool.path();
    }
  }
  if (!any) return base + std::string(kPoolExtension);
  for (int number = 0; number < kMaxPoolNumber; ++number) {
    std::string path = base + StringPrintf("-%d", number) + std::string(kPoolExtension);
    if (!Exists(files, path)) return path;
  }
  return std::string();
}

}  // namespace luma
