#ifndef LUMA_CORE_FILES_CNF_LINE_KINDS_H_
#define LUMA_CORE_FILES_CNF_LINE_KINDS_H_

#include <string_view>
#include <vector>

#include "core/model/cnf_lines.h"

namespace luma {

enum class LineKind { kOther, kCel, kSet, kSetContinuation };

// How the CNF parser sees one line of a CNF.
struct LineInfo {
  LineKind kind = LineKind::kOther;
  std::string_view data;  // before the first ";", leading white space removed
};

// The kind of every line; the views point into `lines`. Lines starting with
// white space after a set line continue it, whatever they hold.
std::vector<LineInfo> ClassifyLines(const CnfLines& lines);

}  // namespace luma

#endif  // LUMA_CORE_FILES_CNF_LINE_KINDS_H_
