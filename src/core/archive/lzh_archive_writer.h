#ifndef LUMA_CORE_ARCHIVE_LZH_ARCHIVE_WRITER_H_
#define LUMA_CORE_ARCHIVE_LZH_ARCHIVE_WRITER_H_

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/lzh_archive.h"
#include "core/host/file_system.h"
#include "core/host/status.h"

namespace luma {

class Lh5Encoder;

// Fills the image of a new LzhArchive (after CreateNew) one member at a time
// and writes it out. Members are compressed with "-lh5-", or stored as
// "-lh0-" when that does not make them smaller; an empty file becomes a
// header-only "-lh5-" member. Every member gets the same header layout (see
// FormatLzhMemberHeader), and no end-of-archive byte is added.
class LzhArchiveWriter {
 public:
  // Members are written at the image's current position; `archive` and
  // `files` (where added files are read and the archive is saved) must
  // outlive the writer.
  LzhArchiveWriter(LzhArchive& archive, FileSystem& files);
  ~LzhArchiveWriter();
  LzhArchiveWriter(const LzhArchiveWriter&) = delete;
  LzhArchiveWriter& operator=(const LzhArchiveWriter&) = delete;

  // Reads the file at `source_path` to its end and appends it under
  // `member_name` (directories dropped) with the file's modification time.
  // The header records exactly the bytes that were read. Devices, pipes and
  // folders are refused. On failure nothing is appended, the message names
  // the file and the archive stays usable.
  Status AddFile(const std::string& source_path, std::string_view member_name);

  // Appends `data` under `member_name` (directories dropped). Refuses, adding
  // nothing, an empty name, a name longer than kMaxLzhMemberNameLength and
  // data larger than the reader accepts (LzhArchive::kMaxMemberSize).
  Status AddMember(std::string_view member_name, std::span<const uint8_t> data, uint32_t dos_time);

  // Writes the whole image to the archive's path, through a temporary file
  // in the destination folder and a rename: on failure an existing file at
  // the path is left as it was. An archive without members is not written.
  Status Save() const;

 private:
  LzhArchive& archive_;
  FileSystem& files_;
  std::unique_ptr<Lh5Encoder> encoder_;  // made for the first member with data
  std::vector<uint8_t> packed_;
};

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZH_ARCHIVE_WRITER_H_
