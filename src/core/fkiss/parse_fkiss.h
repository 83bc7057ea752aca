#ifndef LUMA_CORE_FKISS_PARSE_FKISS_H_
#define LUMA_CORE_FKISS_PARSE_FKISS_H_

#include "core/fkiss/interpreter.h"
#include "core/host/status.h"

namespace luma {

class DollModel;
class FkissScript;
class Host;

// The FKiSS stages of loading a doll, in their order. Diagnostics go to the
// doll's error report; running out of memory frees the script and fails with
// kOutOfMemoryText. `host`, when given, shows the progress.

// Lexes the doll's collected FKiSS lines and registers the alarms, labels
// and sound and music files they name (before external files are prepared).
Status RegisterFkiss(DollModel& doll, FkissScript& script);

// Interprets the commands against the doll's objects, cels and groups,
// analyses snap-to effects and checks the script; sets the doll's level.
Status InterpretFkiss(DollModel& doll, FkissScript& script, const FkissParseOptions& options,
                      Host* host);

// Both, for callers without a stage in between.
Status ParseFkiss(DollModel& doll, FkissScript& script, const FkissParseOptions& options,
                  Host* host);

}  // namespace luma

#endif  // LUMA_CORE_FKISS_PARSE_FKISS_H_
