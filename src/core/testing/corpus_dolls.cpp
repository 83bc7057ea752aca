#include "core/testing/corpus_dolls.h"

#include <algorithm>

#include "core/archive/lzh_archive.h"
#include "core/testing/test_paths.h"

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
  if (!lzh.Open(archive.string()).ok()) return out;
  for (const LzhIndexEntry& entry : lzh.index()) {
    Result<std::vector<uint8_t>> bytes = lzh.ExtractAt(entry.header_position);
    if (bytes.ok()) out.push_back({entry.name, std::move(*bytes)});
  }
  return out;
}

}  // namespace luma::testing
