#include "core/doll/temp_files.h"

#include <memory>
#include <vector>

#include "core/host/text.h"

namespace luma {
namespace {

// "LMD" (any case), five characters, a dot, any extension.
bool IsTempFileName(std::string_view name) {
  return name.size() >= 9 && StartsWithIgnoreCase(name, "LMD") && name[8] == '.';
}

}  // namespace

std::string TempFileName(std::string_view folder, int counter, std::string_view extension) {
  std::string path(folder);
  if (!path.empty() && path.back() != '/') path += '/';
  path += StringPrintf("LMD%05d.", counter);
  path += extension;
  return path;
}

Result<std::string> WriteTempCopy(Host& host, std::span<const uint8_t> bytes,
                                  std::string_view extension, int name_count) {
  // The extension comes from a name in the doll's script; a separator in it
  // would put the copy outside the temporary folder.
  if (extension.find_first_of(std::string_view("/\0", 2)) != std::string_view::npos) {
    return Status::Error("no usable extension");
  }
  FileSystem& files = host.Files();
  const std::string folder = host.TempFolder();
  for (int counter = 0; counter < name_count; ++counter) {
    std::string path = TempFileName(folder, counter, extension);
    Result<std::unique_ptr<WritableFile>> file = files.CreateNewFile(path, 0600);
    if (!file.ok()) return Status::Error("cannot create " + path);
    if (!*file) continue;
    const Status written = (*file)->Write(bytes);
    const Status closed = (*file)->Close();
    if (!written.ok() || !closed.ok()) {
      (void)files.Remove(path);
      return Status::Error("cannot write " + path);
    }
    return path;
  }
  host.ShowMessage("File Extraction Error",
                   "Tried 99,999 different filenames but couldn't find one that wasn't already "
                   "used.\nPlease clean out your Windows TEMP folder.",
                   MessageIcon::kWarning);
  return Status::Error("no free temporary name");
}

void DeleteTempFile(FileSystem& files, const std::string& path) {
  if (!path.empty()) (void)files.Remove(path);
}

int CleanStaleTempFiles(FileSystem& files, const std::string& folder, std::time_t now) {
  Result<std::vector<std::string>> names = files.ListFolder(folder);
  if (!names.ok()) return 0;
  const std::time_t limit = now - kStaleTempFileAge;
  int deleted = 0;
  for (const std::string& name : *names) {
    if (!IsTempFileName(name)) continue;
    const std::string path = folder + "/" + name;
    const Result<FileStatus> status = files.StatNoFollow(path);
    if (!status.ok() || !status->is_regular() || status->modified >= limit) continue;
    if (files.Remove(path).ok()) ++deleted;
  }
  return deleted;
}

}  // namespace luma
