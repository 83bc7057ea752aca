#include "core/model/cnf_lines.h"

#include "core/host/text.h"

namespace luma {
namespace {

// Bytes that belong to no line end the last raw entry, so nothing is lost.
void KeepTrailingBytes(CnfSourceLines& out, std::string_view bytes) {
  if (bytes.empty()) return;
  if (out.raw.empty()) {
    out.lines.emplace_back();
    out.raw.emplace_back();
  }
  out.raw.back() += bytes;
}

}  // namespace

CnfSourceLines ReadDiskCnfText(std::string_view bytes) {
  CnfSourceLines out;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    const bool terminated = end != std::string_view::npos;
    if (!terminated) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (terminated && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    const std::string_view ending =
        terminated ? bytes.substr(start + line.size(), end + 1 - start - line.size())
                   : std::string_view();
    start = terminated ? end + 1 : end;
    if (line.empty()) {
      if (terminated) {
        out.lines.emplace_back();
        out.raw.emplace_back(ending);
      }
      continue;
    }
    while (!line.empty()) {
      const size_t piece = line.size() < kMaxDiskLineLength ? line.size() : kMaxDiskLineLength;
      out.lines.emplace_back(line.substr(0, piece));
      out.raw.emplace_back(line.substr(0, piece));
      line.remove_prefix(piece);
    }
    out.raw.back() += ending;
  }
  return out;
}

CnfLines SplitDiskCnfText(std::string_view bytes) { return ReadDiskCnfText(bytes).lines; }

CnfSourceLines ReadArchiveCnfText(std::string_view bytes) {
  CnfSourceLines out;
  out.lone_cr_ends_lines = true;
  std::string current;
  size_t line_start = 0;
  auto finish = [&](size_t end) {
    while (!current.empty() && IsAsciiSpace(current.back())) current.pop_back();
    out.lines.push_back(std::move(current));
    out.raw.emplace_back(bytes.substr(line_start, end - line_start));
    current.clear();
    line_start = end;
  };
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r') {
      // A CR LF pair ends one line; its LF belongs to that line's ending.
      const bool pair = i + 1 < bytes.size() && bytes[i + 1] == '\n';
      finish(pair ? i + 2 : i + 1);
      if (pair) ++i;
    } else if (c == '\n') {
      finish(i + 1);
    } else if (IsAsciiSpace(c) || static_cast<unsigned char>(c) >= 32) {
      current += c;
    }
  }
  if (!current.empty()) {
    finish(bytes.size());
  } else {
    KeepTrailingBytes(out, bytes.substr(line_start));
  }
  return out;
}

CnfLines SplitArchiveCnfText(std::string_view bytes) { return ReadArchiveCnfText(bytes).lines; }

std::string CnfLineEnding(const std::vector<std::string>& raw_lines) {
  for (const std::string_view raw : raw_lines) {
    if (raw.ends_with("\r\n")) return "\r\n";
    if (raw.ends_with('\n')) return "\n";
    // A lone CR ends a line only in an archive: on disk the CNF would read
    // as one long line, so such a doll is written with CR LF.
    if (raw.ends_with('\r')) return "\r\n";
  }
  return "\r\n";
}

}  // namespace luma
