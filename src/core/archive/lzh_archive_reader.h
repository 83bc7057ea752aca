#ifndef LUMA_CORE_ARCHIVE_LZH_ARCHIVE_READER_H_
#define LUMA_CORE_ARCHIVE_LZH_ARCHIVE_READER_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/archive/archive_reader.h"
#include "core/archive/lzh_archive.h"

namespace luma {

// An LZH/LHA archive seen as an ArchiveReader: every header the index walk
// reaches is a member.
class LzhArchiveReader final : public ArchiveReader {
 public:
  // Fails as LzhArchive::OpenImage does.
  Status OpenImage(std::vector<uint8_t> image, const std::string& path);

  const char* format_name() const override { return "LZH"; }
  Result<std::vector<uint8_t>> ReadMember(size_t index) override;

 private:
  LzhArchive archive_;
  std::vector<size_t> header_positions_;  // per member
};

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZH_ARCHIVE_READER_H_
