#ifndef LUMA_CORE_HOST_FILE_IO_H_
#define LUMA_CORE_HOST_FILE_IO_H_

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "core/host/status.h"

namespace luma {

// Reads a file to its end. The size the file system reports is only a hint:
// a file can change while it is read, and special files report 0. Fails
// ("File too large") once more than `max_size` bytes arrive.
Result<std::vector<uint8_t>> ReadWholeFile(const std::string& path,
                                           size_t max_size = static_cast<size_t>(-1));

// Writes `bytes` as the new content of `path`: into a fresh temporary file
// in the same folder, which is flushed, closed and then renamed over `path`.
// A failure at any step (including a short write or a failed close) is
// reported and leaves any existing file at `path` as it was. A replaced
// file keeps its permission bits.
Status ReplaceFile(const std::string& path, std::span<const uint8_t> bytes);

// The same with the temporary file's path chosen by `temp_path(attempt)` for
// attempt 0, 1, ... up to `attempts` - 1: the first path that does not exist
// yet is created exclusively and used, so no existing file is ever touched
// but the target.
Status ReplaceFileVia(const std::string& path, std::span<const uint8_t> bytes,
                      const std::function<std::string(int)>& temp_path, int attempts);

// Takes the next piece of a file's new content; false once a piece could not
// be written.
using ContentSink = std::function<bool(std::span<const uint8_t>)>;

// ReplaceFile for content made piece by piece: `produce` writes it through
// the sink it is given. The file replaces `path` only when `produce`
// succeeds and every piece was written; otherwise the temporary file is
// removed and the write error, or else `produce`'s failure, is returned.
Status ReplaceFileStreaming(const std::string& path,
                            const std::function<Status(const ContentSink&)>& produce);

}  // namespace luma

#endif  // LUMA_CORE_HOST_FILE_IO_H_
