#ifndef LUMA_CORE_ARCHIVE_OPEN_ARCHIVE_H_
#define LUMA_CORE_ARCHIVE_OPEN_ARCHIVE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/archive/archive_reader.h"
#include "core/host/file_system.h"
#include "core/host/status.h"

namespace luma {

// Reads the archive at `path` into memory and indexes it. The bytes decide
// the format: a ZIP when they begin like one; a file named ".zip" is tried
// as ZIP first (a ZIP may carry a self-extractor in front); anything else is
// LZH. Failures say why when the reader knows ("not a ZIP archive",
// "File not found!" for a read that broke off); an LZH file that is simply
// not an archive fails with an empty message.
Result<std::unique_ptr<ArchiveReader>> OpenArchive(FileSystem& files, const std::string& path);
// The same for an archive already in memory; `path` names it.
Result<std::unique_ptr<ArchiveReader>> OpenArchiveImage(std::vector<uint8_t> image,
                                                        const std::string& path);

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_OPEN_ARCHIVE_H_
