#include "core/fkiss/parse_fkiss.h"

#include <new>

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/lexer.h"
#include "core/fkiss/script_check.h"
#include "core/fkiss/snap_to.h"
#include "core/host/host.h"
#include "core/model/doll_model.h"

namespace luma {
namespace {

constexpr char kOutOfMemory[] = "Out of memory";

Status OutOfMemory(DollModel& doll, Host* host) {
  doll.abort = true;
  if (host) host->ShowMessage("Lumadoll", kOutOfMemory, MessageIcon::kError);
  return Status::Error(kOutOfMemory);
}

}  // namespace

Status RegisterFkiss(DollModel& doll, FkissScript& script, Host* host) {
  try {
    for (const FkissLine& line : doll.fkiss_lines) {
      LexLine(line.text, line.line, line.column, script, doll.report);
    }
    PrePass(script, doll);
  } catch (const std::bad_alloc&) {
    script.Clear();
    return OutOfMemory(doll, host);
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
    return OutOfMemory(doll, host);
  }
  return Status::Ok();
}

Status ParseFkiss(DollModel& doll, FkissScript& script, const FkissParseOptions& options,
                  Host* host) {
  Status status = RegisterFkiss(doll, script, host);
  if (!status.ok()) return status;
  return InterpretFkiss(doll, script, options, host);
}

}  // namespace luma
