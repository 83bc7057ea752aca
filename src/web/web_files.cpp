#include "web/web_files.h"

#include <algorithm>
#include <string>

#include "core/host/file_io.h"
#include "core/host/text.h"

namespace luma::web {
namespace {

constexpr std::string_view kDollsFolder = "/dolls";

bool IsArchiveName(std::string_view name) {
  const std::string_view ext = ExtensionPart(name);
  return EqualsIgnoreCase(ext, "lzh") || EqualsIgnoreCase(ext, "lha") ||
         EqualsIgnoreCase(ext, "exe") || EqualsIgnoreCase(ext, "com") ||
         EqualsIgnoreCase(ext, "zip");
}

}  // namespace

WebFiles::WebFiles() {
  for (std::string_view folder : {kDollsFolder, kDataFolder, kTempFolder}) {
    // A fresh file system in memory cannot refuse its first folders.
    (void)files_.CreateFolder(std::string(folder));
  }
}

std::string WebFiles::NewDollFolder() {
  const std::string folder = std::string(kDollsFolder) + "/" + std::to_string(++next_folder_);
  (void)files_.CreateFolder(folder);
  return folder;
}

Status WebFiles::MakeFolders(const std::string& root, std::string_view relative) {
  for (size_t slash = relative.find('/'); slash != std::string_view::npos;
       slash = relative.find('/', slash + 1)) {
    if (Status made = files_.CreateFolder(root + "/" + std::string(relative.substr(0, slash)));
        !made.ok()) {
      return made;
    }
  }
  return Status::Ok();
}

Status WebFiles::AddFile(const std::string& folder, std::string_view relative,
                         std::span<const uint8_t> bytes) {
  const std::string path = folder + "/" + std::string(relative);
  if (!StaysInsideFolder(relative)) return Status::Error("Unable to write to file " + path);
  if (Status made = MakeFolders(folder, relative); !made.ok()) {
    return Status::Error("Unable to write to file " + path + ": " + made.message());
  }
  return ReplaceFile(files_, path, bytes);
}

std::vector<std::string> WebFiles::DollCandidates(const std::string& folder) {
  Result<std::vector<std::string>> listed = files_.ListFolder(folder);
  if (!listed.ok()) return {};
  std::vector<std::string> names;
  for (const std::string& name : *listed) {
    if (IsRegularFile(files_, folder + "/" + name)) names.push_back(name);
  }
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

void WebFiles::ForgetDollsExcept(const std::string& path) {
  const std::string dolls = std::string(kDollsFolder) + "/";
  std::string keep;
  if (path.compare(0, dolls.size(), dolls) == 0) {
    keep = path.substr(0, path.find('/', dolls.size())) + "/";
  }
  for (const std::string& relative : ListFiles(std::string(kDollsFolder))) {
    const std::string file = dolls + relative;
    if (keep.empty() || file.compare(0, keep.size(), keep) != 0) (void)files_.Remove(file);
  }
}

Result<std::vector<uint8_t>> WebFiles::Read(const std::string& path) {
  return ReadWholeFile(files_, path);
}

std::vector<std::string> WebFiles::ListFiles(const std::string& root) {
  std::vector<std::string> names;
  std::vector<std::string> folders{""};
  while (!folders.empty()) {
    const std::string relative = std::move(folders.back());
    folders.pop_back();
    Result<std::vector<std::string>> listed =
        files_.ListFolder(relative.empty() ? root : root + "/" + relative);
    if (!listed.ok()) continue;
    for (const std::string& name : *listed) {
      const std::string inner = relative.empty() ? name : relative + "/" + name;
      Result<FileStatus> status = files_.Stat(root + "/" + inner);
      if (!status.ok()) continue;
      if (status->is_directory()) {
        folders.push_back(inner);
      } else if (status->is_regular()) {
        names.push_back(inner);
      }
    }
  }
  return names;
}

Status WebFiles::RestoreDataFile(std::string_view name, std::span<const uint8_t> bytes) {
  const std::string data(kDataFolder);
  Status written = AddFile(data, name, bytes);
  if (written.ok()) known_data_[std::string(name)].assign(bytes.begin(), bytes.end());
  return written;
}

std::vector<DataFileChange> WebFiles::DataChanges() {
  const std::string data(kDataFolder);
  std::map<std::string, std::vector<uint8_t>> now;
  for (const std::string& name : ListFiles(data)) {
    if (Result<std::vector<uint8_t>> bytes = ReadWholeFile(files_, data + "/" + name); bytes.ok()) {
      now[name] = std::move(*bytes);
    }
  }
  std::vector<DataFileChange> changes;
  for (const auto& [name, bytes] : now) {
    const auto known = known_data_.find(name);
    if (known == known_data_.end() || known->second != bytes) changes.push_back({name, bytes});
  }
  for (const auto& [name, bytes] : known_data_) {
    if (!now.count(name)) changes.push_back({.name = name, .bytes = {}, .removed = true});
  }
  known_data_ = std::move(now);
  return changes;
}

bool StaysInsideFolder(std::string_view relative) {
  if (relative.empty()) return false;
  size_t start = 0;
  while (start <= relative.size()) {
    size_t end = relative.find('/', start);
    if (end == std::string_view::npos) end = relative.size();
    const std::string_view part = relative.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace luma::web
