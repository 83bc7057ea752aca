#include "core/pools/value_pool.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "core/host/file_io.h"
#include "core/host/text.h"
#include "core/pools/pool_file.h"

namespace luma {
namespace {

// Far beyond what any script fills; a bigger file is not a pool.
constexpr size_t kMaxPoolFileSize = 64 << 20;

bool FileMissing(FileSystem& files, const std::string& path) {
  const Result<FileStatus> status = files.Stat(path);
  return status.ok() && !status->exists();
}

Result<std::vector<uint8_t>> ReadPool(FileSystem& files, const std::string& path) {
  return ReadWholeFile(files, path, kMaxPoolFileSize);
}

// Writes `bytes` at `offset` of an existing file.
Status WriteAt(FileSystem& files, const std::string& path, const std::vector<uint8_t>& bytes,
               size_t offset) {
  Result<std::unique_ptr<WritableFile>> file = files.OpenForWriting(path);
  if (!file.ok()) return Status::Error("cannot open " + path);
  const Status written = (*file)->WriteAt(offset, bytes);
  const Status closed = (*file)->Close();
  return written.ok() && closed.ok() ? Status::Ok() : Status::Error("cannot write " + path);
}

}  // namespace

size_t ValuePool::records_offset() const { return identity_ ? kPoolHeaderSize : 0; }

std::optional<int32_t> ValuePool::Load(std::string_view id) const {
  if (!IsValidPoolId(id)) return std::nullopt;
  Result<std::vector<uint8_t>> bytes = ReadPool(files_, path_);
  if (!bytes.ok()) return std::nullopt;
  for (const PoolRecord& record : ParsePoolRecords(*bytes, records_offset())) {
    if (EqualsIgnoreCase(record.id, id)) return record.value;
  }
  return std::nullopt;
}

Status ValuePool::Create(std::string_view id, int32_t value) {
  std::vector<uint8_t> bytes;
  if (identity_) AppendPoolHeader(bytes, *identity_);
  AppendPoolRecord(bytes, id, value);
  return ReplaceFile(files_, path_, bytes);
}

Status ValuePool::Save(std::string_view id, int32_t value) {
  if (!IsValidPoolId(id)) return Status::Error("invalid value id");
  if (FileMissing(files_, path_)) return Create(id, value);
  Result<std::vector<uint8_t>> bytes = ReadPool(files_, path_);
  if (!bytes.ok()) return bytes.status();
  // A private file too short for its header holds nothing to keep.
  if (bytes->size() < records_offset()) return Create(id, value);
  const std::vector<PoolRecord> records = ParsePoolRecords(*bytes, records_offset());
  size_t index = 0;
  while (index < records.size() && !EqualsIgnoreCase(records[index].id, id)) ++index;
  // A new record goes after the last complete one, over any torn remains.
  std::vector<uint8_t> record;
  AppendPoolRecord(record, id, value);
  return WriteAt(files_, path_, record, records_offset() + index * kPoolRecordSize);
}

ValuePool::Deleted ValuePool::Delete(std::string_view id) {
  Result<std::vector<uint8_t>> bytes = ReadPool(files_, path_);
  if (!bytes.ok()) return Deleted::kNothing;
  std::vector<PoolRecord> records = ParsePoolRecords(*bytes, records_offset());
  const size_t before = records.size();
  std::erase_if(records, [&](const PoolRecord& r) { return EqualsIgnoreCase(r.id, id); });
  if (records.size() == before) return Deleted::kNothing;
  if (records.empty()) {
    return files_.Remove(path_).ok() || FileMissing(files_, path_) ? Deleted::kRemoved
                                                                   : Deleted::kFailed;
  }
  std::vector<uint8_t> out;
  out.reserve(records_offset() + records.size() * kPoolRecordSize);
  if (identity_) AppendPoolHeader(out, *identity_);
  for (const PoolRecord& record : records) AppendPoolRecord(out, record.id, record.value);
  return ReplaceFile(files_, path_, out).ok() ? Deleted::kRewritten : Deleted::kFailed;
}

std::optional<DollIdentity> ValuePool::ReadHeader() const {
  Result<std::vector<uint8_t>> bytes = ReadPool(files_, path_);
  if (!bytes.ok()) return std::nullopt;
  return ParsePoolHeader(*bytes);
}

Status ValuePool::RewriteHeader() {
  if (!identity_) return Status::Error("a public pool has no header");
  Result<std::vector<uint8_t>> bytes = ReadPool(files_, path_);
  if (!bytes.ok()) return bytes.status();
  if (bytes->size() < kPoolHeaderSize) return Status::Error("no pool header in " + path_);
  std::vector<uint8_t> header;
  AppendPoolHeader(header, *identity_);
  if (std::equal(header.begin(), header.end(), bytes->begin())) return Status::Ok();
  std::copy(header.begin(), header.end(), bytes->begin());
  return ReplaceFile(files_, path_, *bytes);
}

}  // namespace luma
