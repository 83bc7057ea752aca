#include "core/files/lzh_build.h"

#include <memory>
#include <unordered_map>
#include <unordered_set>

#include "core/archive/lzh_archive.h"
#include "core/archive/lzh_archive_writer.h"
#include "core/archive/lzh_header.h"
#include "core/archive/lzh_header_writer.h"
#include "core/archive/open_archive.h"
#include "core/host/file_io.h"
#include "core/host/text.h"
#include "core/host/text_encoding.h"

namespace luma {
namespace {

// Tries for the temporary archive beside the destination.
constexpr int kTempArchiveNames = 10000;

// The members of the archive an archived doll was loaded from (LZH or
// ZIP): the first member of each file name (as the loader finds them) and,
// for the CNF, the member of the full name the loader chose.
class SourceArchive {
 public:
  struct Member {
    size_t index = 0;
    uint32_t dos_time = 0;
  };

  explicit SourceArchive(FileSystem& files) : files_(files) {}

  bool Open(const std::string& path, TextEncoding names) {
    names_ = names;
    Result<std::unique_ptr<ArchiveReader>> reader = OpenArchive(files_, path);
    if (!reader.ok()) return false;
    reader_ = std::move(*reader);
    const std::vector<ArchiveMember>& members = reader_->members();
    for (size_t i = 0; i < members.size(); ++i) {
      const ArchiveMember& m = members[i];
      if (m.size == 0 || m.is_directory) continue;
      const Member member{i, m.dos_time};
      by_name_.try_emplace(FoldNameCase(m.name, names_), member);
      by_full_name_.try_emplace(m.full_name, member);
    }
    return true;
  }

  const Member* Find(std::string_view name) const {
    auto it = by_name_.find(FoldNameCase(name, names_));
    if (it == by_name_.end()) it = by_name_.find(FoldNameCase(LzhMemberFileName(name), names_));
    return it == by_name_.end() ? nullptr : &it->second;
  }
  const Member* FindFullName(const std::string& name) const {
    const auto it = by_full_name_.find(name);
    return it == by_full_name_.end() ? Find(name) : &it->second;
  }
  Result<std::vector<uint8_t>> Read(const Member& member) {
    return reader_->ReadMember(member.index);
  }

 private:
  FileSystem& files_;
  std::unique_ptr<ArchiveReader> reader_;
  TextEncoding names_ = TextEncoding::kWindows1252;
  std::unordered_map<std::string, Member> by_name_;
  std::unordered_map<std::string, Member> by_full_name_;
};

// One file to pack: from disk (`path`) or from the doll's archive (`member`).
struct PackItem {
  std::string shown;  // named in "Can't read "
  std::string member_name;
  std::string path;
  const SourceArchive::Member* member = nullptr;
};

struct PackSection {
  const char* status;
  std::vector<PackItem> items;
};

class ArchiveBuilder {
 public:
  ArchiveBuilder(CKissCnfDoc& doc, const std::string& destination)
      : doc_(doc),
        host_(doc.host()),
        destination_(destination),
        source_(host_.Files()),
        writer_(archive_, host_.Files()) {}

  DollArchiveBuild Build(const std::vector<AdditionalFile>& additional,
                         const std::string& saved_cnf) {
    if (doc_.is_archive()) from_archive_ = source_.Open(doc_.path(), doc_.model().text_encoding);
    std::vector<PackSection> sections = Sections(additional, saved_cnf);
    int total = 0;
    for (const PackSection& section : sections) total += static_cast<int>(section.items.size());

    archive_.CreateNew(destination_);
    host_.ProgressShow("Building " + destination_ + "...");
    host_.ProgressRange(total);
    host_.ProgressPosition(0);
    int done = 0;
    for (const PackSection& section : sections) {
      host_.ProgressStatus(section.status + destination_ + "...");
      for (const PackItem& item : section.items) {
        Add(item);
        host_.ProgressPosition(++done);
      }
    }
    host_.ProgressHide();
    return DollArchiveBuild{std::move(skipped_), Save()};
  }

