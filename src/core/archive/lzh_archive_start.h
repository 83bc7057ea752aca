#ifndef LUMA_CORE_ARCHIVE_LZH_ARCHIVE_START_H_
#define LUMA_CORE_ARCHIVE_LZH_ARCHIVE_START_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/host/file_system.h"

namespace luma {

// Where the first member header of an archive image lies. An archive
// normally starts with it; a self-extracting one (an MS-DOS or Windows
// program, an X68000, Atari or Amiga executable) has a program in front.
// Then the first 64 KiB are searched, and for a Windows program also the
// 64 KiB after the end of its sections, where its archivers append the
// data, for the first header that proves itself by its checksum or header
// CRC and whose member lies within the image. nullopt when there is none.
std::optional<size_t> FindLzhArchiveStart(std::span<const uint8_t> image);

// True for an MS-DOS or Windows program (".exe", ".com") that carries an LZH
// archive: a self-extracting archive, which opens like the archive itself.
// Any other file, or one that cannot be read, is false.
bool IsSelfExtractingLzh(FileSystem& files, const std::string& path);

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZH_ARCHIVE_START_H_
