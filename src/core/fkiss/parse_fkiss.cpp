#include "core/fkiss/parse_fkiss.h"

#include <new>

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/lexer.h"
#include "core/fkiss/script_check.h"
#include "core/fkiss/snap_to.h"
#include "core/model/doll_model.h"
#include "core/model/messages.h"

namespace luma {

Status RegisterFkiss(DollModel& doll, FkissScript& script) {
  try {
    for (const FkissLine& line : doll.fkiss_lines) {
      LexLine(line.text, line.line, line.column, script, doll.report);
    }
    PrePass(script, doll);
  } catch (const std::bad_alloc&) {
    script.Clear();
    return Status::Error(kOutOfMemoryText);
  }
  return Status::Ok();
}

Status InterpretFkiss(DollModel& doll, FkissScript& script, const FkissParseOptions& options,
                      Host* host) {
  try {
    Interpret(script, doll, options, doll.report, host);
    AnalyseSnapTo(script);
    CheckScript(script, doll, doll.report);
  } catch (const std::bad_alloc&) {
    script.Clear();
    doll.fkiss_level = kFkissLevelNone;
    return Status::Error(kOutOfMemoryText);
  }
  return Status::Ok();
}

Status ParseFkiss(DollModel& doll, FkissScript& script, const FkissParseOptions& options,
                  Host* host) {
  Status status = RegisterFkiss(doll, script);
  if (!status.ok()) return status;
  return InterpretFkiss(doll, script, options, host);
}

}  // namespace luma
