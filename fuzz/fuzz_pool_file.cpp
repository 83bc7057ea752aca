// Value pool files from outside (another program's, or a damaged disk):
// reading must stay inside the file, and saving or deleting one value must
// keep every other value that could be read before.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/host/file_io.h"
#include "core/host/memory_file_system.h"
#include "core/host/text.h"
#include "core/pools/doll_identity.h"
#include "core/pools/pool_file.h"
#include "core/pools/value_pool.h"

namespace {

// The value a loader sees for each readable id: the first record's.
std::map<std::string, int32_t> Readable(std::span<const uint8_t> bytes, size_t offset) {
  std::map<std::string, int32_t> values;
  for (const luma::PoolRecord& record : luma::ParsePoolRecords(bytes, offset)) {
    if (!luma::IsValidPoolId(record.id)) continue;
    values.emplace(luma::AsciiLowerCopy(record.id), record.value);
  }
  return values;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  // The first byte picks the pool kind and the value id to work on.
  const bool is_private = data[0] & 1;
  const std::string id = (data[0] & 2) ? "a" : "score";
  const std::span<const uint8_t> file(data + 1, size - 1);
  const size_t offset = is_private ? luma::kPoolHeaderSize : 0;

  if (is_private) {
    const std::optional<luma::DollIdentity> header = luma::ParsePoolHeader(file);
    Check(header.has_value() == (file.size() >= luma::kPoolHeaderSize));
    if (header) Check(header->name.size() < luma::kPoolNameFieldSize + 1);
  }
  const std::map<std::string, int32_t> before =
      file.size() >= offset ? Readable(file, offset) : std::map<std::string, int32_t>{};

  // In memory: the pool's logic is under test, not the disk.
  luma::MemoryFileSystem files;
  const std::string path = "/fuzz.pool";
  if (!luma::ReplaceFile(files, path, file).ok()) return 0;
  std::optional<luma::DollIdentity> identity;
  if (is_private) identity = luma::DollIdentity{"doll.cnf", 1, 2};
  luma::ValuePool pool(files, path, identity);

  for (const auto& [key, value] : before) Check(pool.Load(key) == value);

  Check(pool.Save(id, 12345).ok());
  Check(pool.Load(id) == 12345);
  for (const auto& [key, value] : before) {
    if (!luma::EqualsIgnoreCase(key, id)) Check(pool.Load(key) == value);
  }

  pool.Delete(id);
  Check(!pool.Load(id).has_value());
  for (const auto& [key, value] : before) {
    if (!luma::EqualsIgnoreCase(key, id)) Check(pool.Load(key) == value);
  }
  return 0;
}
