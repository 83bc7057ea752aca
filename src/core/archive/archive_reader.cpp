#include "core/archive/archive_reader.h"

#include <utility>

#include "core/host/text.h"

namespace luma {

void ArchiveReader::AddMember(ArchiveMember member) {
  by_name_.try_emplace(AsciiLowerCopy(member.name), members_.size());
  members_.push_back(std::move(member));
}

std::optional<size_t> ArchiveReader::Find(std::string_view name) const {
  if (const auto it = by_name_.find(AsciiLowerCopy(name)); it != by_name_.end()) {
    return it->second;
  }
  for (size_t i = 0; i < members_.size(); ++i) {
    if (EqualsIgnoreCase(members_[i].full_name, name)) return i;
  }
  return std::nullopt;
}

Result<std::vector<uint8_t>> ArchiveReader::Read(std::string_view name) {
  const std::optional<size_t> index = Find(name);
  if (!index) return Status::Error("not in the archive");
  return ReadMember(*index);
}

}  // namespace luma
