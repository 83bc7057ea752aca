#include "core/host/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <random>

#include "core/host/text.h"

namespace luma {
namespace {

Status Failure(const char* what, const std::string& path, int error) {
  return Status::Error(StringPrintf("%s %s: %s", what, path.c_str(), std::strerror(error)));
}

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

bool WriteAll(int fd, const uint8_t* data, size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
}

}  // namespace

Result<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t max_size) {
  Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) return Failure("Can't read", path, errno);
  std::vector<uint8_t> data;
  struct stat st;
  if (::fstat(fd.get(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Failure("Can't read", path, EISDIR);
    if (st.st_size > 0) data.reserve(std::min(static_cast<size_t>(st.st_size), max_size));
  }
  uint8_t chunk[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return Failure("Can't read", path, errno);
    if (n == 0) break;
    if (static_cast<size_t>(n) > max_size - data.size()) return Failure("Can't read", path, EFBIG);
    data.insert(data.end(), chunk, chunk + n);
  }
  return data;
}

namespace {

std::function<std::string(int)> TempPathBeside(const std::string& path) {
  const std::string folder(DirectoryPart(path));
  const std::string name(FileNamePart(path));
  return [folder, name, random = std::make_shared<std::random_device>()](int) {
    return folder + "." + name + StringPrintf(".%08x.tmp", static_cast<unsigned>((*random)()));
  };
}

Status ReplaceVia(const std::string& path, const std::function<Status(const ContentSink&)>& produce,
                  const std::function<std::string(int)>& temp_path, int attempts) {
  mode_t mode = 0666;
  bool keep_mode = false;
  struct stat st;
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return Failure("Can't write", path, EISDIR);
    mode = st.st_mode & 07777;
    keep_mode = true;
  }

  std::string temp;
  int raw_fd = -1;
  int open_error = EEXIST;
  for (int attempt = 0; attempt < attempts && raw_fd < 0; ++attempt) {
    temp = temp_path(attempt);
    raw_fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    open_error = errno;
    if (raw_fd < 0 && open_error != EEXIST) break;
  }
  if (raw_fd < 0) return Failure("Can't write", path, open_error);
  Fd fd(raw_fd);

  int error = 0;
  if (keep_mode && ::fchmod(fd.get(), mode) != 0) error = errno;
  Status produced = Status::Ok();
  if (error == 0) {
    produced = produce([&](std::span<const uint8_t> bytes) {
      if (error == 0 && !WriteAll(fd.get(), bytes.data(), bytes.size())) error = errno;
      return error == 0;
    });
  }
  const bool complete = error == 0 && produced.ok();
  if (complete && ::fsync(fd.get()) != 0) error = errno;
  if (::close(fd.release()) != 0 && error == 0) error = errno;
  if (complete && error == 0 && ::rename(temp.c_str(), path.c_str()) != 0) error = errno;
  if (error != 0 || !produced.ok()) {
    ::unlink(temp.c_str());
    return error != 0 ? Failure("Can't write", path, error) : produced;
  }
  return Status::Ok();
}

}  // namespace

Status ReplaceFile(const std::string& path, std::span<const uint8_t> bytes) {
  return ReplaceFileVia(path, bytes, TempPathBeside(path), 100);
}

Status ReplaceFileVia(const std::string& path, std::span<const uint8_t> bytes,
                      const std::function<std::string(int)>& temp_path, int attempts) {
  return ReplaceVia(
      path,
      [bytes](const ContentSink& sink) {
        sink(bytes);
        return Status::Ok();
      },
      temp_path, attempts);
}

Status ReplaceFileStreaming(const std::string& path,
                            const std::function<Status(const ContentSink&)>& produce) {
  return ReplaceVia(path, produce, TempPathBeside(path), 100);
}

}  // namespace luma
