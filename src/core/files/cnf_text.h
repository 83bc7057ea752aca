#ifndef LUMA_CORE_FILES_CNF_TEXT_H_
#define LUMA_CORE_FILES_CNF_TEXT_H_

#include <string>
#include <vector>

#include "core/doll/cnf_save_options.h"
#include "core/model/doll_model.h"

namespace luma {

class FkissScript;

// A CNF made by one of the writers, before it goes to disk: the text and,
// per cel instance of the doll (in the doll's order), the 0-based line its
// cel line has in the text.
struct CnfText {
  std::string text;
  std::vector<int> instance_lines;
};

// The values ";HINT stack" and ";HINT maxfix" get when their option is on.
struct HintValues {
  int stack_depth = 20;
  int max_fix = 100;
};

// A fresh, column-aligned CNF written from the model: header, HINT lines,
// playfield, border and palettes, cel declarations, the script, positions.
// `script` may be null (a doll without a script layer).
CnfText FormatReformattedCnf(const DollModel& doll, const FkissScript* script,
                             const CnfSaveOptions& options, const HintValues& hints);

// The doll's CNF lines as read, edited where the model or the options differ
// from them: border, playfield, cel lines, HINT lines, set lines, and any
// script text added since the doll was loaded.
CnfText FormatPreservedCnf(const DollModel& doll, const FkissScript* script,
                           const CnfSaveOptions& options, const HintValues& hints);

// The name ";HINT bounds" uses for a bounds mode.
const char* BoundsModeName(BoundsMode mode);

}  // namespace luma

#endif  // LUMA_CORE_FILES_CNF_TEXT_H_
