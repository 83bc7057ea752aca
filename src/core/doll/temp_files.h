#ifndef LUMA_CORE_DOLL_TEMP_FILES_H_
#define LUMA_CORE_DOLL_TEMP_FILES_H_

#include <cstdint>
#include <ctime>
#include <span>
#include <string>
#include <string_view>

#include "core/host/host.h"
#include "core/host/status.h"

namespace luma {

// Archive members that must exist as real files while a doll is open (the
// CNF of an archived doll, the sounds and music its script plays) are written
// to the temporary folder as "LMD%05d.ext": the first free counter from 0 is
// taken, and the file is created exclusively, so a name another program
// instance took in the meantime, or a planted link, is skipped, not reused.
inline constexpr int kTempNameCount = 100000;
// Temporary files older than this are left-overs of an earlier run.
inline constexpr std::time_t kStaleTempFileAge = 7 * 24 * 60 * 60;

// The name for `counter`: folder + "/LMD%05d." + extension.
std::string TempFileName(std::string_view folder, int counter, std::string_view extension);

// Writes `bytes` to the first free temporary name with `extension` in the
// host's temporary folder and returns its path. When every name is taken the
// user is told to clean the folder. A file that cannot be created or written
// fails silently (the caller reports) and leaves nothing behind, and so does
// an extension holding a path separator. Tests may
// lower `name_count`.
Result<std::string> WriteTempCopy(Host& host, std::span<const uint8_t> bytes,
                                  std::string_view extension, int name_count = kTempNameCount);

// Deletes a temporary file; one that is already gone is no failure.
void DeleteTempFile(FileSystem& files, const std::string& path);

// Deletes the "LMD?????.*" files in `folder` last modified before
// `now` - kStaleTempFileAge. Failures are ignored. Returns how many went.
int CleanStaleTempFiles(FileSystem& files, const std::string& folder, std::time_t now);

}  // namespace luma

#endif  // LUMA_CORE_DOLL_TEMP_FILES_H_
