#ifndef LUMA_CORE_ARCHIVE_LZH_HEADER_WRITER_H_
#define LUMA_CORE_ARCHIVE_LZH_HEADER_WRITER_H_

#include <cstdint>
#include <ctime>
#include <string_view>
#include <vector>

#include "core/archive/lzh_header.h"

namespace luma {

// The written header's size byte is the name length + 34, and LZH readers
// (ours included) refuse header sizes above 100: longer names would make the
// archive unreadable from that member on.
inline constexpr size_t kMaxLzhMemberNameLength = 66;

// The member name stored for `path`: the part after the last "/", "\" or
// 0xFF byte.
std::string_view LzhMemberName(std::string_view path);

// The one header layout this program writes, from the method, sizes, time
// stamp (MS-DOS format), CRC and name of `header`: header level 1 whose body
// is the old layout with a UNIX extension (OS id 'U', minor version, time,
// mode, uid, gid, all 0); the final gid doubles as the level-1 "no extended
// headers" terminator. The result is name length + 36 bytes long. The name
// must be a bare file name of at most kMaxLzhMemberNameLength bytes.
std::vector<uint8_t> FormatLzhMemberHeader(const LzhHeader& header);

// `time` as an MS-DOS time stamp in local time (2-second resolution),
// clamped to the years 1980-2107 that the format can express.
uint32_t DosTimeStamp(std::time_t time);

}  // namespace luma

#endif  // LUMA_CORE_ARCHIVE_LZH_HEADER_WRITER_H_
