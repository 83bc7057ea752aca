#include "web/dropped_files.h"

#include <optional>
#include <set>
#include <string_view>

#include "core/host/text.h"
#include "web/percent_encoding.h"

namespace luma::web {
namespace {

std::string_view LastPart(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// Dropped names are UTF-8, so folding them as UTF-8 keeps their multi-byte
// characters whole.
std::string Folded(std::string_view name) { return FoldNameCase(name, TextEncoding::kUtf8); }

// The engine finds a name of the CNF's own folder ignoring case, one in a
// subfolder only as written.
bool Serves(const std::string& dropped, const std::string& path) {
  if (dropped == path) return true;
  return path.find('/') == std::string::npos && dropped.find('/') == std::string::npos &&
         Folded(dropped) == Folded(path);
}

std::optional<std::string> FindDropped(const NamedFile& file,
                                       const std::vector<std::string>& dropped) {
  std::vector<std::string> names;
  for (const std::string& url : file.urls) {
    if (std::optional<std::string> spelling = PercentDecode(url)) {
      names.emplace_back(LastPart(*spelling));
    }
  }
  for (const bool fold : {false, true}) {
    for (const std::string& name : names) {
      const std::string wanted = fold ? Folded(name) : name;
      for (const std::string& candidate : dropped) {
        const std::string_view last = LastPart(candidate);
        if ((fold ? Folded(last) : std::string(last)) == wanted) return candidate;
      }
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<DroppedCopy> MatchDroppedFiles(const std::vector<NamedFile>& named,
                                           const std::vector<std::string>& dropped) {
  std::vector<DroppedCopy> copies;
  for (const NamedFile& file : named) {
    bool served = false;
    for (const std::string& d : dropped) served = served || Serves(d, file.path);
    if (served) continue;
    if (std::optional<std::string> from = FindDropped(file, dropped)) {
      copies.push_back({std::move(*from), file.path});
    }
  }
  return copies;
}

int PlaceDroppedFiles(WebFiles& files, const std::string& folder, TextEncoding chosen) {
  const std::vector<std::string> dropped = files.ListFiles(folder);
  std::set<std::string> placed;
  int added = 0;
  for (const std::string& candidate : files.DollCandidates(folder)) {
    if (!EqualsIgnoreCase(ExtensionPart(candidate), "cnf")) continue;
    const Result<std::vector<uint8_t>> cnf = files.Read(candidate);
    if (!cnf.ok()) continue;
    for (const DroppedCopy& copy : MatchDroppedFiles(FilesNamedBy(*cnf, chosen), dropped)) {
      if (!placed.insert(copy.to).second) continue;
      const Result<std::vector<uint8_t>> bytes = files.Read(folder + "/" + copy.from);
      if (bytes.ok() && files.AddFile(folder, copy.to, *bytes).ok()) ++added;
    }
  }
  return added;
}

}  // namespace luma::web