 private:
  std::vector<PackSection> Sections(const std::vector<AdditionalFile>& additional,
                                    const std::string& saved_cnf) {
    const DollModel& doll = doc_.model();
    PackSection cnf{"Compressing CNF to ", {}};
    if (!saved_cnf.empty()) {
      cnf.items.push_back(DiskItem(saved_cnf, std::string(FileNamePart(saved_cnf)), saved_cnf));
    } else if (doc_.is_archive()) {
      PackItem item = ArchiveItem(doc_.cnf_name());
      if (from_archive_) item.member = source_.FindFullName(doc_.cnf_member());
      cnf.items.push_back(item);
    } else {
      cnf.items.push_back(DiskItem(doc_.cnf_name(), doc_.cnf_name(), doc_.cnf_path()));
    }

    PackSection kcfs{"Compressing KCFs to ", {}};
    std::unordered_set<std::string> seen;
    for (const std::string& name : doll.palette_file_names) {
      if (!seen.insert(FoldNameCase(name, doll.text_encoding)).second) continue;
      const KissPalette* palette = doll.FindPalette(name);
      const std::string path = palette ? palette->full_path : std::string();
      // An archived doll's palette has a file only once the palette editor
      // saved it; that file holds the colours to pack, under the doll's name.
      kcfs.items.push_back(doc_.is_archive() && path.empty() ? ArchiveItem(name)
                                                             : DiskItem(name, name, path));
    }

    PackSection cels{"Compressing Cels to ", {}};
    for (const auto& cel : doll.cels()) {
      if (cel->is_clone()) continue;
      cels.items.push_back(doc_.is_archive()
                               ? ArchiveItem(cel->file_name)
                               : DiskItem(cel->file_name, cel->file_name,
                                          cel->present ? cel->full_path : std::string()));
    }

    PackSection externals{"Compressing External Files to ", {}};
    for (const ExternalFile& file : doll.external_files) {
      externals.items.push_back(
          DiskItem(file.name, file.name, file.available ? file.path : std::string()));
    }

    PackSection documents{"Compressing Additional Files to ", {}};
    std::vector<AdditionalFile> unique;
    for (const AdditionalFile& file : additional) AddAdditionalFile(unique, file);
    for (const AdditionalFile& file : unique) {
      const std::string name(LzhMemberFileName(file.path));
      if (file.archive_member) {
        documents.items.push_back(
            PackItem{name, name, {}, from_archive_ ? source_.FindFullName(file.path) : nullptr});
      } else {
        documents.items.push_back(
            DiskItem(file.path, std::string(FileNamePart(file.path)), file.path));
      }
    }
    return {cnf, kcfs, cels, externals, documents};
  }

  static PackItem DiskItem(std::string shown, std::string member_name, std::string path) {
    return PackItem{std::move(shown), std::move(member_name), std::move(path), nullptr};
  }

  PackItem ArchiveItem(const std::string& name) {
    return PackItem{name, name, {}, from_archive_ ? source_.Find(name) : nullptr};
  }

  void Add(const PackItem& item) {
    Status added;
    if (item.member) {
      Result<std::vector<uint8_t>> bytes = source_.Read(*item.member);
      if (!bytes.ok()) return CantRead(item);
      added = writer_.AddMember(item.member_name, *bytes, item.member->dos_time);
    } else {
      if (item.path.empty() || !CanOpenForReading(host_.Files(), item.path)) return CantRead(item);
      added = writer_.AddFile(item.path, item.member_name);
    }
    if (!added.ok()) skipped_.push_back(SkippedFile{item.shown, added.message()});
  }

  void CantRead(const PackItem& item) { skipped_.push_back(SkippedFile{item.shown, {}}); }

  Status Save() {
    const std::span<const uint8_t> image = archive_.image().bytes();
    const Status failed = Status::Error("Unable to write to file " + doc_.ShownPath(destination_));
    // No reader opens an archive without members.
    if (image.empty()) return failed;
    const std::string folder(DirectoryPart(destination_));
    const Status saved = ReplaceFileVia(
        host_.Files(), destination_, image,
        [&](int n) {
          return folder + (n == 0 ? std::string("lmdtemp.lzh") : StringPrintf("lmdtemp-%d.lzh", n));
        },
        kTempArchiveNames);
    return saved.ok() ? saved : failed;
  }

  CKissCnfDoc& doc_;
  Host& host_;
  const std::string destination_;
  SourceArchive source_;
  bool from_archive_ = false;
  LzhArchive archive_;
  LzhArchiveWriter writer_;
  std::vector<SkippedFile> skipped_;
};

}  // namespace

void AddAdditionalFile(std::vector<AdditionalFile>& list, const AdditionalFile& file) {
  for (const AdditionalFile& entry : list) {
    if (entry == file) return;
  }
  list.push_back(file);
}

std::vector<AdditionalFile> OtherArchiveMembers(const CKissCnfDoc& doc) {
  std::vector<AdditionalFile> others;
  if (!doc.is_archive()) return others;
  // What the build packs by itself, by file name as the loader finds files.
  const DollModel& doll = doc.model();
  std::unordered_set<std::string> packed;
  for (const std::string& name : doll.palette_file_names) packed.insert(AsciiLowerCopy(name));
  for (const auto& cel : doll.cels()) packed.insert(AsciiLowerCopy(cel->file_name));
  for (const ExternalFile& file : doll.external_files) packed.insert(AsciiLowerCopy(file.name));
  for (const DollFileInfo& member : doc.members()) {
    if (member.full_name == doc.cnf_member() || packed.contains(AsciiLowerCopy(member.name))) {
      continue;
    }
    others.push_back(AdditionalFile{member.full_name, true});
  }
  return others;
}

DollArchiveBuild WriteDollArchive(CKissCnfDoc& doc, const std::string& destination,
                                  const std::vector<AdditionalFile>& additional,
                                  const std::string& saved_cnf) {
  return ArchiveBuilder(doc, destination).Build(additional, saved_cnf);
}

}  // namespace luma
