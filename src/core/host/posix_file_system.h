#ifndef LUMA_CORE_HOST_POSIX_FILE_SYSTEM_H_
#define LUMA_CORE_HOST_POSIX_FILE_SYSTEM_H_

#include "core/host/file_system.h"

namespace luma {

// The platform's own file system. Holds no state: any number may exist.
class PosixFileSystem : public FileSystem {
 public:
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
};

}  // namespace luma

#endif  // LUMA_CORE_HOST_POSIX_FILE_SYSTEM_H_
