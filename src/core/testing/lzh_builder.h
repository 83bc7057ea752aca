#ifndef LUMA_CORE_TESTING_LZH_BUILDER_H_
#define LUMA_CORE_TESTING_LZH_BUILDER_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace luma::testing {

// One archive member written byte by byte, so that tests can make the header
// shapes real archivers produce without going through the archive writer.
// Headers carry a correct checksum (levels 0 and 1) or header CRC extension
// (levels 2 and 3). OS id 'K' makes the level-2 length two bytes short, as
// OS-9/68K LHA writes it.
struct LzhTestMember {
  std::string method = "-lh0-";
  std::string name;       // levels 0 and 1 in the base header, above as an extension
  std::string directory;  // levels 1 to 3: extended header 0x02, written as given
  std::vector<uint8_t> packed;
  uint32_t unpacked_size = 0;
  uint16_t crc = 0;
  char os_id = 'M';
  bool with_crc = true;  // level 0 only: the oldest headers carry no CRC or OS id
  uint32_t time_stamp =
      0x2A2F6000;  // 2001-01-15 12:00:00, MS-DOS format (levels 2, 3: as UNIX time)
};

// A stored member holding `content`.
LzhTestMember StoredTestMember(std::string name, std::string_view content);

// A member of `size` spaces (hundreds of megabytes if need be) in a few
// bytes of a static-Huffman method (-lh4- to -lh7-): blocks whose only code
// is a 256-byte match one byte back.
LzhTestMember SpacesTestMember(std::string name, uint32_t size, std::string method = "-lh5-");

// Header and packed data of `member` at header level 0, 1, 2 or 3.
std::vector<uint8_t> LzhTestMemberBytes(const LzhTestMember& member, int level);

// The members one after another, with the customary zero byte at the end
// unless `final_zero` is false.
std::vector<uint8_t> LzhTestArchive(const std::vector<std::vector<uint8_t>>& members,
                                    bool final_zero = true);

// The member names of the LZH archive at `path` in their order; none when
// it does not open.
std::vector<std::string> LzhMemberNames(const std::string& path);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_LZH_BUILDER_H_
