#ifndef LUMA_CORE_FILES_UNLOADED_CEL_LINES_H_
#define LUMA_CORE_FILES_UNLOADED_CEL_LINES_H_

#include <optional>
#include <vector>

#include "core/files/cnf_line_reader.h"
#include "core/model/doll_model.h"

namespace luma {

// A cel line of the CNF that has no cel instance in the doll: its cel file
// was not found (loading drops such instances) or the line is broken. The
// writers keep these lines, so saving a doll with a missing file loses
// nothing of it.
struct UnloadedCelLine {
  int line = 0;                         // index into the doll's CNF lines
  std::optional<CelLineValues> values;  // nullopt for a broken line
};

// In CNF order.
std::vector<UnloadedCelLine> FindUnloadedCelLines(const DollModel& doll);

}  // namespace luma

#endif  // LUMA_CORE_FILES_UNLOADED_CEL_LINES_H_
