#include "core/archive/open_archive.h"

#include <utility>

#include "core/archive/lzh_archive_reader.h"
#include "core/archive/zip_archive.h"
#include "core/host/file_io.h"
#include "core/host/text.h"

namespace luma {

Result<std::unique_ptr<ArchiveReader>> OpenArchive(FileSystem& files, const std::string& path) {
  // Callers name the file; the failure says why it could not be read.
  Result<std::unique_ptr<ReadableFile>> file = files.OpenForReading(path);
  if (!file.ok()) return file.status();
  Result<std::vector<uint8_t>> bytes = ReadToEnd(**file, path);
  if (!bytes.ok()) return Status::Error("File not found!");
  return OpenArchiveImage(std::move(*bytes), path);
}

Result<std::unique_ptr<ArchiveReader>> OpenArchiveImage(std::vector<uint8_t> image,
                                                        const std::string& path) {
  const bool zip_bytes = StartsLikeZip(image);
  if (zip_bytes || EqualsIgnoreCase(ExtensionPart(path), "zip")) {
    auto zip = std::make_unique<ZipArchive>();
    // A renamed LZH archive still opens: the ZIP reader gets a copy.
    Status opened = zip_bytes ? zip->OpenImage(std::move(image)) : zip->OpenImage(image);
    if (opened.ok()) return std::unique_ptr<ArchiveReader>(std::move(zip));
    if (zip_bytes) return opened;
    auto lzh = std::make_unique<LzhArchiveReader>();
    if (lzh->OpenImage(std::move(image), path).ok()) {
      return std::unique_ptr<ArchiveReader>(std::move(lzh));
    }
    return opened;
  }
  auto lzh = std::make_unique<LzhArchiveReader>();
  Status opened = lzh->OpenImage(std::move(image), path);
  if (!opened.ok()) return opened;
  return std::unique_ptr<ArchiveReader>(std::move(lzh));
}

}  // namespace luma
