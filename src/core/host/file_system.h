#ifndef LUMA_CORE_HOST_FILE_SYSTEM_H_
#define LUMA_CORE_HOST_FILE_SYSTEM_H_

#include <cstdint>
#include <ctime>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/host/status.h"

namespace luma {

enum class FileKind { kMissing, kRegular, kDirectory, kLink, kOther };

struct FileStatus {
  FileKind kind = FileKind::kMissing;
  uint64_t size = 0;
  std::time_t modified = 0;
  std::time_t accessed = 0;
  uint32_t permissions = 0;  // the permission bits of the mode, 0777 and the like

  bool exists() const { return kind != FileKind::kMissing; }
  bool is_regular() const { return kind == FileKind::kRegular; }
  bool is_directory() const { return kind == FileKind::kDirectory; }
};

// A file open for reading, from its start; closed when destroyed.
class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // What the file was when it was opened. Its size is only a hint: a file
  // can change while it is read, and special files report 0.
  virtual const FileStatus& status() const = 0;
  // Reads the next bytes into `buffer` and returns how many; 0 at the end.
  // Reading a folder fails.
  virtual Result<size_t> Read(std::span<uint8_t> buffer) = 0;
};

// A file open for writing; closed when destroyed. Failures say why in the
// system's words ("No space left on device"), as FileSystem's do.
class WritableFile {
 public:
  virtual ~WritableFile() = default;
  // Writes at the handle's position, which starts at 0 and moves past what
  // is written. A write that comes up short fails; what fitted stays.
  virtual Status Write(std::span<const uint8_t> bytes) = 0;
  // Writes at `offset`, keeping the rest of the file as it is.
  virtual Status WriteAt(uint64_t offset, std::span<const uint8_t> bytes) = 0;
  // Sets the permission bits exactly, without the process's mask.
  virtual Status SetPermissions(uint32_t permissions) = 0;
  // Returns once what was written is on the storage.
  virtual Status Sync() = 0;
  // Closing can fail too (a network file system reports a full disk here).
  virtual Status Close() = 0;
};

// Every file operation of the engine, so that the engine runs as well on a
// real disk (PosixFileSystem) as in memory (MemoryFileSystem: tests that
// need a full disk, the web page). Paths are bytes as the platform takes
// them. Failures carry only the reason, in the system's words; callers say
// what they were doing with which file (file_io.h builds whole-file reads
// and crash-safe writes on these operations).
class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Opens a file, or a folder (which cannot be read), for reading.
  virtual Result<std::unique_ptr<ReadableFile>> OpenForReading(const std::string& path) = 0;

  // What is at `path`, links followed; kMissing, which is no failure, when
  // nothing is.
  virtual Result<FileStatus> Stat(const std::string& path) = 0;
  // The same for the link itself (kLink) when `path` is a symbolic link.
  virtual Result<FileStatus> StatNoFollow(const std::string& path) = 0;

  // The names in a folder, "." and ".." left out, in no particular order.
  virtual Result<std::vector<std::string>> ListFolder(const std::string& path) = 0;

  // Creates a new file exclusively: null, which is no failure, when the name
  // is taken by anything (a file, a folder, a link, even a dangling one).
  // `permissions` are narrowed by the process's mask.
  virtual Result<std::unique_ptr<WritableFile>> CreateNewFile(const std::string& path,
                                                              uint32_t permissions) = 0;

  // Opens an existing regular file for writing in place; its content stays.
  virtual Result<std::unique_ptr<WritableFile>> OpenForWriting(const std::string& path) = 0;

  // Renames a file over any file at `to`, in one step.
  virtual Status Rename(const std::string& from, const std::string& to) = 0;

  // Removes a file (not a folder). A missing file is a failure.
  virtual Status Remove(const std::string& path) = 0;

  // Makes one folder; its parent must exist. A folder already there is
  // success, anything else of that name is not.
  virtual Status CreateFolder(const std::string& path) = 0;
};

}  // namespace luma

#endif  // LUMA_CORE_HOST_FILE_SYSTEM_H_
