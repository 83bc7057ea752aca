#ifndef LUMA_CORE_POOLS_VALUE_POOL_H_
#define LUMA_CORE_POOLS_VALUE_POOL_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/host/file_system.h"
#include "core/host/status.h"
#include "core/pools/doll_identity.h"

namespace luma {

// One value pool file: named integers that outlast the script that saved
// them. A private pool (made with its doll's identity) keeps that identity
// in front of its records; a public pool holds records only. Value ids
// compare ignoring case.
//
// A value overwritten in place or appended is one small write at a record
// boundary; anything that shortens the file or changes its header writes a
// fresh copy and renames it over the old one, so a failure part-way never
// costs the values already stored. Damaged files read safely: only complete
// records count.
class ValuePool {
 public:
  // What Delete did to the file.
  enum class Deleted { kNothing, kRewritten, kRemoved, kFailed };

  // `files` must outlive the pool.
  ValuePool(FileSystem& files, std::string path, std::optional<DollIdentity> identity)
      : files_(files), path_(std::move(path)), identity_(std::move(identity)) {}

  const std::string& path() const { return path_; }
  bool is_private() const { return identity_.has_value(); }

  // The value of the first record with `id`; nullopt when the file or the
  // record is missing or unreadable.
  std::optional<int32_t> Load(std::string_view id) const;
  // Overwrites the first record with `id`, or appends one; a missing file is
  // created, a private one with its header first.
  Status Save(std::string_view id, int32_t value);
  // Drops every record with `id`. The file goes when no record is left.
  Deleted Delete(std::string_view id);

  // The identity stored in the file, nullopt when it holds none.
  std::optional<DollIdentity> ReadHeader() const;
  // Stores this pool's identity in the file's header, keeping its records;
  // does not write when the header already says the same.
  Status RewriteHeader();

 private:
  size_t records_offset() const;
  Status Create(std::string_view id, int32_t value);

  FileSystem& files_;
  std::string path_;
  std::optional<DollIdentity> identity_;
};

}  // namespace luma

#endif  // LUMA_CORE_POOLS_VALUE_POOL_H_
