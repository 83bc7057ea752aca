#include "core/pools/pool_file.h"

#include <algorithm>
#include <cstring>

#include "core/host/little_endian.h"
#include "core/host/text.h"

namespace luma {
namespace {

// The text of a zero-terminated field, never longer than the field.
std::string FieldText(const uint8_t* field, size_t size) {
  const uint8_t* end = std::find(field, field + size, 0);
  return std::string(reinterpret_cast<const char*>(field), static_cast<size_t>(end - field));
}

// `text` cut to leave room for the zero, then zeros to the end of the field.
void AppendField(std::vector<uint8_t>& out, std::string_view text, size_t size) {
  const size_t length = std::min(text.size(), size - 1);
  out.insert(out.end(), text.begin(), text.begin() + static_cast<ptrdiff_t>(length));
  out.insert(out.end(), size - length, 0);
}

}  // namespace

std::optional<DollIdentity> ParsePoolHeader(std::span<const uint8_t> bytes) {
  if (bytes.size() < kPoolHeaderSize) return std::nullopt;
  DollIdentity identity;
  identity.name = FieldText(bytes.data(), kPoolNameFieldSize);
  identity.size = LoadLe32(bytes.data() + kPoolNameFieldSize);
  identity.checksum = static_cast<int32_t>(LoadLe32(bytes.data() + kPoolNameFieldSize + 4));
  return identity;
}

std::vector<PoolRecord> ParsePoolRecords(std::span<const uint8_t> bytes, size_t offset) {
  std::vector<PoolRecord> records;
  if (offset >= bytes.size()) return records;
  const size_t count = (bytes.size() - offset) / kPoolRecordSize;
  records.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* record = bytes.data() + offset + i * kPoolRecordSize;
    records.push_back({FieldText(record, kValueIdFieldSize),
                       static_cast<int32_t>(LoadLe32(record + kValueIdFieldSize))});
  }
  return records;
}

void AppendPoolHeader(std::vector<uint8_t>& out, const DollIdentity& identity) {
  AppendField(out, identity.name, kPoolNameFieldSize);
  AppendLe32(out, identity.size);
  AppendLe32(out, static_cast<uint32_t>(identity.checksum));
}

void AppendPoolRecord(std::vector<uint8_t>& out, std::string_view id, int32_t value) {
  AppendField(out, id, kValueIdFieldSize);
  AppendLe32(out, static_cast<uint32_t>(value));
}

bool IsPoolIdChar(char c) { return IsAsciiAlpha(c) || IsAsciiDigit(c) || c == '-' || c == '_'; }

bool IsValidPoolId(std::string_view id) {
  return !id.empty() && id.size() <= kPoolIdLength &&
         std::all_of(id.begin(), id.end(), IsPoolIdChar);
}

}  // namespace luma
