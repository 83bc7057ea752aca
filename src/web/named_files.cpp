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
#include "web/web_files.h"

namespace luma::web {
namespace {

// The name with its ASCII letters in upper case; the bytes of double-byte
// characters stay, since their second byte may look like a letter (the
// lower-case twin is FoldNameCase).
std::string UpperNameCase(std::string_view name, TextEncoding encoding) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size();) {
    const size_t length = CharacterLength(name, i, encoding);
    if (length == 1 && name[i] >= 'a' && name[i] <= 'z') {
      out += static_cast<char>(name[i] - 'a' + 'A');
    } else {
      out.append(name.substr(i, length));
    }
    i += length;
  }
  return out;
}

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
    add(FoldNameCase(spellings[i], in));
    add(UpperNameCase(spellings[i], in));
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
    if (!StaysInsideFolder(path) || !seen.insert(FoldNameCase(path, doll.text_encoding)).second)
      continue;
    std::vector<std::string> urls = UrlsFor(path, doll.text_encoding);
    files.push_back({std::move(path), std::move(urls)});
  }
  return files;
}

}  // namespace luma::web
