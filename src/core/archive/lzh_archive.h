#ifndef LUMA_CORE_ARCHIVE_LZH_ARCHIVE_H_
#define LUMA_CORE_ARCHIVE_LZH_ARCHIVE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/archive/archive_reader.h"
#include "core/archive/lzh_header.h"
#include "core/archive/lzh_method.h"
#include "core/archive/memory_file.h"
#include "core/host/file_system.h"
#include "core/host/status.h"

namespace luma {

// Where a walk over the member headers stands after one step: not a
// failure (an archive's end is often a header that does not parse), so not
// a Status.
enum class LzhHeaderStep {
  kMember,         // a member header was read
  kInvalidHeader,  // what stands there is no member header
  kEndOfArchive,
};

struct LzhIndexEntry {
  std::string name;          // file name and extension only
  uint32_t header_position;  // in the image
  char first_upper;          // first character of `name`, a-z made upper case
};

// An LZH/LHA archive held wholly in memory. Reading: Open (or OpenImage)
// reads the archive and indexes its members; members are then found by file
// name and decoded on demand, into memory or streamed to an LzhOutput. Writing: CreateNew starts an
// empty image that the archive writer fills and saves.
//
// The image has a current position. ReadNextHeader continues from it (call
// Rewind first); every other operation seeks where it needs to.
class LzhArchive {
 public:
  // Members whose unpacked size claims more than this are not decoded into
  // memory, rather than given memory on the header's word; streaming takes
  // any size. ZIP members have the same cap.
  static constexpr uint32_t kMaxMemberSize = kMaxArchiveMemberSize;

  LzhArchive() = default;
  LzhArchive(const LzhArchive&) = delete;
  LzhArchive& operator=(const LzhArchive&) = delete;

  // Reads the whole file and indexes it. Fails when the file cannot be read,
  // is empty, or holds no archive: one that does not begin with a member
  // header is looked for behind a self-extracting program's stub (see
  // FindLzhArchiveStart). The message says why, for callers to show under
  // their own words naming the file: the file system's reason, "File not
  // found!" when reading failed part way, or what is wrong with the bytes.
  Status Open(FileSystem& files, const std::string& path);
  // The same for an archive already in memory; `path` is only remembered.
  Status OpenImage(std::vector<uint8_t> image, std::string path = {});

  // To the first member header (behind the stub of a self-extracting
  // program, else the start of the image).
  void Rewind() { image_.Seek(start_); }

  // Parses the header at the current position, records it in the index and
  // moves past the member's data. kEndOfArchive at (or one byte before) the
  // end.
  LzhHeaderStep ReadNextHeader();

  // Finds a member by file name, ignoring case, and leaves the position at
  // its header: the index first (so a name matches whatever directory the
  // member is stored under, and the first such member wins), then a scan of
  // the headers comparing full names. False when no member has that name.
  bool FindMember(std::string_view name);

  // Finds the member and decodes it. Fails for missing members, empty
  // members and directory entries, methods that cannot be decoded, damaged
  // data, CRC mismatches and members above kMaxMemberSize.
  Result<std::vector<uint8_t>> ExtractToMemory(std::string_view name);
  // Decodes the member whose header starts at `header_position`.
  Result<std::vector<uint8_t>> ExtractAt(size_t header_position);
  // The same, of any size, handed to `out` as it is decoded with its CRC
  // checked on the way: the last bytes written may belong to a member that
  // then fails its CRC check, which the caller has to undo.
  Status ExtractAt(size_t header_position, LzhOutput& out);

  // Starts a new, empty archive to be written to `path`.
  void CreateNew(const std::string& path);

  const std::string& path() const { return path_; }
  bool is_new() const { return is_new_; }
  const std::vector<LzhIndexEntry>& index() const { return index_; }

  // Set by ReadNextHeader and FindMember.
  const std::string& current_name() const { return current_name_; }
  uint32_t current_unpacked_size() const { return current_header_.unpacked_size; }
  uint32_t current_time_stamp() const { return current_header_.time_stamp; }
  // The header ReadNextHeader last parsed, full name and all.
  const LzhHeader& current_header() const { return current_header_; }

  // The archive bytes; the writer appends members here.
  MemoryFile& image() { return image_; }
  const MemoryFile& image() const { return image_; }

 private:
  void BuildIndex();
  void AddIndexEntry(std::string_view name, size_t header_position);

  std::string path_;
  MemoryFile image_;
  size_t start_ = 0;  // of the first member header
  std::vector<LzhIndexEntry> index_;
  std::string current_name_;
  LzhHeader current_header_;
  bool is_new_ = false;
};

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZH_ARCHIVE_H_
