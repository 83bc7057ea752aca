#ifndef LUMA_CORE_MODEL_CNF_LINES_H_
#define LUMA_CORE_MODEL_CNF_LINES_H_

#include <string>
#include <string_view>
#include <vector>

namespace luma {

// The text of a CNF as an ordered list of lines, without line endings.
using CnfLines = std::vector<std::string>;

// The longest line a CNF read from disk holds; longer text continues as the
// next line.
inline constexpr size_t kMaxDiskLineLength = 4095;

// The lines of a CNF file and, beside each, the bytes the file held for it:
// the line as written (before any byte was dropped) followed by its line
// ending. Joined in order, `raw` gives back the whole file. A line cut in
// pieces, or a last line without ending, has an empty ending; bytes after
// the last line that form no line of their own end the last raw entry.
struct CnfSourceLines {
  CnfLines lines;
  std::vector<std::string> raw;
  // A lone CR ended a line (an archive's CNF); on disk it is part of one.
  bool lone_cr_ends_lines = false;
};

// Lines of a CNF file read from disk: LF or CR LF ends a line, a line longer
// than kMaxDiskLineLength is cut into pieces of that length, and a last line
// without ending counts when it is not empty. Bytes are kept as they are.
CnfSourceLines ReadDiskCnfText(std::string_view bytes);
CnfLines SplitDiskCnfText(std::string_view bytes);

// Lines of a CNF taken from an archive: CR ends a line, LF ends one unless it
// directly follows a CR; control bytes other than white space are dropped,
// trailing white space is removed, empty lines are kept, and a last line
// without ending counts when it is not empty.
CnfSourceLines ReadArchiveCnfText(std::string_view bytes);
CnfLines SplitArchiveCnfText(std::string_view bytes);

// The line ending a CNF is written with: that of its first ended line, or
// CR LF (the ending KiSS dolls are made with) when it has none or ends its
// lines with a lone CR.
std::string CnfLineEnding(const std::vector<std::string>& raw_lines);

}  // namespace luma

#endif  // LUMA_CORE_MODEL_CNF_LINES_H_
