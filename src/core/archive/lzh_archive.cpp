#include "core/archive/lzh_archive.h"

#include <algorithm>
#include <limits>
#include <new>
#include <optional>

#include "core/archive/crc16.h"
#include "core/archive/lzh_archive_start.h"
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

Status LzhArchive::Open(FileSystem& files, const std::string& path) {
  // Callers name the file; the failure says why it could not be read.
  Result<std::unique_ptr<ReadableFile>> file = files.OpenForReading(path);
  if (!file.ok()) return file.status();
  Result<std::vector<uint8_t>> bytes = ReadToEnd(**file, path);
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
  start_ = 0;
  if (image_.size() == 0) return Status::Error("The file is empty.");
  const std::optional<size_t> start = FindLzhArchiveStart(image_.bytes());
  if (!start) {
    // Every LZH member header names its method as "-l??-" from byte 2 on.
    const std::span<const uint8_t> b = image_.bytes();
    const bool method_mark = b.size() >= 7 && b[2] == '-' && b[3] == 'l' && b[6] == '-';
    return Status::Error(method_mark ? "Its first header is damaged, or the file is truncated."
                                     : "It is not an LZH archive.");
  }
  start_ = *start;
  BuildIndex();
  return Status::Ok();
}

void LzhArchive::BuildIndex() {
  Rewind();
  while (image_.position() < image_.size() && ReadNextHeader() == LzhHeaderStep::kMember) {
  }
  Rewind();
}

LzhHeaderStep LzhArchive::ReadNextHeader() {
  const size_t position = image_.position();
  // Archives usually end in a single zero byte, but not always.
  if (image_.size() == 0 || position >= image_.size() - 1) return LzhHeaderStep::kEndOfArchive;
  LzhHeader header;
  if (!ParseLzhHeader(image_.Remaining(), header)) return LzhHeaderStep::kInvalidHeader;
  current_header_ = std::move(header);
  current_name_ = LzhMemberFileName(current_header_.name);
  AddIndexEntry(current_name_, position);
  image_.Seek(position + current_header_.header_length + current_header_.packed_size);
  return LzhHeaderStep::kMember;
}

void LzhArchive::AddIndexEntry(std::string_view name, size_t header_position) {
  // Walking the headers again must not list the members twice.
  if (!index_.empty() && index_.back().header_position >= header_position) return;
  index_.push_back({std::string(name), static_cast<uint32_t>(header_position), FirstUpper(name)});
}

bool LzhArchive::FindMember(std::string_view name) {
  const char first = FirstUpper(name);
  for (const LzhIndexEntry& entry : index_) {
    if (entry.first_upper == first && LzhNamesEqual(entry.name, name)) {
      image_.Seek(entry.header_position);
      current_name_ = entry.name;
      return true;
    }
  }
  // Not a file name of the index: try the full names, directories included.
  Rewind();
  for (;;) {
    const size_t position = image_.position();
    LzhHeader header;
    if (position >= image_.size() || !ParseLzhHeader(image_.Remaining(), header)) {
      return false;
    }
    if (LzhNamesEqual(header.name, name)) {
      image_.Seek(position);
      current_name_ = header.name;
      return true;
    }
    image_.Seek(position + header.header_length + header.packed_size);
  }
}

Result<std::vector<uint8_t>> LzhArchive::ExtractToMemory(std::string_view name) {
  if (!FindMember(name)) return Status::Error("not in the archive");
  return ExtractAt(image_.position());
}

namespace {

// Passes the bytes on, keeping their CRC and noting whether the receiver
// refused them.
class CheckedOutput : public LzhOutput {
 public:
  explicit CheckedOutput(LzhOutput& next) : next_(next) {}

  bool Write(std::span<const uint8_t> bytes) override {
    crc_ = UpdateCrc16(crc_, bytes.data(), bytes.size());
    if (next_.Write(bytes)) return true;
    refused_ = true;
    return false;
  }
  uint16_t crc() const { return crc_; }
  bool refused() const { return refused_; }

 private:
  LzhOutput& next_;
  uint16_t crc_ = 0;
  bool refused_ = false;
};

// LHARK 0.4d writes a -lh7- of its own, unlike LHA's, into level-1 headers
// with a blank OS id.
bool IsLharkMember(const LzhHeader& header) {
  return header.level == 1 && header.os_id == ' ' && EqualsIgnoreCase(header.method, "-lh7-");
}

std::string UnsupportedMethod(std::string_view method) {
  std::string shown(method);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) c = '?';
  }
  return "unsupported method " + shown;
}

}  // namespace

Result<std::vector<uint8_t>> LzhArchive::ExtractAt(size_t header_position) {
  const std::span<const uint8_t> bytes = image_.bytes();
  LzhHeader header;
  if (header_position < bytes.size() && ParseLzhHeader(bytes.subspan(header_position), header) &&
      header.unpacked_size > kMaxMemberSize) {
    // Streaming (ExtractAt with an output) takes any size; in memory the
    // members a doll can use are the limit.
    return Status::Error(StringPrintf("too large for a doll (%u bytes unpacked; at most %u MiB)",
                                      header.unpacked_size, kMaxMemberSize >> 20));
  }
  std::vector<uint8_t> out;
  try {
    // Room for ordinary ratios up front; more arrives as the data proves real.
    out.reserve(std::min<uint32_t>(header.unpacked_size, 1u << 20));
    LzhMemoryOutput memory(out);
    const Status status = ExtractAt(header_position, memory);
    if (!status.ok()) return status;
  } catch (const std::bad_alloc&) {
    return Status::Error("out of memory");
  }
  return out;
}

Status LzhArchive::ExtractAt(size_t header_position, LzhOutput& out) {
  const std::span<const uint8_t> bytes = image_.bytes();
  LzhHeader header;
  if (header_position >= bytes.size() || !ParseLzhHeader(bytes.subspan(header_position), header)) {
    return Status::Error("bad header");
  }
  if (header.unpacked_size == 0 || header.packed_size == 0) return Status::Error("no data");

  // A method we do not know is taken as stored when its sizes allow, so
  // that the CRC decides; packed data it cannot be.
  const LzhMethodInfo* method = FindLzhMethod(header.method);
  if (IsLharkMember(header)) return Status::Error(UnsupportedMethod("-lh7- (LHARK)"));
  if (!method) {
    if (header.packed_size != header.unpacked_size) {
      return Status::Error(UnsupportedMethod(header.method));
    }
    method = &StoredLzhMethod();
  }
  const size_t data_start = header_position + header.header_length;
  const size_t available = data_start < bytes.size() ? bytes.size() - data_start : 0;
  const std::span<const uint8_t> packed = bytes.subspan(
      std::min(data_start, bytes.size()), std::min<size_t>(header.packed_size, available));

  CheckedOutput checked(out);
  if (!method->decode(*method, packed, header.unpacked_size, checked)) {
    return Status::Error(checked.refused() ? "cannot write the member" : "damaged data");
  }
  if (header.has_crc && checked.crc() != header.crc) return Status::Error("CRC error");
  return Status::Ok();
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
