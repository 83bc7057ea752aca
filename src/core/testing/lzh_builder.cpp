#include "core/testing/lzh_builder.h"

#include <algorithm>
#include <cstdint>
#include <utility>

#include "core/archive/crc16.h"
#include "core/archive/lzh_archive.h"
#include "core/archive/lzh_bit_writer.h"
#include "core/archive/lzh_header.h"
#include "core/host/posix_file_system.h"

namespace luma::testing {
namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// Method, sizes, time, attribute and level: offsets 2 to 20 of every level.
void PutCommon(std::vector<uint8_t>& out, const LzhTestMember& m, uint32_t packed_size, int level) {
  out.insert(out.end(), m.method.begin(), m.method.begin() + 5);
  Put32(out, packed_size);
  Put32(out, m.unpacked_size);
  // Levels 2 and 3 store UNIX time.
  Put32(out, level >= 2 ? DosTimeToUnix(m.time_stamp) : m.time_stamp);
  out.push_back(0x20);
  out.push_back(static_cast<uint8_t>(level));
}

void PutSize(std::vector<uint8_t>& out, uint32_t v, size_t width) {
  if (width == 2) {
    Put16(out, v);
  } else {
    Put32(out, v);
  }
}

// The size of the first extended header followed by the extended headers,
// each made of its type, its data and the size of the next (0 after the
// last); sizes take `width` bytes. Levels 2 and 3 lead with a header CRC
// extension, to be filled in by FillHeaderCrc.
std::vector<uint8_t> ExtensionChain(const LzhTestMember& m, int level, size_t width) {
  std::vector<std::pair<uint8_t, std::string>> list;
  if (level >= 2) list.emplace_back(0x00, std::string(2, '\0'));
  if (level >= 2) list.emplace_back(0x01, m.name);
  if (!m.directory.empty()) list.emplace_back(0x02, m.directory);
  list.emplace_back(0x54, std::string(4, '\0'));  // UNIX time, kept only for OS id 'U'
  std::vector<uint8_t> out;
  PutSize(out, static_cast<uint32_t>(list[0].second.size() + 1 + width), width);
  for (size_t i = 0; i < list.size(); ++i) {
    out.push_back(list[i].first);
    out.insert(out.end(), list[i].second.begin(), list[i].second.end());
    PutSize(out,
            i + 1 < list.size() ? static_cast<uint32_t>(list[i + 1].second.size() + 1 + width) : 0,
            width);
  }
  return out;
}

// The header CRC extension's value at `at`: the CRC of the whole header
// while the value is zero.
void FillHeaderCrc(std::vector<uint8_t>& header, size_t at) {
  const uint16_t crc = Crc16(header);
  header[at] = static_cast<uint8_t>(crc);
  header[at + 1] = static_cast<uint8_t>(crc >> 8);
}

// Levels 0 and 1: byte 1 sums the base header after its first two bytes.
void FillChecksum(std::vector<uint8_t>& header) {
  unsigned sum = 0;
  for (size_t i = 2; i < header[0] + 2u; ++i) sum += header[i];
  header[1] = static_cast<uint8_t>(sum);
}

}  // namespace

LzhTestMember StoredTestMember(std::string name, std::string_view content) {
  LzhTestMember m;
  m.name = std::move(name);
  m.packed.assign(content.begin(), content.end());
  m.unpacked_size = static_cast<uint32_t>(content.size());
  m.crc = Crc16(m.packed);
  return m;
}

