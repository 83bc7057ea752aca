#include "core/doll/archive_doll_files.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "core/archive/lzh_header.h"
#include "core/archive/open_archive.h"
#include "core/host/text.h"
#include "core/model/messages.h"

namespace luma {

Status ArchiveDollFiles::Open(FileSystem& files, const std::string& path) {
  Result<std::unique_ptr<ArchiveReader>> reader = OpenArchive(files, path);
  if (!reader.ok()) return reader.status();
  reader_ = std::move(*reader);
  ListMembers();
  return Status::Ok();
}

Status ArchiveDollFiles::OpenImage(std::vector<uint8_t> image, const std::string& path) {
  Result<std::unique_ptr<ArchiveReader>> reader = OpenArchiveImage(std::move(image), path);
  if (!reader.ok()) return reader.status();
  reader_ = std::move(*reader);
  ListMembers();
  return Status::Ok();
}

void ArchiveDollFiles::ListMembers() {
  const std::vector<ArchiveMember>& members = reader_->members();
  for (size_t i = 0; i < members.size(); ++i) {
    const ArchiveMember& member = members[i];
    if (member.size == 0 || member.is_directory) continue;
    DollFileInfo info;
    info.name = member.name;
    info.full_name = member.full_name;
    info.size = static_cast<uint32_t>(
        std::min<uint64_t>(member.size, std::numeric_limits<uint32_t>::max()));
    info.time_stamp = member.time_stamp;
    info.utf8_name = member.utf8_name;
    members_.push_back(std::move(info));
    reader_index_.push_back(i);
  }
  IndexNames();
}

void ArchiveDollFiles::IndexNames() {
  by_name_.clear();
  for (size_t i = 0; i < members_.size(); ++i) {
    by_name_.try_emplace(FoldNameCase(members_[i].name, name_encoding_), i);
  }
}

void ArchiveDollFiles::SetNameEncoding(TextEncoding encoding) {
  if (encoding == name_encoding_) return;
  name_encoding_ = encoding;
  IndexNames();
}

const DollFileInfo* ArchiveDollFiles::Lookup(std::string_view name) const {
  // The name as the CNF writes it first: a ZIP member's name may hold a
  // "\" that is part of a character, not a separator.
  auto it = by_name_.find(FoldNameCase(name, name_encoding_));
  if (it == by_name_.end()) {
    it = by_name_.find(FoldNameCase(LzhMemberFileName(name), name_encoding_));
  }
  return it == by_name_.end() ? nullptr : &members_[it->second];
}

std::optional<DollFileInfo> ArchiveDollFiles::Find(std::string_view name) {
  const DollFileInfo* member = Lookup(name);
  if (!member) return std::nullopt;
  return *member;
}

Result<std::vector<uint8_t>> ArchiveDollFiles::ReadMember(size_t index) {
  if (index >= members_.size()) return Status::Error("no such member");
  return reader_->ReadMember(reader_index_[index]);
}

Result<std::vector<uint8_t>> ArchiveDollFiles::Read(std::string_view name) {
  const DollFileInfo* member = Lookup(name);
  if (!member) return Status::Error("not in the archive");
  return ReadMember(static_cast<size_t>(member - members_.data()));
}

bool ArchiveDollFiles::is_zip() const { return std::string_view(format_name()) == "ZIP"; }

std::string ArchiveDollFiles::NotFoundText(std::string_view name) const {
  return FormatMessage(is_zip() ? kMsgNotInZip : kMsgNotInArchive, name);
}

std::string ArchiveDollFiles::UnreadableText(std::string_view name, const Status& failure,
                                             bool for_script) const {
  // LZH dolls keep the classic texts for damaged members; a member too large
  // for a doll is no damage and says so, as every ZIP failure says why.
  const DollFileInfo* member = Lookup(name);
  const bool too_large = member && member->size > kMaxArchiveMemberSize;
  if (!is_zip() && !too_large) {
    return FormatMessage(for_script ? kMsgFkissExtractFailed : kMsgNotInArchive, name);
  }
  if (for_script) {
    return FormatMessage(kMsgFkissExtractFailedBecause, name, format_name(), failure.message());
  }
  return std::string(name) + ": " + failure.message() + "\n";
}

std::string UnmarkedMemberNames(const std::vector<DollFileInfo>& members) {
  std::string text;
  for (const DollFileInfo& member : members) {
    if (member.utf8_name) continue;
    text += member.full_name;
    text += '\n';
  }
  return text;
}

TextEncoding MemberNameEncoding(const std::vector<DollFileInfo>& members) {
  return GuessTextEncoding(UnmarkedMemberNames(members));
}

std::string DecodeMemberName(std::string_view name, bool utf8_name, TextEncoding encoding) {
  return DecodeText(name, utf8_name ? TextEncoding::kUtf8 : encoding);
}

}  // namespace luma
