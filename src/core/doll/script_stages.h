#ifndef LUMA_CORE_DOLL_SCRIPT_STAGES_H_
#define LUMA_CORE_DOLL_SCRIPT_STAGES_H_

#include "core/host/host.h"
#include "core/host/status.h"
#include "core/model/doll_model.h"

namespace luma {

class FkissScript;

// The FKiSS parts of loading a doll, implemented by the script layer. The
// CNF parser has collected the script lines in `doll.fkiss_lines`; the
// loader calls these once the cels, objects and groups exist. A stage that
// fails (out of memory) ends the load.
class ScriptStages {
 public:
  virtual ~ScriptStages() = default;
  // Lexes the collected lines and registers alarm and label names and the
  // sound and music files (into `doll.external_files`).
  virtual Status Register(DollModel& doll) = 0;
  // Builds the events and actions, with their diagnostics in `doll.report`.
  // `host` shows the progress.
  virtual Status Interpret(DollModel& doll, Host& host) = 0;
  // Frees the script, as closing or reloading the doll does.
  virtual void Clear() = 0;
  virtual int event_count() const = 0;
  virtual int action_count() const = 0;
  // The parsed script the view runs; nullptr for stages that keep none.
  virtual FkissScript* fkiss() { return nullptr; }
};

}  // namespace luma

#endif  // LUMA_CORE_DOLL_SCRIPT_STAGES_H_
