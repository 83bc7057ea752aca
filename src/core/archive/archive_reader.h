#ifndef LUMA_CORE_ARCHIVE_ARCHIVE_READER_H_
#define LUMA_CORE_ARCHIVE_ARCHIVE_READER_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/host/status.h"

namespace luma {

// Members whose unpacked size claims more than this are refused rather than
// given memory on the archive's word.
inline constexpr uint64_t kMaxArchiveMemberSize = 256u << 20;

// One member as its archive lists it. Names are the archive's bytes; only
// `utf8_name` says how to show them.
struct ArchiveMember {
  std::string full_name;  // directories included, separated by "/"
  std::string name;       // file name and extension only
  uint64_t size = 0;      // unpacked
  uint64_t packed_size = 0;
  uint32_t time_stamp = 0;  // as stored, for telling versions apart
  uint32_t dos_time = 0;    // MS-DOS date and time, for writing into LZH headers
  bool is_directory = false;
  // The archive marks the name as UTF-8 (ASCII names count as UTF-8);
  // otherwise it is in whatever code page the archiver used.
  bool utf8_name = false;
};

// An archive held in memory whose members are read whole on demand. The
// loading pipeline, the archive builder and the tool see LZH and ZIP files
// through this.
class ArchiveReader {
 public:
  virtual ~ArchiveReader() = default;

  // "LZH" or "ZIP", for messages.
  virtual const char* format_name() const = 0;

  // Every member in archive order, directories and empty files included.
  const std::vector<ArchiveMember>& members() const { return members_; }

  // The first member whose file name equals `name` ignoring case (whatever
  // folder it is under); failing that, the first whose full name does.
  std::optional<size_t> Find(std::string_view name) const;

  // The unpacked bytes of member `index`. Fails with a message saying why:
  // no data (directories, empty members), too large, encrypted, damaged.
  virtual Result<std::vector<uint8_t>> ReadMember(size_t index) = 0;
  Result<std::vector<uint8_t>> Read(std::string_view name);

 protected:
  void AddMember(ArchiveMember member);

 private:
  std::vector<ArchiveMember> members_;
  // Lower-cased file name -> the first member of that name.
  std::unordered_map<std::string, size_t> by_name_;
};

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_ARCHIVE_READER_H_
