#include "core/host/file_io.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <random>

#include "core/host/text.h"

namespace luma {
namespace {

Status Reason(int error) { return Status::Error(std::strerror(error)); }

Status Failure(const char* what, const std::string& path, const Status& reason) {
  return Status::Error(StringPrintf("%s %s: %s", what, path.c_str(), reason.message().c_str()));
}

std::function<std::string(int)> TempPathBeside(const std::string& path) {
  const std::string folder(DirectoryPart(path));
  const std::string name(FileNamePart(path));
  return [folder, name, random = std::make_shared<std::random_device>()](int) {
    return folder + "." + name + StringPrintf(".%08x.tmp", static_cast<unsigned>((*random)()));
  };
}

Status ReplaceVia(FileSystem& files, const std::string& path,
                  const std::function<Status(const ContentSink&)>& produce,
                  const std::function<std::string(int)>& temp_path, int attempts) {
  std::optional<uint32_t> keep_permissions;
  if (Result<FileStatus> old = files.Stat(path); old.ok() && old->exists()) {
    if (old->is_directory()) return Failure("Can't write", path, Reason(EISDIR));
    keep_permissions = old->permissions;
  }

  std::string temp;
  std::unique_ptr<WritableFile> file;
  Status open_error = Reason(EEXIST);
  for (int attempt = 0; attempt < attempts && !file; ++attempt) {
    temp = temp_path(attempt);
    Result<std::unique_ptr<WritableFile>> created = files.CreateNewFile(temp, 0666);
    if (!created.ok()) {
      open_error = created.status();
      break;
    }
    file = std::move(*created);
  }
  if (!file) return Failure("Can't write", path, open_error);

  Status error;
  if (keep_permissions) error = file->SetPermissions(*keep_permissions);
  Status produced = Status::Ok();
  if (error.ok()) {
    produced = produce([&](std::span<const uint8_t> bytes) {
      if (error.ok()) error = file->Write(bytes);
      return error.ok();
    });
  }
  const bool complete = error.ok() && produced.ok();
  if (complete) error = file->Sync();
  if (Status closed = file->Close(); error.ok()) error = std::move(closed);
  if (complete && error.ok()) error = files.Rename(temp, path);
  if (!error.ok() || !produced.ok()) {
    (void)files.Remove(temp);
    return !error.ok() ? Failure("Can't write", path, error) : produced;
  }
  return Status::Ok();
}

}  // namespace

Result<std::vector<uint8_t>> ReadWholeFile(FileSystem& files, const std::string& path,
                                           size_t max_size) {
  Result<std::unique_ptr<ReadableFile>> file = files.OpenForReading(path);
  if (!file.ok()) return Failure("Can't read", path, file.status());
  return ReadToEnd(**file, path, max_size);
}

Result<std::vector<uint8_t>> ReadToEnd(ReadableFile& file, const std::string& path,
                                       size_t max_size) {
  std::vector<uint8_t> data;
  if (file.status().is_directory()) return Failure("Can't read", path, Reason(EISDIR));
  if (file.status().size > 0) {
    data.reserve(static_cast<size_t>(std::min<uint64_t>(file.status().size, max_size)));
  }
  uint8_t chunk[65536];
  for (;;) {
    Result<size_t> n = file.Read(chunk);
    if (!n.ok()) return Failure("Can't read", path, n.status());
    if (*n == 0) break;
    if (*n > max_size - data.size()) return Failure("Can't read", path, Reason(EFBIG));
    data.insert(data.end(), chunk, chunk + *n);
  }
  return data;
}

Status ReplaceFile(FileSystem& files, const std::string& path, std::span<const uint8_t> bytes) {
  return ReplaceFileVia(files, path, bytes, TempPathBeside(path), 100);
}

Status ReplaceFileVia(FileSystem& files, const std::string& path, std::span<const uint8_t> bytes,
                      const std::function<std::string(int)>& temp_path, int attempts) {
  return ReplaceVia(
      files, path,
      [bytes](const ContentSink& sink) {
        sink(bytes);
        return Status::Ok();
      },
      temp_path, attempts);
}

Status ReplaceFileStreaming(FileSystem& files, const std::string& path,
                            const std::function<Status(const ContentSink&)>& produce) {
  return ReplaceVia(files, path, produce, TempPathBeside(path), 100);
}

bool IsRegularFile(FileSystem& files, const std::string& path) {
  Result<FileStatus> status = files.Stat(path);
  return status.ok() && status->is_regular();
}

}  // namespace luma
