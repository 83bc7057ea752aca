#ifndef LUMA_CORE_TESTING_ZIP_BUILDER_H_
#define LUMA_CORE_TESTING_ZIP_BUILDER_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace luma::testing {

// One ZIP member written byte by byte (deflated with zlib), so that tests can
// make the shapes real and hostile archivers produce.
struct ZipTestMember {
  std::string name;  // as stored; a folder ends in "/"
  std::vector<uint8_t> data;
  bool deflate = true;
  bool utf8_flag = false;          // general-purpose bit 11
  bool zip64 = false;              // sizes and offset only in ZIP64 extra fields
  bool encrypted = false;          // traditional encryption: bit 0 and a 12-byte header
  uint32_t dos_time = 0x5A2F6000;  // 2025-01-15 12:00:00
  // A method id written as given over data stored as given (AES is 99).
  std::optional<uint16_t> method;
  // A lie about the unpacked size, in both headers.
  std::optional<uint64_t> declared_size;
  // Reuse the local entry (header and data) of member N instead of writing
  // one: entries that overlap, as compression bombs make them.
  std::optional<size_t> same_data_as;
};

ZipTestMember ZipMember(std::string name, std::string_view content, bool deflate = true);

struct ZipTestOptions {
  bool zip64_end = false;  // ZIP64 end record and locator, 0xFFFF... in the classic one
  std::string comment;
};

// The local entries, the central directory and the end records.
std::vector<uint8_t> ZipTestArchive(const std::vector<ZipTestMember>& members,
                                    const ZipTestOptions& options = {});

// Raw Deflate (no zlib header) of `data`.
std::vector<uint8_t> DeflateRaw(const std::vector<uint8_t>& data, int level = 6);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_ZIP_BUILDER_H_
