#include "core/archive/lzh_header.h"

#include <algorithm>

#include "core/archive/crc16.h"
#include "core/host/little_endian.h"
#include "core/host/text.h"
#include "core/host/text_encoding.h"

namespace luma {
namespace {

// Extended headers of level 1 lie in the packed data and are bounded by
// nothing but their chain; level 3 counts its header length in 32 bits.
// Both are parsed where they lie, so these limits only stop a damaged chain
// from being walked through a whole archive.
constexpr size_t kMaxLevel1HeaderBytes = 65536;
constexpr size_t kMaxLevel3HeaderBytes = 1u << 20;

// What a parse learns beyond the header's own fields.
struct ParseState {
  std::string directory;
  size_t header_crc_at = 0;  // offset of the header CRC extension's value; 0: none
};

// The fields every level keeps at the same offsets.
void ReadCommonFields(const uint8_t* b, LzhHeader& h) {
  h.header_size = b[0];
  h.method.assign(reinterpret_cast<const char*>(b + 2), 5);
  h.packed_size = LoadLe32(b + 7);
  h.unpacked_size = LoadLe32(b + 11);
  h.time_stamp = LoadLe32(b + 15);
  h.attribute = b[19];
  h.level = b[20];
}

// Amiga archivers store a file comment behind a zero byte in the name.
void SetName(const uint8_t* data, size_t size, LzhHeader& h) {
  const std::string_view field(reinterpret_cast<const char*>(data), size);
  const size_t zero = field.find('\0');
  h.name.assign(field.substr(0, zero));
  if (zero != std::string_view::npos) h.comment.assign(field.substr(zero + 1));
}

// One extended header: its type byte and `size` bytes of data at `at`.
void ApplyExtension(uint8_t type, const uint8_t* data, size_t size, size_t at, LzhHeader& h,
                    ParseState& state) {
  const bool unix_fields = h.os_id == 'U';
  switch (type) {
    case 0x00:
      if (size >= 2) state.header_crc_at = at;
      break;
    case 0x01:
      SetName(data, size, h);
      break;
    case 0x02:
      state.directory.assign(reinterpret_cast<const char*>(data), size);
      for (char& c : state.directory) {
        if (c == '\\' || c == '/' || static_cast<uint8_t>(c) == 0xFF) c = '/';
      }
      break;
    case 0x3F:
      h.comment.assign(reinterpret_cast<const char*>(data), size);
      break;
    case 0x40:
      if ((h.os_id == 'M' || h.os_id == 'H' || h.os_id == 0) && size >= 2) h.attribute = data[0];
      break;
    case 0x50:
      if (unix_fields && size >= 2) h.unix_mode = LoadLe16(data);
      break;
    case 0x51:
      if (unix_fields && size >= 4) {
        h.unix_gid = LoadLe16(data);
        h.unix_uid = LoadLe16(data + 2);
      }
      break;
    case 0x54:
      if (unix_fields && size >= 4) h.unix_time = LoadLe32(data);
      break;
    default:  // user and group names, others: nothing to keep
      break;
  }
}

// Walks a chain of extended headers starting at `at` with the size `next`
// of the first: each is a type byte, its data and the size of the following
// one in `width` bytes (0 ends the chain). Every header must lie below
// `limit`. Returns the offset after the chain, or 0 for a malformed chain.
size_t ReadExtensions(std::span<const uint8_t> in, size_t at, size_t limit, uint32_t next,
                      size_t width, LzhHeader& h, ParseState& state) {
  while (next != 0) {
    if (next < 1 + width || at + next > limit) return 0;
    ApplyExtension(in[at], &in[at + 1], next - 1 - width, at + 1, h, state);
    const uint8_t* after = &in[at + next - width];
    at += next;
    next = width == 2 ? LoadLe16(after) : LoadLe32(after);
  }
  return at;
}

// Japanese archivers write Shift-JIS names, where '\' and ASCII letters
// also occur as the second byte of a double-byte character. Such a byte
// belongs to its character: it is never a separator nor a letter to fold.
TextEncoding NameEncoding(std::string_view name) {
  return GuessTextEncoding(name) == TextEncoding::kShiftJis ? TextEncoding::kShiftJis
                                                            : TextEncoding::kWindows1252;
}

// Replaces every single-byte `from` of `name` by `to`.
void ReplaceSeparator(std::string& name, char from, char to, TextEncoding encoding) {
  for (size_t i = 0; i < name.size(); i += CharacterLength(name, i, encoding)) {
    if (name[i] == from) name[i] = to;
  }
}

// Names are stored the way the writing system spells them: MS-DOS archivers
// use '\' and upper case, Macintosh ones ':' for '/'.
void ConvertName(LzhHeader& h) {
  std::string& name = h.name;
  const TextEncoding encoding = NameEncoding(name);
  switch (h.os_id) {
    case 'M':
      ReplaceSeparator(name, '\\', '/', encoding);
      name = FoldNameCase(name, encoding);
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
      ReplaceSeparator(name, '\\', '/', encoding);
      bool has_lower = false;
      for (size_t i = 0; i < name.size(); i += CharacterLength(name, i, encoding)) {
        has_lower = has_lower || (name[i] >= 'a' && name[i] <= 'z');
      }
      if (!has_lower) name = FoldNameCase(name, encoding);
      break;
    }
  }
}

// Directory and name with exactly one '/' between them: some archivers end
// the directory with a separator, Amiga ones do not. A directory entry has
// no name and ends in '/'.
void JoinDirectory(LzhHeader& h, std::string directory) {
  if (directory.empty()) return;
  while (!directory.empty() && directory.back() == '/') directory.pop_back();
  h.name.insert(0, directory + "/");
}

bool ParseLevel0(std::span<const uint8_t> in, unsigned h, LzhHeader& out) {
  const uint8_t* b = in.data();
  const unsigned n = b[21];
  int rest = static_cast<int>(h) - static_cast<int>(n) - 22;
  // Two bytes short of a CRC is an old header without one; anything else
  // short means the name runs past the header.
  if (rest < -2 || rest == -1) return false;
  SetName(b + 22, n, out);
  if (rest >= 0) {
    out.has_crc = true;
    out.crc = LoadLe16(b + 22 + n);
    if (rest >= 1) {
      out.os_id = static_cast<char>(b[24 + n]);
      --rest;
      if (out.os_id == 'U') {
        if (rest >= 11) {
          const uint8_t* u = b + 25 + n;
          out.unix_minor = u[0];
          out.unix_time = LoadLe32(u + 1);
          out.unix_mode = LoadLe16(u + 5);
          out.unix_uid = LoadLe16(u + 7);
          out.unix_gid = LoadLe16(u + 9);
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

bool ParseLevel1(std::span<const uint8_t> in, unsigned h, LzhHeader& out, ParseState& state) {
  const uint8_t* b = in.data();
  const unsigned n = b[21];
  if (h < n + 25) return false;  // name, CRC and OS id must fit
  SetName(b + 22, n, out);
  out.has_crc = true;
  out.crc = LoadLe16(b + 22 + n);
  out.os_id = static_cast<char>(b[24 + n]);

  // Extended headers follow the base header and are counted in the packed
  // size.
  const size_t limit = std::min(in.size(), kMaxLevel1HeaderBytes);
  const size_t end = ReadExtensions(in, h + 2, limit, LoadLe16(b + h), 2, out, state);
  if (end == 0) return false;
  const size_t extensions = end - (h + 2);
  if (extensions > out.packed_size) return false;
  out.packed_size -= static_cast<uint32_t>(extensions);
  out.header_length = end;
  ConvertName(out);
  JoinDirectory(out, std::move(state.directory));
  return true;
}

// Level 2 keeps everything, extended headers included, inside a header whose
// 16-bit length comes first.
bool ParseLevel2(std::span<const uint8_t> in, LzhHeader& out, ParseState& state) {
  const uint8_t* b = in.data();
  out.has_crc = true;
  out.crc = LoadLe16(b + 21);
  out.os_id = static_cast<char>(b[23]);
  size_t total = LoadLe16(b);
  // OS-9/68K LHA counts the header without its own length field.
  if (out.os_id == 'K') total += 2;
  if (total < 26 || total > in.size()) return false;
  if (ReadExtensions(in, 26, total, LoadLe16(b + 24), 2, out, state) == 0) return false;
  out.header_length = total;
  ConvertName(out);
  JoinDirectory(out, std::move(state.directory));
  return true;
}

// Level 3 is level 2 with 32-bit lengths: a word size of 4 comes first, the
// header length follows the OS id, and extended-header sizes take 4 bytes.
bool ParseLevel3(std::span<const uint8_t> in, LzhHeader& out, ParseState& state) {
  const uint8_t* b = in.data();
  if (in.size() < 32 || LoadLe16(b) != 4) return false;
  out.has_crc = true;
  out.crc = LoadLe16(b + 21);
  out.os_id = static_cast<char>(b[23]);
  const size_t total = LoadLe32(b + 24);
  if (total < 32 || total > kMaxLevel3HeaderBytes || total > in.size()) return false;
  if (ReadExtensions(in, 32, total, LoadLe32(b + 28), 4, out, state) == 0) return false;
  out.header_length = total;
  ConvertName(out);
  JoinDirectory(out, std::move(state.directory));
  return true;
}

bool Parse(std::span<const uint8_t> in, LzhHeader& out, ParseState& state) {
  out = LzhHeader{};
  // The shortest header there is: level 0 with an empty name and no CRC.
  if (in.size() < 22) return false;
  // Every method id has the form "-xxx-"; this also keeps a program or
  // other data that merely happens to start with a plausible size byte from
  // passing for a member.
  if (in[2] != '-' || in[6] != '-') return false;
  ReadCommonFields(in.data(), out);
  if (out.level == 2) return ParseLevel2(in, out, state);
  if (out.level == 3) return ParseLevel3(in, out, state);
  const unsigned h = in[0];
  if (h < 10 || h > 100 || in.size() < h + 2) return false;
  if (out.level == 0) return ParseLevel0(in, h, out);
  if (out.level == 1) return ParseLevel1(in, h, out, state);
  return false;
}

}  // namespace

bool LzhHeader::is_directory() const {
  if (EqualsIgnoreCase(method, "-lhd-")) return true;
  return unpacked_size == 0 && !name.empty() && name.back() == '/';
}

bool ParseLzhHeader(std::span<const uint8_t> in, LzhHeader& out) {
  ParseState state;
  return Parse(in, out, state);
}

bool IsVerifiedLzhHeader(std::span<const uint8_t> in) {
  LzhHeader header;
  ParseState state;
  if (!Parse(in, header, state)) return false;
  if (header.level <= 1) {
    // The checksum byte sums the base header after the first two bytes.
    const size_t h = in[0];
    unsigned sum = 0;
    for (size_t i = 2; i < h + 2; ++i) sum += in[i];
    if (static_cast<uint8_t>(sum) == in[1]) return true;
  }
  if (state.header_crc_at == 0) return false;
  // The CRC covers the whole header with its own value taken as zero.
  const size_t at = state.header_crc_at;
  const uint16_t stored = LoadLe16(&in[at]);
  const uint8_t zero[2] = {0, 0};
  uint16_t crc = UpdateCrc16(0, in.data(), at);
  crc = UpdateCrc16(crc, zero, 2);
  crc = UpdateCrc16(crc, &in[at + 2], header.header_length - at - 2);
  return crc == stored;
}

std::string_view LzhMemberFileName(std::string_view name) {
  const TextEncoding encoding = NameEncoding(name);
  size_t start = 0;
  for (size_t i = 0; i < name.size(); i += CharacterLength(name, i, encoding)) {
    if (name[i] == '/' || name[i] == '\\' || name[i] == ':') start = i + 1;
  }
  return name.substr(start);
}

bool LzhNamesEqual(std::string_view a, std::string_view b) {
  const TextEncoding encoding =
      NameEncoding(a) == TextEncoding::kShiftJis ? TextEncoding::kShiftJis : NameEncoding(b);
  return NamesEqual(a, b, encoding);
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
