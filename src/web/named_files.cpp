#include "web/named_files.h"

#include <algorithm>
#include <set>

#include "core/doll/doll_files.h"
#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/parse_fkiss.h"
#include "core/host/silent_host.h"
#include "core/host/text.h"
#include "core/model/cnf_lines.h"
#include "core/model/cnf_parser.h"
#include "core/model/doll_model.h"
#include "web/percent_encoding.h"

namespace luma::web {
namespace {

bool LeavesFolder(std::string_view path) {
  if (path.empty() || path.front() == '/') return true;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = path.find('/', start);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(start, end - start);
    if (part.empty() || part == "." || part == "..") return true;
    start = end + 1;
  }
  return false;
}

// ASCII letters changed by `change`; the bytes of double-byte characters
// stay, since their second byte may look like a letter.
template <typename Change>
std::string ChangeCase(std::string_view name, TextEncoding encoding, Change change) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    const size_t length = CharacterLength(name, i, encoding);
    if (length == 1) {
      out += change(name[i]);
    } else {
      out.append(name.substr(i, length));
    }
    i += length;
  }
  return out;
}

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

std::vector<std::string> UrlsFor(const std::string& path, TextEncoding encoding) {
  std::vector<std::string> spellings{path};
  const std::string decoded = DecodeText(path, encoding);
  if (decoded != path) spellings.push_back(decoded);
  std::vector<std::string> urls;
  const auto add = [&urls](const std::string& spelling) {
    std::string url = PercentEncode(spelling);
    if (std::find(urls.begin(), urls.end(), url) == urls.end()) urls.push_back(std::move(url));
  };
  for (const std::string& s : spellings) add(s);
  for (size_t i = 0; i < spellings.size(); ++i) {
    // The decoded spelling is UTF-8, whose multi-byte sequences hold no ASCII.
    const TextEncoding in = i == 0 ? encoding : TextEncoding::kUtf8;
    add(ChangeCase(spellings[i], in, AsciiLower));
    add(ChangeCase(spellings[i], in, AsciiUpper));
  }
  return urls;
}

}  // namespace

std::vector<NamedFile> FilesNamedBy(std::span<const uint8_t> bytes, TextEncoding chosen) {
  DollModel doll;
  doll.cnf_lines =
      SplitDiskCnfText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  std::string text;
  for (const std::string& line : doll.cnf_lines) text += line + "\n";
  doll.SetTextEncoding(GuessTextEncoding(text), chosen);
  SilentHost host;
  FkissScript script;
  // Running out of memory leaves fewer names; the doll then reports the rest missing.
  if (ParseCnf(doll, host, CnfParseOptions{}).ok()) (void)RegisterFkiss(doll, script);

  std::vector<std::string> names = doll.palette_file_names;
  for (const auto& instance : doll.instances()) {
    if (instance->cel) names.push_back(instance->cel->file_name);
  }
  for (const ExternalFile& file : doll.external_files) names.push_back(file.name);

  std::vector<NamedFile> files;
  std::set<std::string> seen;
  for (const std::string& name : names) {
    std::string path = DollRelativePath(name, doll.text_encoding);
    if (LeavesFolder(path) || !seen.insert(FoldNameCase(path, doll.text_encoding)).second) continue;
    std::vector<std::string> urls = UrlsFor(path, doll.text_encoding);
    files.push_back({std::move(path), std::move(urls)});
  }
  return files;
}

}  // namespace luma::web
