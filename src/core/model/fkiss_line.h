#ifndef LUMA_CORE_MODEL_FKISS_LINE_H_
#define LUMA_CORE_MODEL_FKISS_LINE_H_

#include <string>

namespace luma {

// A CNF comment line holding FKiSS script, set aside by the CNF parser for
// the FKiSS parser.
struct FkissLine {
  std::string text;  // the comment without its leading "@"
  int line = 0;      // 1-based line number
  int column = 0;    // 0-based column of the ";" of the last line with data before its ";"
};

}  // namespace luma

#endif  // LUMA_CORE_MODEL_FKISS_LINE_H_
