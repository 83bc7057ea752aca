#ifndef LUMA_CORE_DOLL_ARCHIVE_DOLL_FILES_H_
#define LUMA_CORE_DOLL_ARCHIVE_DOLL_FILES_H_

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/archive/archive_reader.h"
#include "core/doll/doll_files.h"

namespace luma {

// The members of an archive (LZH or ZIP) held in memory. Every member of
// non-zero size is listed by its file name (directories and any drive part
// dropped); a lookup takes the first member of that name, ignoring case, so
// a file is found whatever folder it was packed under. Member names only
// ever serve as lookup keys, never as paths on disk.
class ArchiveDollFiles : public DollFiles {
 public:
  // Fails with the reader's reason, which may be empty (see OpenArchive).
  Status Open(FileSystem& files, const std::string& path);
  Status OpenImage(std::vector<uint8_t> image, const std::string& path);

  bool is_archive() const override { return true; }
  void SetNameEncoding(TextEncoding encoding) override;
  std::optional<DollFileInfo> Find(std::string_view name) override;
  Result<std::vector<uint8_t>> Read(std::string_view name) override;
  // LZH dolls get the classic texts; ZIP dolls say ZIP, and say why a member
  // that is there could not be unpacked (encrypted, too large...).
  std::string NotFoundText(std::string_view name) const override;
  std::string UnreadableText(std::string_view name, const Status& failure,
                             bool for_script) const override;

  // "LZH" or "ZIP".
  const char* format_name() const { return reader_ ? reader_->format_name() : "LZH"; }
  bool is_zip() const;
  const std::vector<DollFileInfo>& members() const { return members_; }
  // The member at `index` of members().
  Result<std::vector<uint8_t>> ReadMember(size_t index);

 private:
  void ListMembers();
  void IndexNames();
  const DollFileInfo* Lookup(std::string_view name) const;

  std::unique_ptr<ArchiveReader> reader_;
  std::vector<DollFileInfo> members_;
  std::vector<size_t> reader_index_;  // per member
  TextEncoding name_encoding_ = TextEncoding::kWindows1252;
  // Folded file name -> the first member of that name.
  std::unordered_map<std::string, size_t> by_name_;
};

// Member names as text. A name the archive marks as UTF-8 is UTF-8; the
// others are in the encoding of the archiver's system, decided from all of
// them together (UnmarkedMemberNames, one per line).
std::string UnmarkedMemberNames(const std::vector<DollFileInfo>& members);
TextEncoding MemberNameEncoding(const std::vector<DollFileInfo>& members);
std::string DecodeMemberName(std::string_view name, bool utf8_name, TextEncoding encoding);

}  // namespace luma

#endif  // LUMA_CORE_DOLL_ARCHIVE_DOLL_FILES_H_
