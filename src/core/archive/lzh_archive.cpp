#include "core/archive/lzh_archive.h"

#include <fstream>
#include <limits>
#include <new>

#include "core/archive/crc16.h"
#include "core/archive/lzh_method.h"
#include "core/host/file_io.h"
#include "core/host/text.h"

namespace luma {
namespace {

char FirstUpper(std::string_view name) {
  if (name.empty()) return 0;
  const char c = name[0];
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

Status LzhArchive::Open(const std::string& path) {
  // A file that cannot be opened at all fails quietly; one that fails while
  // it is read gets the message callers show.
  if (!std::ifstream(path, std::ios::binary).is_open()) return Status::Error("");
  Result<std::vector<uint8_t>> bytes = ReadWholeFile(path);
  if (!bytes.ok()) return Status::Error("File not found!");
  return OpenImage(std::move(*bytes), path);
}

Status LzhArchive::OpenImage(std::vector<uint8_t> image, std::string path) {
  path_ = std::move(path);
  is_new_ = false;
  index_.clear();
  current_name_.clear();
  current_header_ = LzhHeader{};
  // Header positions are 32-bit.
  if (image.size() > std::numeric_limits<uint32_t>::max()) image.clear();
  image_ = MemoryFile(std::move(image));
  LzhHeader first;
  if (image_.size() == 0 || !ParseLzhHeader(image_.bytes(), first)) return Status::Error("");
  BuildIndex();
  return Status::Ok();
}

void LzhArchive::BuildIndex() {
  Rewind();
  while (image_.position() < image_.size() && ReadNextHeader() == LzhCode::kOk) {
  }
  Rewind();
}

LzhCode LzhArchive::ReadNextHeader() {
  const size_t position = image_.position();
  // Archives usually end in a single zero byte, but not always.
  if (image_.size() == 0 || position >= image_.size() - 1) return LzhCode::kEndOfArchive;
  LzhHeader header;
  if (!ParseLzhHeader(image_.Remaining(), header)) return LzhCode::kNotFound;
  current_header_ = std::move(header);
  current_name_ = LzhMemberFileName(current_header_.name);
  AddIndexEntry(current_name_, position);
  image_.Seek(position + current_header_.header_length + current_header_.packed_size);
  return LzhCode::kOk;
}

void LzhArchive::AddIndexEntry(std::string_view name, size_t header_position) {
  // Walking the headers again must not list the members twice.
  if (!index_.empty() && index_.back().header_position >= header_position) return;
  index_.push_back({std::string(name), static_cast<uint32_t>(header_position), FirstUpper(name)});
}

LzhCode LzhArchive::FindMember(std::string_view name) {
  const char first = FirstUpper(name);
  for (const LzhIndexEntry& entry : index_) {
    if (entry.first_upper == first && EqualsIgnoreCase(entry.name, name)) {
      image_.Seek(entry.header_position);
      current_name_ = entry.name;
      return LzhCode::kOk;
    }
  }
  // Not a file name of the index: try the full names, directories included.
  Rewind();
  for (;;) {
    const size_t position = image_.position();
    LzhHeader header;
    if (position >= image_.size() || !ParseLzhHeader(image_.Remaining(), header)) {
      return LzhCode::kNotFound;
    }
    if (EqualsIgnoreCase(header.name, name)) {
      image_.Seek(position);
      current_name_ = header.name;
      return LzhCode::kOk;
    }
    image_.Seek(position + header.header_length + header.packed_size);
  }
}

Result<std::vector<uint8_t>> LzhArchive::ExtractToMemory(std::string_view name) {
  if (FindMember(name) != LzhCode::kOk) return Status::Error("not in the archive");
  return ExtractAt(image_.position());
}

Result<std::vector<uint8_t>> LzhArchive::ExtractAt(size_t header_position) {
  const std::span<const uint8_t> bytes = image_.bytes();
  LzhHeader header;
  if (header_position >= bytes.size() || !ParseLzhHeader(bytes.subspan(header_position), header)) {
    return Status::Error("bad header");
  }
  if (header.unpacked_size == 0 || header.packed_size == 0) return Status::Error("no data");
  if (header.unpacked_size > kMaxMemberSize) return Status::Error("member too large");

  const LzhMethodInfo* found = FindLzhMethod(header.method);
  const LzhMethodInfo& method = found ? *found : StoredLzhMethod();
  const size_t data_start = header_position + header.header_length;
  const size_t available = data_start < bytes.size() ? bytes.size() - data_start : 0;
  const std::span<const uint8_t> packed = bytes.subspan(
      std::min(data_start, bytes.size()), std::min<size_t>(header.packed_size, available));

  std::vector<uint8_t> out;
  try {
    if (!method.decode(method, packed, header.unpacked_size, out)) {
      return Status::Error("damaged data");
    }
  } catch (const std::bad_alloc&) {
    return Status::Error("out of memory");
  }
  if (header.has_crc && Crc16(out) != header.crc) return Status::Error("CRC error");
  return out;
}

void LzhArchive::CreateNew(const std::string& path) {
  image_.Clear();
  index_.clear();
  current_name_.clear();
  current_header_ = LzhHeader{};
  path_ = path;
  is_new_ = true;
}

}  // namespace luma
