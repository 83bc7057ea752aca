#ifndef LUMA_CORE_VIEW_CEL_INFO_H_
#define LUMA_CORE_VIEW_CEL_INFO_H_

#include <string>

#include "core/fkiss/fkiss_script.h"
#include "core/model/cel_instance.h"

namespace luma {

// The cel, its object or a cel set holding it carries script events; with
// `skip_snap_to`, events that are all snap-to effects do not count.
bool CelHasFkiss(const CelInstance& cel, const FkissScript* script, bool skip_snap_to = false);

// The status bar's line for a clicked cel:
// Cel: "name"  Object: #n  Fix: f  Transparency: t  FKiSS: yes|no
std::string CelInfoText(const CelInstance& cel, const FkissScript* script);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_CEL_INFO_H_
