#include "core/doll/doll_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/host/file_io.h"
#include "core/host/text.h"
#include "core/model/messages.h"

namespace luma {
namespace {

bool IsRegularFile(const std::string& path, struct stat* st) {
  return ::stat(path.c_str(), st) == 0 && S_ISREG(st->st_mode);
}

// CNFs written on DOS name files with backslashes.
std::string SlashPath(std::string_view name) {
  std::string path(name);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace

bool CanOpenForReading(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular;
}

FolderDollFiles::FolderDollFiles(std::string folder) : folder_(std::move(folder)) {}

void FolderDollFiles::SetNameEncoding(TextEncoding encoding) {
  if (encoding == name_encoding_) return;
  name_encoding_ = encoding;
  listing_.reset();
}

std::optional<std::string> FolderDollFiles::ExistingPath(std::string_view name) {
  if (name.empty()) return std::nullopt;
  const std::string relative = SlashPath(name);
  struct stat st;
  std::string path = folder_ + relative;
  if (IsRegularFile(path, &st)) return path;
  if (relative.find('/') != std::string::npos) return std::nullopt;
  if (!listing_) {
    listing_.emplace();
    if (DIR* dir = ::opendir(folder_.empty() ? "." : folder_.c_str())) {
      while (const dirent* entry = ::readdir(dir)) {
        listing_->try_emplace(FoldNameCase(entry->d_name, name_encoding_), entry->d_name);
      }
      ::closedir(dir);
    }
  }
  const auto it = listing_->find(FoldNameCase(relative, name_encoding_));
  if (it == listing_->end()) return std::nullopt;
  path = folder_ + it->second;
  if (!IsRegularFile(path, &st)) return std::nullopt;
  return path;
}

std::string FolderDollFiles::PathOf(std::string_view name) {
  if (std::optional<std::string> path = ExistingPath(name)) return *path;
  return folder_ + SlashPath(name);
}

std::optional<DollFileInfo> FolderDollFiles::Find(std::string_view name) {
  const std::optional<std::string> path = ExistingPath(name);
  if (!path) return std::nullopt;
  struct stat st;
  if (!IsRegularFile(*path, &st)) return std::nullopt;
  DollFileInfo info;
  info.name = std::string(FileNamePart(*path));
  info.full_name = *path;
  info.size = st.st_size > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(st.st_size);
  info.time_stamp = static_cast<uint32_t>(st.st_mtime);
  return info;
}

Result<std::vector<uint8_t>> FolderDollFiles::Read(std::string_view name) {
  const std::optional<std::string> path = ExistingPath(name);
  if (!path) return Status::Error("not found");
  return ReadWholeFile(*path);
}

std::string FolderDollFiles::NotFoundText(std::string_view name) const {
  return FormatMessage(kMsgFileNotFound, name);
}

std::string FolderDollFiles::UnreadableText(std::string_view name, const Status&,
                                            bool for_script) const {
  return FormatMessage(for_script ? kMsgFkissUnableToRead : kMsgFileNotFound, name);
}

}  // namespace luma
