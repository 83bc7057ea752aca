#ifndef LUMA_CORE_HOST_MEMORY_FILE_SYSTEM_H_
#define LUMA_CORE_HOST_MEMORY_FILE_SYSTEM_H_

#include <cstdint>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/host/file_system.h"

namespace luma {

// A file system kept in memory: for the web page, which has no disk of its
// own, and for tests, which can make it fail as disks do. It starts with
// the root folder only; relative paths start there. Folders and regular
// files behave as on a POSIX disk (no links, no permission checks, no mask).
// Used from one thread at a time; files it handed out must not outlive it.
class MemoryFileSystem : public FileSystem {
 public:
  MemoryFileSystem();
  ~MemoryFileSystem() override;
  MemoryFileSystem(const MemoryFileSystem&) = delete;
  MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

  Result<std::unique_ptr<ReadableFile>> OpenForReading(const std::string& path) override;
  Result<FileStatus> Stat(const std::string& path) override;
  Result<FileStatus> StatNoFollow(const std::string& path) override;
  Result<std::vector<std::string>> ListFolder(const std::string& path) override;
  Result<std::unique_ptr<WritableFile>> CreateNewFile(const std::string& path,
                                                      uint32_t permissions) override;
  Result<std::unique_ptr<WritableFile>> OpenForWriting(const std::string& path) override;
  Status Rename(const std::string& from, const std::string& to) override;
  Status Remove(const std::string& path) override;
  Status CreateFolder(const std::string& path) override;

  // The content of every file together may not grow past `bytes`: a write
  // that would comes up short, "No space left on device". nullopt: no limit.
  void set_capacity(std::optional<uint64_t> bytes) { capacity_ = bytes; }
  // While set, every rename fails ("Input/output error") and changes nothing.
  void set_rename_fails(bool fails) { rename_fails_ = fails; }
  // The time files written from now on are stamped with; nullopt: the
  // system's clock.
  void set_now(std::optional<std::time_t> now) { now_ = now; }
  // Stamps an existing file or folder as last changed and last read then.
  Status SetTimes(const std::string& path, std::time_t modified, std::time_t accessed);
  // The bytes of every file together.
  uint64_t used() const;

  // The path as this file system keys it: absolute, "." and ".." resolved,
  // no repeated or trailing "/".
  static std::string Normalize(const std::string& path);

 private:
  struct Node;
  class ReadHandle;
  class File;
  friend class File;

  Node* Find(const std::string& key) const;
  // The failure for `key` when its parent is not a folder, else Ok.
  Status CheckParent(const std::string& key) const;
  std::time_t Now() const;
  // Writes into `node`, growing it only as far as the capacity allows;
  // `done` tells how many bytes were written.
  Status WriteInto(Node& node, uint64_t offset, std::span<const uint8_t> bytes, size_t* done);

  std::map<std::string, std::shared_ptr<Node>> nodes_;
  std::optional<uint64_t> capacity_;
  bool rename_fails_ = false;
  std::optional<std::time_t> now_;
};

}  // namespace luma

#endif  // LUMA_CORE_HOST_MEMORY_FILE_SYSTEM_H_
