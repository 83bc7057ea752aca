#include "core/doll/temp_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "core/host/text.h"

namespace luma {
namespace {

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

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
  const std::string folder = host.TempFolder();
  for (int counter = 0; counter < name_count; ++counter) {
    std::string path = TempFileName(folder, counter, extension);
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return Status::Error("cannot create " + path);
    }
    const bool written = WriteAll(fd, bytes.data(), bytes.size());
    if (::close(fd) != 0 || !written) {
      ::unlink(path.c_str());
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

void DeleteTempFile(const std::string& path) {
  if (!path.empty()) ::unlink(path.c_str());
}

int CleanStaleTempFiles(const std::string& folder, std::time_t now) {
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return 0;
  const std::time_t limit = now - kStaleTempFileAge;
  int deleted = 0;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (!IsTempFileName(name)) continue;
    struct stat st;
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    if (!S_ISREG(st.st_mode) || st.st_mtime >= limit) continue;
    if (::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) ++deleted;
  }
  ::closedir(dir);
  return deleted;
}

}  // namespace luma
