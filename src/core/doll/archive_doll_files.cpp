#include "core/doll/archive_doll_files.h"

#include <utility>

#include "core/archive/lzh_header.h"
#include "core/host/text.h"

namespace luma {

Status ArchiveDollFiles::Open(const std::string& path) {
  Status status = archive_.Open(path);
  if (status.ok()) ListMembers();
  return status;
}

Status ArchiveDollFiles::OpenImage(std::vector<uint8_t> image, const std::string& path) {
  Status status = archive_.OpenImage(std::move(image), path);
  if (status.ok()) ListMembers();
  return status;
}

void ArchiveDollFiles::ListMembers() {
  archive_.Rewind();
  for (;;) {
    const size_t position = archive_.image().position();
    if (archive_.ReadNextHeader() != LzhCode::kOk) break;
    if (archive_.current_unpacked_size() == 0) continue;
    DollFileInfo info;
    info.name = archive_.current_name();
    info.full_name = archive_.current_header().name;
    info.size = archive_.current_unpacked_size();
    info.time_stamp = archive_.current_time_stamp();
    by_name_.try_emplace(AsciiLowerCopy(info.name), members_.size());
    members_.push_back(std::move(info));
    header_positions_.push_back(position);
  }
  archive_.Rewind();
}

const DollFileInfo* ArchiveDollFiles::Lookup(std::string_view name) const {
  const auto it = by_name_.find(AsciiLowerCopy(LzhMemberFileName(name)));
  return it == by_name_.end() ? nullptr : &members_[it->second];
}

std::optional<DollFileInfo> ArchiveDollFiles::Find(std::string_view name) {
  const DollFileInfo* member = Lookup(name);
  if (!member) return std::nullopt;
  return *member;
}

Result<std::vector<uint8_t>> ArchiveDollFiles::ReadMember(size_t index) {
  if (index >= members_.size()) return Status::Error("no such member");
  return archive_.ExtractAt(header_positions_[index]);
}

Result<std::vector<uint8_t>> ArchiveDollFiles::Read(std::string_view name) {
  const DollFileInfo* member = Lookup(name);
  if (!member) return Status::Error("not in the archive");
  return ReadMember(static_cast<size_t>(member - members_.data()));
}

}  // namespace luma
