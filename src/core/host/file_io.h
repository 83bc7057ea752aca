#ifndef LUMA_CORE_HOST_FILE_IO_H_
#define LUMA_CORE_HOST_FILE_IO_H_

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/host/file_system.h"
#include "core/host/status.h"

// Whole-file reads and crash-safe writes over a FileSystem. Failures name
// the file: "Can't read PATH: reason", "Can't write PATH: reason".
namespace luma {

// Reads a file to its end. The size the file system reports is only a hint:
// a file can change while it is read, and special files report 0. Fails
// ("File too large") once more than `max_size` bytes arrive.
inline constexpr size_t kNoSizeLimit = static_cast<size_t>(-1);
Result<std::vector<uint8_t>> ReadWholeFile(FileSystem& files, const std::string& path,
                                           size_t max_size = kNoSizeLimit);
// The same for a file already open; `path` names it in the message.
Result<std::vector<uint8_t>> ReadToEnd(ReadableFile& file, const std::string& path,
                                       size_t max_size = kNoSizeLimit);

// Writes `bytes` as the new content of `path`: into a fresh temporary file
// in the same folder, which is flushed, closed and then renamed over `path`.
// A failure at any step (including a short write or a failed close) is
// reported and leaves any existing file at `path` as it was, and no
// temporary file behind. A replaced file keeps its permission bits.
Status ReplaceFile(FileSystem& files, const std::string& path, std::span<const uint8_t> bytes);

// The same with the temporary file's path chosen by `temp_path(attempt)` for
// attempt 0, 1, ... up to `attempts` - 1: the first path that does not exist
// yet is created exclusively and used, so no existing file is ever touched
// but the target.
Status ReplaceFileVia(FileSystem& files, const std::string& path, std::span<const uint8_t> bytes,
                      const std::function<std::string(int)>& temp_path, int attempts);

// Takes the next piece of a file's new content; false once a piece could not
// be written.
using ContentSink = std::function<bool(std::span<const uint8_t>)>;

// ReplaceFile for content made piece by piece: `produce` writes it through
// the sink it is given. The file replaces `path` only when `produce`
// succeeds and every piece was written; otherwise the temporary file is
// removed and the write error, or else `produce`'s failure, is returned.
Status ReplaceFileStreaming(FileSystem& files, const std::string& path,
                            const std::function<Status(const ContentSink&)>& produce);

// True when `path` is a regular file (links followed).
bool IsRegularFile(FileSystem& files, const std::string& path);

}  // namespace luma

#endif  // LUMA_CORE_HOST_FILE_IO_H_
