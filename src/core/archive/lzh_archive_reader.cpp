#include "core/archive/lzh_archive_reader.h"

#include <utility>

#include "core/archive/lzh_header_writer.h"

namespace luma {
namespace {

bool IsAscii(std::string_view s) {
  for (const char c : s) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

}  // namespace

Status LzhArchiveReader::OpenImage(std::vector<uint8_t> image, const std::string& path) {
  Status status = archive_.OpenImage(std::move(image), path);
  if (!status.ok()) return status;
  archive_.Rewind();
  for (;;) {
    const size_t position = archive_.image().position();
    if (archive_.ReadNextHeader() != LzhHeaderStep::kMember) break;
    const LzhHeader& header = archive_.current_header();
    ArchiveMember member;
    member.full_name = header.name;
    member.name = archive_.current_name();
    member.size = header.unpacked_size;
    member.packed_size = header.packed_size;
    member.time_stamp = header.time_stamp;
    // Level-2 and level-3 headers keep UNIX time, the others MS-DOS time.
    member.dos_time =
        header.unix_time_stamp() ? DosTimeStamp(header.time_stamp) : header.time_stamp;
    member.is_directory = header.is_directory();
    member.utf8_name = IsAscii(header.name);
    AddMember(std::move(member));
    header_positions_.push_back(position);
  }
  archive_.Rewind();
  return Status::Ok();
}

Result<std::vector<uint8_t>> LzhArchiveReader::ReadMember(size_t index) {
  if (index >= header_positions_.size()) return Status::Error("no such member");
  return archive_.ExtractAt(header_positions_[index]);
}

}  // namespace luma
