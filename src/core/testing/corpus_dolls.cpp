#include "core/testing/corpus_dolls.h"

#include <algorithm>

#include "core/archive/lzh_archive.h"
#include "core/archive/open_archive.h"
#include "core/host/posix_file_system.h"
#include "core/testing/test_paths.h"
#include "core/testing/zip_builder.h"

namespace luma::testing {

std::vector<std::filesystem::path> CorpusDollArchives() {
  std::vector<std::filesystem::path> out;
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator(CorpusDir() / "dolls", ec)) {
    if (entry.path().extension() == ".lzh" && entry.path().filename() != "lina.lzh") {
      out.push_back(entry.path());
    }
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<CorpusMember> ReadArchiveMembers(const std::filesystem::path& archive) {
  std::vector<CorpusMember> out;
  LzhArchive lzh;
  PosixFileSystem disk;
  if (!lzh.Open(disk, archive.string()).ok()) return out;
  for (const LzhIndexEntry& entry : lzh.index()) {
    Result<std::vector<uint8_t>> bytes = lzh.ExtractAt(entry.header_position);
    if (bytes.ok()) out.push_back({entry.name, std::move(*bytes)});
  }
  return out;
}

std::vector<uint8_t> RepackAsZip(const std::filesystem::path& archive) {
  PosixFileSystem disk;
  Result<std::unique_ptr<ArchiveReader>> reader = OpenArchive(disk, archive.string());
  if (!reader.ok()) return {};
  std::vector<ZipTestMember> members;
  for (size_t i = 0; i < (*reader)->members().size(); ++i) {
    const ArchiveMember& member = (*reader)->members()[i];
    ZipTestMember zip;
    zip.name = member.full_name;
    zip.dos_time = member.dos_time;
    if (member.is_directory) {
      if (zip.name.empty() || zip.name.back() != '/') zip.name += '/';
    } else if (member.size > 0) {
      Result<std::vector<uint8_t>> bytes = (*reader)->ReadMember(i);
      if (!bytes.ok()) continue;
      zip.data = std::move(*bytes);
    }
    members.push_back(std::move(zip));
  }
  return ZipTestArchive(members);
}

}  // namespace luma::testing
