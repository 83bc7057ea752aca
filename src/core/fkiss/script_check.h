#ifndef LUMA_CORE_FKISS_SCRIPT_CHECK_H_
#define LUMA_CORE_FKISS_SCRIPT_CHECK_H_

namespace luma {

class DollModel;
class ErrorReport;
class FkissScript;

// The FKiSS level the script needs, -1 when the doll is to run without one.
int ComputeFkissLevel(const FkissScript& script, const DollModel& doll);

// After interpretation: sets the level (a level of -1 turns the script off)
// and the statistics, and warns about timers without alarm, labels and
// alarms nothing reaches, and ids that equal each other or a variable.
void CheckScript(FkissScript& script, DollModel& doll, ErrorReport& report);

}  // namespace luma

#endif  // LUMA_CORE_FKISS_SCRIPT_CHECK_H_