LzhTestMember SpacesTestMember(std::string name, uint32_t size, std::string method) {
  LzhTestMember m;
  // -lh6- and -lh7- count their position lengths in 5 bits.
  const int position_count_bits = method == "-lh6-" || method == "-lh7-" ? 5 : 4;
  m.method = std::move(method);
  m.name = std::move(name);
  m.unpacked_size = size;
  const std::vector<uint8_t> spaces(1 << 16, ' ');
  for (uint32_t done = 0; done < size;) {
    const uint32_t n = std::min<uint32_t>(size - done, 1 << 16);
    m.crc = UpdateCrc16(m.crc, spaces.data(), n);
    done += n;
  }
  // Each code of a block whose codes are single symbols takes no bits.
  constexpr uint32_t kCodesPerBlock = 65535;
  constexpr uint64_t kBytesPerBlock = uint64_t{kCodesPerBlock} * 256;
  LzhBitWriter bits;
  bits.Start(&m.packed, SIZE_MAX);
  for (uint64_t done = 0; done < size; done += kBytesPerBlock) {
    bits.Put(16, kCodesPerBlock);
    bits.Put(5, 0);  // no code-length code needed
    bits.Put(5, 0);
    bits.Put(9, 0);  // literal/length code: only symbol 509, a match of 256
    bits.Put(9, 509);
    bits.Put(position_count_bits, 0);  // position code: only symbol 0, one byte back
    bits.Put(position_count_bits, 0);
  }
  bits.Flush();
  return m;
}

std::vector<uint8_t> LzhTestMemberBytes(const LzhTestMember& m, int level) {
  std::vector<uint8_t> out;
  const auto n = static_cast<uint32_t>(m.name.size());
  if (level == 0) {
    const uint32_t h = m.with_crc ? n + 22 + (m.os_id ? 1 : 0) : n + 20;
    out.push_back(static_cast<uint8_t>(h));
    out.push_back(0);
    PutCommon(out, m, static_cast<uint32_t>(m.packed.size()), 0);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), m.name.begin(), m.name.end());
    if (m.with_crc) {
      Put16(out, m.crc);
      if (m.os_id) out.push_back(static_cast<uint8_t>(m.os_id));
    }
    FillChecksum(out);
  } else if (level == 1) {
    // The extended headers count in the packed size; the chain's leading
    // size word is the last word of the base header.
    const std::vector<uint8_t> chain = ExtensionChain(m, 1, 2);
    out.push_back(static_cast<uint8_t>(n + 25));
    out.push_back(0);
    PutCommon(out, m, static_cast<uint32_t>(m.packed.size() + chain.size() - 2), 1);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), m.name.begin(), m.name.end());
    Put16(out, m.crc);
    out.push_back(static_cast<uint8_t>(m.os_id));
    out.insert(out.end(), chain.begin(), chain.end());
    FillChecksum(out);
  } else if (level == 2) {
    const std::vector<uint8_t> chain = ExtensionChain(m, 2, 2);
    const auto total = static_cast<uint32_t>(24 + chain.size());
    Put16(out, m.os_id == 'K' ? total - 2 : total);
    PutCommon(out, m, static_cast<uint32_t>(m.packed.size()), 2);
    Put16(out, m.crc);
    out.push_back(static_cast<uint8_t>(m.os_id));
    out.insert(out.end(), chain.begin(), chain.end());
    FillHeaderCrc(out, 27);
  } else {
    const std::vector<uint8_t> chain = ExtensionChain(m, 3, 4);
    Put16(out, 4);
    PutCommon(out, m, static_cast<uint32_t>(m.packed.size()), 3);
    Put16(out, m.crc);
    out.push_back(static_cast<uint8_t>(m.os_id));
    Put32(out, static_cast<uint32_t>(28 + chain.size()));
    out.insert(out.end(), chain.begin(), chain.end());
    FillHeaderCrc(out, 33);
  }
  out.insert(out.end(), m.packed.begin(), m.packed.end());
  return out;
}

std::vector<uint8_t> LzhTestArchive(const std::vector<std::vector<uint8_t>>& members,
                                    bool final_zero) {
  std::vector<uint8_t> out;
  for (const auto& m : members) out.insert(out.end(), m.begin(), m.end());
  if (final_zero) out.push_back(0);
  return out;
}

std::vector<std::string> LzhMemberNames(const std::string& path) {
  std::vector<std::string> names;
  LzhArchive archive;
  PosixFileSystem disk;
  if (!archive.Open(disk, path).ok()) return names;
  for (const LzhIndexEntry& entry : archive.index()) names.push_back(entry.name);
  return names;
}

}  // namespace luma::testing
