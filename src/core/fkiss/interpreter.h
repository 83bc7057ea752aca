#ifndef LUMA_CORE_FKISS_INTERPRETER_H_
#define LUMA_CORE_FKISS_INTERPRETER_H_

namespace luma {

class DollModel;
class ErrorReport;
class FkissScript;
class Host;

struct FkissParseOptions {
  // Cel names that match no cel line are dropped without a warning.
  bool no_missing_cel = false;
};

// Registers, from the raw commands, every alarm and label a head names and,
// in the doll's external files, every sound or music file, so that actions
// can refer to them wherever they are defined.
void PrePass(FkissScript& script, DollModel& doll);

// Turns the raw commands into events and actions against the doll's objects,
// cels and groups, reporting what cannot be used. Afterwards the variable
// store is made. `host` (optional) shows progress.
void Interpret(FkissScript& script, DollModel& doll, const FkissParseOptions& options,
               ErrorReport& report, Host* host);

}  // namespace luma

#endif  // LUMA_CORE_FKISS_INTERPRETER_H_
