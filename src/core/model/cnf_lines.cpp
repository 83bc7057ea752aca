#include "core/model/cnf_lines.h"

#include "core/host/text.h"

namespace luma {

CnfLines SplitDiskCnfText(std::string_view bytes) {
  CnfLines lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    const bool terminated = end != std::string_view::npos;
    if (!terminated) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (terminated && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    start = terminated ? end + 1 : end;
    if (line.empty()) {
      if (terminated) lines.emplace_back();
      continue;
    }
    while (!line.empty()) {
      const size_t piece = line.size() < kMaxDiskLineLength ? line.size() : kMaxDiskLineLength;
      lines.emplace_back(line.substr(0, piece));
      line.remove_prefix(piece);
    }
  }
  return lines;
}

CnfLines SplitArchiveCnfText(std::string_view bytes) {
  CnfLines lines;
  std::string current;
  auto finish = [&] {
    while (!current.empty() && IsAsciiSpace(current.back())) current.pop_back();
    lines.push_back(std::move(current));
    current.clear();
  };
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      finish();
    } else if (c == '\n') {
      if (i == 0 || bytes[i - 1] != '\r') finish();
    } else if (IsAsciiSpace(c) || static_cast<unsigned char>(c) >= 32) {
      current += c;
    }
  }
  if (!current.empty()) finish();
  return lines;
}

}  // namespace luma
