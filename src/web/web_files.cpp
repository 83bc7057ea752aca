#include "web/web_files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <string>

#include "core/host/file_io.h"
#include "core/host/text.h"

namespace luma::web {
namespace {

constexpr std::string_view kDollsFolder = "/dolls";

bool MakeFolder(const std::string& path) {
  struct stat st;
  if (::mkdir(path.c_str(), 0777) == 0) return true;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Names relative to `root` of every regular file under it.
void ListFiles(const std::string& root, const std::string& relative,
               std::vector<std::string>& names) {
  const std::string folder = relative.empty() ? root : root + "/" + relative;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string inner = relative.empty() ? name : relative + "/" + name;
    struct stat st;
    if (::stat((root + "/" + inner).c_str(), &st) != 0) continue;
    if (S_ISDIR(st.st_mode)) {
      ListFiles(root, inner, names);
    } else if (S_ISREG(st.st_mode)) {
      names.push_back(inner);
    }
  }
  ::closedir(dir);
}

bool IsArchiveName(std::string_view name) {
  const std::string_view ext = ExtensionPart(name);
  return EqualsIgnoreCase(ext, "lzh") || EqualsIgnoreCase(ext, "lha") ||
         EqualsIgnoreCase(ext, "exe") || EqualsIgnoreCase(ext, "com") ||
         EqualsIgnoreCase(ext, "zip");
}

}  // namespace

WebFiles::WebFiles() {
  MakeFolder(std::string(kDollsFolder));
  MakeFolder(std::string(kDataFolder));
  MakeFolder(std::string(kTempFolder));
}

std::string WebFiles::NewDollFolder() {
  const std::string folder = std::string(kDollsFolder) + "/" + std::to_string(++next_folder_);
  MakeFolder(folder);
  return folder;
}

Status WebFiles::AddFile(const std::string& folder, std::string_view name,
                         std::span<const uint8_t> bytes) {
  const std::string file_name(FileNamePart(name));
  if (file_name.empty() || file_name == "." || file_name == "..") {
    return Status::Error("Unable to write to file " + std::string(name));
  }
  return ReplaceFile(disk_, folder + "/" + file_name, bytes);
}

std::vector<std::string> WebFiles::DollCandidates(const std::string& folder) const {
  std::vector<std::string> names;
  ListFiles(folder, "", names);
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return CompareIgnoreCase(a, b) < 0; });
  std::vector<std::string> candidates;
  for (const std::string& n : names) {
    if (IsArchiveName(n)) candidates.push_back(folder + "/" + n);
  }
  for (const std::string& n : names) {
    if (EqualsIgnoreCase(ExtensionPart(n), "cnf")) candidates.push_back(folder + "/" + n);
  }
  return candidates;
}

Result<std::vector<uint8_t>> WebFiles::Read(const std::string& path) const {
  return ReadWholeFile(disk_, path);
}

Status WebFiles::RestoreDataFile(std::string_view name, std::span<const uint8_t> bytes) {
  const std::string relative(name);
  if (relative.empty() || relative.find("..") != std::string::npos) {
    return Status::Error("Unable to write to file " + relative);
  }
  std::string path(kDataFolder);
  for (size_t slash = relative.find('/'); slash != std::string::npos;
       slash = relative.find('/', slash + 1)) {
    MakeFolder(path + "/" + relative.substr(0, slash));
  }
  path += "/" + relative;
  Status written = ReplaceFile(disk_, path, bytes);
  if (written.ok()) known_data_[relative].assign(bytes.begin(), bytes.end());
  return written;
}

std::map<std::string, std::vector<uint8_t>> WebFiles::ReadDataFolder() const {
  std::vector<std::string> names;
  ListFiles(std::string(kDataFolder), "", names);
  std::map<std::string, std::vector<uint8_t>> files;
  for (const std::string& name : names) {
    Result<std::vector<uint8_t>> bytes =
        ReadWholeFile(disk_, std::string(kDataFolder) + "/" + name);
    if (bytes.ok()) files[name] = std::move(*bytes);
  }
  return files;
}

std::vector<DataFileChange> WebFiles::DataChanges() {
  std::map<std::string, std::vector<uint8_t>> now = ReadDataFolder();
  std::vector<DataFileChange> changes;
  for (const auto& [name, bytes] : now) {
    const auto known = known_data_.find(name);
    if (known == known_data_.end() || known->second != bytes) changes.push_back({name, bytes});
  }
  for (const auto& [name, bytes] : known_data_) {
    if (!now.count(name)) changes.push_back({.name = name, .removed = true});
  }
  known_data_ = std::move(now);
  return changes;
}

}  // namespace luma::web
