#include "core/fkiss/fkiss_target.h"

#include "core/host/text.h"
#include "core/model/cel_instance.h"
#include "core/model/cel_set.h"
#include "core/model/kiss_cel.h"
#include "core/model/kiss_object.h"

namespace luma {

std::string TargetDisplayText(const FkissTarget& target) {
  if (target.object) return StringPrintf("#%d", target.object->number);
  if (target.cel) {
    if (!target.cel->cel) return "Unknown";
    return "\"" + target.cel->cel->file_name + "\"";
  }
  if (target.cel_set) return "\"" + target.cel_set->name + "\"";
  return "NULL";
}

}  // namespace luma
