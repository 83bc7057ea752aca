#ifndef LUMA_CORE_ARCHIVE_LZH_HEADER_H_
#define LUMA_CORE_ARCHIVE_LZH_HEADER_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace luma {

// One member header of an LZH archive (levels 0 to 3).
struct LzhHeader {
  uint8_t header_size = 0;   // the first byte as stored
  std::string method;        // five characters, e.g. "-lh5-"
  uint32_t packed_size = 0;  // compressed bytes behind the header (extended headers excluded)
  uint32_t unpacked_size = 0;
  uint32_t time_stamp = 0;  // as stored: MS-DOS format for levels 0 and 1, UNIX time above
  uint8_t attribute = 0;
  uint8_t level = 0;
  std::string name;  // directory part, if any, in front, separated by '/'
  // A file comment (Amiga archivers put it behind a zero byte in the name
  // field); never part of the name.
  std::string comment;
  uint16_t crc = 0;      // CRC-16 of the unpacked data
  bool has_crc = false;  // false only for a level-0 header too short to carry one
  char os_id = 0;        // 'M' MS-DOS, 'U' UNIX, 'm' Macintosh, 0 generic...
  uint8_t unix_minor = 0;
  uint32_t unix_time = 0;
  uint16_t unix_mode = 0x81B6;  // regular file, read/write for all
  uint16_t unix_uid = 0;
  uint16_t unix_gid = 0;
  // Bytes from the first header byte to the packed data; extended headers
  // included.
  size_t header_length = 0;

  bool unix_time_stamp() const { return level >= 2; }
  // "-lhd-" entries, and the nameless stored entries of zero length that
  // Amiga archivers write for directories; their names end in '/'.
  bool is_directory() const;
};

// Parses the member header at the start of `bytes`, which may run on to the
// end of the archive. Every length field is checked against the bytes that
// are there; a malformed header fails. The name comes out converted for the
// header's OS id (see the .cpp) and with its directory in front.
bool ParseLzhHeader(std::span<const uint8_t> bytes, LzhHeader& header);

// True when the header at the start of `bytes` parses and proves itself
// with its own check value: the checksum byte of levels 0 and 1, or the
// header CRC extension of levels 1 to 3. Used to find an archive behind an
// executable stub, where a chance "-lh5-" must not pass for a member.
bool IsVerifiedLzhHeader(std::span<const uint8_t> bytes);

// The member name used for lookups: the file name and extension without any
// directory ('/' and '\\' both separate, but not as the second byte of a
// Shift-JIS character) and without anything up to a ':'.
std::string_view LzhMemberFileName(std::string_view name);

// Member names compared ignoring ASCII case; in a Shift-JIS name only
// single-byte letters fold (see FoldNameCase).
bool LzhNamesEqual(std::string_view a, std::string_view b);

// Seconds since 1970 for an MS-DOS date and time, read as given (no time
// zone); 0 stays 0.
uint32_t DosTimeToUnix(uint32_t dos_time);

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZH_HEADER_H_
