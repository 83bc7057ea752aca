#include "core/view/cel_info.h"

#include "core/host/text.h"
#include "core/model/kiss_cel.h"
#include "core/model/kiss_object.h"

namespace luma {
namespace {

bool HasEvents(const FkissScript& script, const FkissTarget& target, bool skip_snap_to) {
  const TargetRecord* record = script.FindRecord(target);
  return record && record->snap_to.has_events && !(skip_snap_to && record->snap_to.only_snap_to);
}

}  // namespace

bool CelHasFkiss(const CelInstance& cel, const FkissScript* script, bool skip_snap_to) {
  if (!script) return false;
  if (HasEvents(*script, FkissTarget::Of(const_cast<CelInstance*>(&cel)), skip_snap_to)) {
    return true;
  }
  if (cel.object && HasEvents(*script, FkissTarget::Of(cel.object), skip_snap_to)) return true;
  for (CelSet* set : cel.cel_sets) {
    if (HasEvents(*script, FkissTarget::Of(set), skip_snap_to)) return true;
  }
  return false;
}

std::string CelInfoText(const CelInstance& cel, const FkissScript* script) {
  return StringPrintf("Cel: \"%s\"  Object: #%d  Fix: %d  Transparency: %d  FKiSS: %s",
                      cel.cel ? cel.cel->file_name.c_str() : "",
                      cel.object ? cel.object->number : cel.object_number,
                      cel.object ? static_cast<int>(cel.object->fix) : 0, cel.transparency,
                      CelHasFkiss(cel, script) ? "yes" : "no");
}

}  // namespace luma
