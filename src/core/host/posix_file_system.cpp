#include "core/host/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace luma {
namespace {

Status Reason(int error) { return Status::Error(std::strerror(error)); }

// Closes the descriptor when it goes out of scope, unless released.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

FileKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::kRegular;
  if (S_ISDIR(mode)) return FileKind::kDirectory;
  if (S_ISLNK(mode)) return FileKind::kLink;
  return FileKind::kOther;
}

Result<FileStatus> StatusOf(int result, const struct stat& st) {
  if (result != 0) {
    // A path through something that is not a folder names nothing either.
    if (errno == ENOENT || errno == ENOTDIR) return FileStatus{};
    return Reason(errno);
  }
  FileStatus status;
  status.kind = KindOf(st.st_mode);
  status.size = static_cast<uint64_t>(std::max<off_t>(st.st_size, 0));
  status.modified = st.st_mtime;
  status.accessed = st.st_atime;
  status.permissions = st.st_mode & 07777;
  return status;
}

class PosixReadableFile : public ReadableFile {
 public:
  PosixReadableFile(int fd, FileStatus status) : fd_(fd), status_(std::move(status)) {}

  const FileStatus& status() const override { return status_; }

  Result<size_t> Read(std::span<uint8_t> buffer) override {
    for (;;) {
      const ssize_t n = ::read(fd_.get(), buffer.data(), buffer.size());
      if (n >= 0) return static_cast<size_t>(n);
      if (errno != EINTR) return Reason(errno);
    }
  }

 private:
  Fd fd_;
  FileStatus status_;
};

class PosixWritableFile : public WritableFile {
 public:
  explicit PosixWritableFile(int fd) : fd_(fd) {}

  Status Write(std::span<const uint8_t> bytes) override { return WriteAt(position_, bytes); }

  Status WriteAt(uint64_t offset, std::span<const uint8_t> bytes) override {
    const uint8_t* data = bytes.data();
    size_t size = bytes.size();
    while (size > 0) {
      const ssize_t n = ::pwrite(fd_.get(), data, size, static_cast<off_t>(offset));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return Reason(n == 0 ? ENOSPC : errno);
      data += n;
      size -= static_cast<size_t>(n);
      offset += static_cast<uint64_t>(n);
      position_ = std::max(position_, offset);
    }
    return Status::Ok();
  }

  Status SetPermissions(uint32_t permissions) override {
    if (::fchmod(fd_.get(), static_cast<mode_t>(permissions)) != 0) return Reason(errno);
    return Status::Ok();
  }

  Status Sync() override {
    if (::fsync(fd_.get()) != 0) return Reason(errno);
    return Status::Ok();
  }

  Status Close() override {
    if (fd_.get() < 0) return Status::Ok();
    if (::close(fd_.release()) != 0) return Reason(errno);
    return Status::Ok();
  }

 private:
  Fd fd_;
  uint64_t position_ = 0;
};

}  // namespace

Result<std::unique_ptr<ReadableFile>> PosixFileSystem::OpenForReading(const std::string& path) {
  // Without O_NONBLOCK opening a pipe waits for a writer; pipes and devices
  // are refused before anything is read (a device may never end).
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (fd.get() < 0) return Reason(errno);
  struct stat st;
  Result<FileStatus> status = StatusOf(::fstat(fd.get(), &st), st);
  if (!status.ok()) return status.status();
  if (!S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode)) {
    return Status::Error("It is a pipe or a device, not a file.");
  }
  const int flags = ::fcntl(fd.get(), F_GETFL);
  if (flags < 0 || ::fcntl(fd.get(), F_SETFL, flags & ~O_NONBLOCK) != 0) return Reason(errno);
  return std::unique_ptr<ReadableFile>(
      std::make_unique<PosixReadableFile>(fd.release(), std::move(*status)));
}

Result<FileStatus> PosixFileSystem::Stat(const std::string& path) {
  struct stat st;
  const int result = ::stat(path.c_str(), &st);
  return StatusOf(result, st);
}

Result<FileStatus> PosixFileSystem::StatNoFollow(const std::string& path) {
  struct stat st;
  const int result = ::lstat(path.c_str(), &st);
  return StatusOf(result, st);
}

Result<std::vector<std::string>> PosixFileSystem::ListFolder(const std::string& path) {
  DIR* dir = ::opendir(path.empty() ? "." : path.c_str());
  if (!dir) return Reason(errno);
  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

Result<std::unique_ptr<WritableFile>> PosixFileSystem::CreateNewFile(const std::string& path,
                                                                     uint32_t permissions) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        static_cast<mode_t>(permissions));
  if (fd < 0) {
    if (errno == EEXIST) return std::unique_ptr<WritableFile>();
    return Reason(errno);
  }
  return std::unique_ptr<WritableFile>(std::make_unique<PosixWritableFile>(fd));
}

Result<std::unique_ptr<WritableFile>> PosixFileSystem::OpenForWriting(const std::string& path) {
  Fd fd(::open(path.c_str(), O_WRONLY | O_CLOEXEC));
  if (fd.get() < 0) return Reason(errno);
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return Reason(errno);
  if (!S_ISREG(st.st_mode)) return Reason(EINVAL);
  return std::unique_ptr<WritableFile>(std::make_unique<PosixWritableFile>(fd.release()));
}

Status PosixFileSystem::Rename(const std::string& from, const std::string& to) {
  if (::rename(from.c_str(), to.c_str()) != 0) return Reason(errno);
  return Status::Ok();
}

Status PosixFileSystem::Remove(const std::string& path) {
  if (::unlink(path.c_str()) != 0) return Reason(errno);
  return Status::Ok();
}

Status PosixFileSystem::CreateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0777) == 0) return Status::Ok();
  const int error = errno;
  struct stat st;
  if (error == EEXIST && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    return Status::Ok();
  }
  return Reason(error);
}

}  // namespace luma
