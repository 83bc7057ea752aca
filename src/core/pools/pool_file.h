#ifndef LUMA_CORE_POOLS_POOL_FILE_H_
#define LUMA_CORE_POOLS_POOL_FILE_H_

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/pools/doll_identity.h"

namespace luma {

// Value pool files, little-endian. A private pool starts with its doll's
// identity: the name in a 260-byte zero-terminated field, then the CNF size
// (unsigned 32-bit) and checksum (signed 32-bit). Then, and from the start
// of a public pool, come 72-byte records: the value id in a 68-byte
// zero-terminated field and the value as a signed 32-bit number.
inline constexpr size_t kPoolNameFieldSize = 260;
inline constexpr size_t kPoolHeaderSize = 268;
inline constexpr size_t kValueIdFieldSize = 68;
inline constexpr size_t kPoolRecordSize = 72;
// The longest pool name or value id a script can use.
inline constexpr size_t kPoolIdLength = 64;

struct PoolRecord {
  std::string id;
  int32_t value = 0;
};

// The header at the start of `bytes`; nullopt when the file is too short to
// hold one. A name without its terminating zero ends with its field.
std::optional<DollIdentity> ParsePoolHeader(std::span<const uint8_t> bytes);

// The complete records from `offset` on, in file order; a trailing partial
// record is left out.
std::vector<PoolRecord> ParsePoolRecords(std::span<const uint8_t> bytes, size_t offset);

void AppendPoolHeader(std::vector<uint8_t>& out, const DollIdentity& identity);
void AppendPoolRecord(std::vector<uint8_t>& out, std::string_view id, int32_t value);

// Pool names and value ids are 1 to 64 letters, digits, "-" and "_". Pool
// names become file names, so nothing else is ever used for one.
bool IsPoolIdChar(char c);
bool IsValidPoolId(std::string_view id);

}  // namespace luma

#endif  // LUMA_CORE_POOLS_POOL_FILE_H_
