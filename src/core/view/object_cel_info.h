#ifndef LUMA_CORE_VIEW_OBJECT_CEL_INFO_H_
#define LUMA_CORE_VIEW_OBJECT_CEL_INFO_H_

#include <string>
#include <utility>
#include <vector>

#include "core/model/doll_model.h"

namespace luma {

class FkissRuntime;
class FkissScript;

inline constexpr char kNoObjectSelected[] = "No Object Selected";

// What the object/cel properties window shows for one cel line and its
// object. The rows are label and value pairs; the script texts list each
// event head with its actions indented below it ("none" without events).
// Texts are UTF-8, decoded in the doll's text encoding for showing.
struct ObjectCelInfo {
  std::string status;  // the status bar's cel line
  std::vector<std::pair<std::string, std::string>> object_rows;
  std::vector<std::pair<std::string, std::string>> cel_rows;
  std::string object_script;
  std::string cel_script;
};

// "16 color indexed", "256 color indexed" or "CKiSS".
const char* CelKindName(const KissCel& cel);

// `script` and `runtime` may be null (a doll without script, or not
// started); the runtime writes the actions as the trace does, and without
// it only the event heads are listed.
ObjectCelInfo DescribeCel(const CelInstance& cel, const DollModel& doll, int current_set,
                          const FkissScript* script, const FkissRuntime* runtime);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_OBJECT_CEL_INFO_H_
