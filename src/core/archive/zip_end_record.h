#ifndef LUMA_CORE_ARCHIVE_ZIP_END_RECORD_H_
#define LUMA_CORE_ARCHIVE_ZIP_END_RECORD_H_

#include <cstdint>
#include <optional>
#include <span>

namespace luma {

// What a ZIP's end records claim about its central directory. Read before
// the directory itself, so that a claim no file could honour is refused
// without work or memory in proportion to it.
struct ZipDirectoryClaim {
  uint64_t entries = 0;
  uint64_t size = 0;  // bytes
};

// Every central directory entry takes at least this many bytes.
inline constexpr uint64_t kMinZipDirectoryEntrySize = 46;

// The claim of the end record nearest the end of `image` (one whose comment
// reaches exactly to the end preferred), with the ZIP64 end record's
// figures where the classic record defers to them. Nothing when no end
// record is found.
std::optional<ZipDirectoryClaim> ReadZipDirectoryClaim(std::span<const uint8_t> image);

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_ZIP_END_RECORD_H_
