#include "core/files/cnf_line_kinds.h"

#include "core/host/text.h"

namespace luma {
namespace {

LineInfo Classify(std::string_view line) {
  LineInfo info;
  const std::string_view data = line.substr(0, line.find(';'));
  const size_t start = data.find_first_not_of(" \r\n\f\t");
  info.data = start == std::string_view::npos ? std::string_view() : data.substr(start);
  if (!info.data.empty() && info.data[0] == '#') info.kind = LineKind::kCel;
  if (!info.data.empty() && info.data[0] == '$') info.kind = LineKind::kSet;
  return info;
}

}  // namespace

std::vector<LineInfo> ClassifyLines(const CnfLines& lines) {
  std::vector<LineInfo> infos;
  infos.reserve(lines.size());
  bool in_set_line = false;
  for (const std::string& line : lines) {
    if (in_set_line && !line.empty() && IsAsciiSpace(line[0])) {
      LineInfo info;
      info.kind = LineKind::kSetContinuation;
      infos.push_back(info);
      continue;
    }
    infos.push_back(line.empty() ? LineInfo() : Classify(line));
    in_set_line = infos.back().kind == LineKind::kSet;
  }
  return infos;
}

}  // namespace luma
