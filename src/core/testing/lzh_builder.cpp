#include "core/testing/lzh_builder.h"

#include <utility>

#include "core/archive/crc16.h"
#include "core/archive/lzh_header.h"

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
  // Level 2 stores UNIX time.
  Put32(out, level == 2 ? DosTimeToUnix(m.time_stamp) : m.time_stamp);
  out.push_back(0x20);
  out.push_back(static_cast<uint8_t>(level));
}

// The size of the first extended header followed by the extended headers,
// each made of its type, its data and the size of the next (0 after the
// last).
std::vector<uint8_t> ExtensionChain(const LzhTestMember& m, bool with_name) {
  std::vector<std::pair<uint8_t, std::string>> list;
  if (with_name) list.emplace_back(0x01, m.name);
  if (!m.directory.empty()) list.emplace_back(0x02, m.directory);
  list.emplace_back(0x54, std::string(4, '\0'));  // UNIX time, kept only for OS id 'U'
  std::vector<uint8_t> out;
  Put16(out, static_cast<uint32_t>(list[0].second.size() + 3));
  for (size_t i = 0; i < list.size(); ++i) {
    out.push_back(list[i].first);
    out.insert(out.end(), list[i].second.begin(), list[i].second.end());
    Put16(out, i + 1 < list.size() ? static_cast<uint32_t>(list[i + 1].second.size() + 3) : 0);
  }
  return out;
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
  } else if (level == 1) {
    // The extended headers count in the packed size; the chain's leading
    // size word is the last word of the base header.
    const std::vector<uint8_t> chain = ExtensionChain(m, false);
    out.push_back(static_cast<uint8_t>(n + 25));
    out.push_back(0);
    PutCommon(out, m, static_cast<uint32_t>(m.packed.size() + chain.size() - 2), 1);
    out.push_back(static_cast<uint8_t>(n));
    out.insert(out.end(), m.name.begin(), m.name.end());
    Put16(out, m.crc);
    out.push_back(static_cast<uint8_t>(m.os_id));
    out.insert(out.end(), chain.begin(), chain.end());
  } else {
    const std::vector<uint8_t> chain = ExtensionChain(m, true);
    Put16(out, static_cast<uint32_t>(24 + chain.size()));
    PutCommon(out, m, static_cast<uint32_t>(m.packed.size()), 2);
    Put16(out, m.crc);
    out.push_back(static_cast<uint8_t>(m.os_id));
    out.insert(out.end(), chain.begin(), chain.end());
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

}  // namespace luma::testing
