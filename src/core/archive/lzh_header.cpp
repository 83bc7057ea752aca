#include "core/archive/lzh_header.h"

#include <algorithm>

#include "core/host/text.h"

namespace luma {
namespace {

// Level-1 headers with their extended headers, and level-2 headers, must fit
// in this many bytes.
constexpr size_t kMaxHeaderBytes = 4096;

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Dword(const uint8_t* p) { return Word(p) | static_cast<uint32_t>(Word(p + 2)) << 16; }

// The fields every level keeps at the same offsets.
void ReadCommonFields(const uint8_t* b, LzhHeader& h) {
  h.header_size = b[0];
  h.method.assign(reinterpret_cast<const char*>(b + 2), 5);
  h.packed_size = Dword(b + 7);
  h.unpacked_size = Dword(b + 11);
  h.time_stamp = Dword(b + 15);
  h.attribute = b[19];
  h.level = b[20];
}

// One extended header: its type byte and `size` bytes of data.
void ApplyExtension(uint8_t type, const uint8_t* data, size_t size, LzhHeader& h,
                    std::string& directory) {
  const bool unix_fields = h.os_id == 'U';
  switch (type) {
    case 0x01:
      h.name.assign(reinterpret_cast<const char*>(data), size);
      break;
    case 0x02:
      directory.assign(reinterpret_cast<const char*>(data), size);
      for (char& c : directory) {
        if (c == '\\' || c == '/' || static_cast<uint8_t>(c) == 0xFF) c = '/';
      }
      break;
    case 0x40:
      if ((h.os_id == 'M' || h.os_id == 'H' || h.os_id == 0) && size >= 2) h.attribute = data[0];
      break;
    case 0x50:
      if (unix_fields && size >= 2) h.unix_mode = Word(data);
      break;
    case 0x51:
      if (unix_fields && size >= 4) {
        h.unix_gid = Word(data);
        h.unix_uid = Word(data + 2);
      }
      break;
    case 0x54:
      if (unix_fields && size >= 4) h.unix_time = Dword(data);
      break;
    default:  // header CRC, user and group names, others: nothing to keep
      break;
  }
}

// Names are stored the way the writing system spells them: MS-DOS archivers
// use '\' and upper case, Macintosh ones ':' for '/'.
void ConvertName(LzhHeader& h) {
  std::string& name = h.name;
  switch (h.os_id) {
    case 'M':
      std::replace(name.begin(), name.end(), '\\', '/');
      for (char& c : name) c = AsciiLower(c);
      break;
    case 'H':
    case 'U':
      break;
    case 'm':
      for (char& c : name) {
        if (c == ':') {
          c = '/';
        } else if (c == '/') {
          c = ':';
        }
      }
      break;
    default: {
      std::replace(name.begin(), name.end(), '\\', '/');
      const bool has_lower =
          std::any_of(name.begin(), name.end(), [](char c) { return c >= 'a' && c <= 'z'; });
      if (!has_lower) {
        for (char& c : name) c = AsciiLower(c);
      }
      break;
    }
  }
}

bool ParseLevel0(std::span<const uint8_t> in, unsigned h, LzhHeader& out) {
  const uint8_t* b = in.data();
  const unsigned n = b[21];
  int rest = static_cast<int>(h) - static_cast<int>(n) - 22;
  // Two bytes short of a CRC is an old header without one; anything else
  // short means the name runs past the header.
  if (rest < -2 || rest == -1) return false;
  out.name.assign(reinterpret_cast<const char*>(b + 22), n);
  if (rest >= 0) {
    out.has_crc = true;
    out.crc = Word(b + 22 + n);
    if (rest >= 1) {
      out.os_id = static_cast<char>(b[24 + n]);
      --rest;
      if (out.os_id == 'U') {
        if (rest >= 11) {
          const uint8_t* u = b + 25 + n;
          out.unix_minor = u[0];
          out.unix_time = Dword(u + 1);
          out.unix_mode = Word(u + 5);
          out.unix_uid = Word(u + 7);
          out.unix_gid = Word(u + 9);
        } else {
          out.os_id = 0;
        }
      }
    }
  }
  out.header_length = h + 2;
  if (out.os_id != 'U') ConvertName(out);
  return true;
}

bool ParseLevel1(std::span<const uint8_t> in, unsigned h, LzhHeader& out) {
  const uint8_t* b = in.data();
  const unsigned n = b[21];
  if (h < n + 25) return false;  // name, CRC and OS id must fit
  out.name.assign(reinterpret_cast<const char*>(b + 22), n);
  out.has_crc = true;
  out.crc = Word(b + 22 + n);
  out.os_id = static_cast<char>(b[24 + n]);

  // Extended headers follow the base header and are counted in the packed
  // size; each ends with the size of the next.
  std::string directory;
  size_t at = h + 2;
  unsigned next = Word(b + h);
  while (next != 0) {
    if (next < 3 || at + next > kMaxHeaderBytes || at + next > in.size()) return false;
    ApplyExtension(in[at], &in[at + 1], next - 3, out, directory);
    const unsigned size = next;
    next = Word(&in[at + size - 2]);
    at += size;
  }
  const size_t extensions = at - (h + 2);
  if (extensions > out.packed_size) return false;
  out.packed_size -= static_cast<uint32_t>(extensions);
  out.header_length = at;
  ConvertName(out);
  out.name.insert(0, directory);
  return true;
}

// Level 2 keeps everything, extended headers included, inside a header whose
// 16-bit length comes first.
bool ParseLevel2(std::span<const uint8_t> in, LzhHeader& out) {
  const uint8_t* b = in.data();
  const size_t total = Word(b);
  if (total < 26 || total > kMaxHeaderBytes || total > in.size()) return false;
  out.has_crc = true;
  out.crc = Word(b + 21);
  out.os_id = static_cast<char>(b[23]);
  std::string directory;
  size_t at = 26;
  unsigned next = Word(b + 24);
  while (next != 0) {
    if (next < 3 || at + next > total) return false;
    ApplyExtension(b[at], b + at + 1, next - 3, out, directory);
    const unsigned size = next;
    next = Word(b + at + size - 2);
    at += size;
  }
  out.header_length = total;
  ConvertName(out);
  out.name.insert(0, directory);
  return true;
}

}  // namespace

bool ParseLzhHeader(std::span<const uint8_t> in, LzhHeader& out) {
  out = LzhHeader{};
  // The shortest header there is: level 0 with an empty name and no CRC.
  if (in.size() < 22) return false;
  // Every method id has the form "-xxx-"; this also keeps a program or
  // other data that merely happens to start with a plausible size byte from
  // passing for a member.
  if (in[2] != '-' || in[6] != '-') return false;
  ReadCommonFields(in.data(), out);
  if (out.level == 2) return ParseLevel2(in, out);
  const unsigned h = in[0];
  if (h < 10 || h > 100 || in.size() < h + 2) return false;
  if (out.level == 0) return ParseLevel0(in, h, out);
  if (out.level == 1) return ParseLevel1(in, h, out);
  return false;
}

std::string_view LzhMemberFileName(std::string_view name) {
  std::string_view file = FileNamePart(name);
  const size_t colon = file.rfind(':');
  if (colon != std::string_view::npos) file.remove_prefix(colon + 1);
  return file;
}

uint32_t DosTimeToUnix(uint32_t dos_time) {
  if (dos_time == 0) return 0;
  const int64_t year = 1980 + (dos_time >> 25);
  const int64_t month = std::clamp<int64_t>((dos_time >> 21) & 0x0F, 1, 12);
  const int64_t day = (dos_time >> 16) & 0x1F;
  const int64_t hour = (dos_time >> 11) & 0x1F;
  const int64_t minute = (dos_time >> 5) & 0x3F;
  const int64_t second = (dos_time & 0x1F) * 2;
  // Days since 1970-01-01 of a proleptic Gregorian date (March-based year).
  const int64_t y = month <= 2 ? year - 1 : year;
  const int64_t era = y / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  const int64_t days = era * 146097 + doe - 719468;
  const int64_t seconds = days * 86400 + hour * 3600 + minute * 60 + second;
  return static_cast<uint32_t>(std::clamp<int64_t>(seconds, 0, UINT32_MAX));
}

}  // namespace luma
