#include "core/archive/lzh_header_writer.h"

#include <algorithm>

#include "core/host/little_endian.h"

namespace luma {
namespace {

void Put8(std::vector<uint8_t>* out, uint32_t v) { out->push_back(static_cast<uint8_t>(v)); }
void Put16(std::vector<uint8_t>* out, uint32_t v) { AppendLe16(*out, static_cast<uint16_t>(v)); }
void Put32(std::vector<uint8_t>* out, uint32_t v) { AppendLe32(*out, v); }

}  // namespace

std::string_view LzhMemberName(std::string_view path) {
  const size_t cut = path.find_last_of(std::string_view("/\\\xFF", 3));
  return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::vector<uint8_t> FormatLzhMemberHeader(const LzhHeader& header) {
  constexpr uint8_t kMsDosArchiveAttribute = 0x20;
  const size_t n = std::min(header.name.size(), kMaxLzhMemberNameLength);
  std::vector<uint8_t> out;
  out.reserve(n + 36);
  Put8(&out, static_cast<uint32_t>(n + 34));
  Put8(&out, 0);  // checksum, filled in below
  std::string method = header.method;
  method.resize(5, ' ');
  out.insert(out.end(), method.begin(), method.end());
  Put32(&out, header.packed_size);
  Put32(&out, header.unpacked_size);
  Put32(&out, header.time_stamp);
  Put8(&out, kMsDosArchiveAttribute);
  Put8(&out, 1);  // header level
  Put8(&out, static_cast<uint32_t>(n));
  out.insert(out.end(), header.name.begin(), header.name.begin() + static_cast<ptrdiff_t>(n));
  Put16(&out, header.crc);
  Put8(&out, 'U');
  Put8(&out, 0);   // UNIX extension version
  Put32(&out, 0);  // UNIX time
  Put16(&out, 0);  // mode
  Put16(&out, 0);  // uid
  Put16(&out, 0);  // gid; also the empty extended-header list of level 1
  uint8_t sum = 0;
  for (size_t i = 2; i < out.size(); ++i) sum = static_cast<uint8_t>(sum + out[i]);
  out[1] = sum;
  return out;
}

uint32_t DosTimeStamp(std::time_t time) {
  std::tm local{};
  if (::localtime_r(&time, &local) == nullptr) return 0;
  if (local.tm_year < 80) return (1u << 21) | (1u << 16);  // 1980-01-01 00:00:00
  if (local.tm_year > 207) return 0xFF9FBF7Du;             // 2107-12-31 23:59:58
  return (static_cast<uint32_t>(local.tm_year - 80) << 25) |
         (static_cast<uint32_t>(local.tm_mon + 1) << 21) |
         (static_cast<uint32_t>(local.tm_mday) << 16) |
         (static_cast<uint32_t>(local.tm_hour) << 11) | (static_cast<uint32_t>(local.tm_min) << 5) |
         (static_cast<uint32_t>(local.tm_sec) / 2);
}

}  // namespace luma
