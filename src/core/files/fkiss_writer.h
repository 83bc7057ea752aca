#ifndef LUMA_CORE_FILES_FKISS_WRITER_H_
#define LUMA_CORE_FILES_FKISS_WRITER_H_

#include <string>

namespace luma {

class DollModel;
class FkissScript;

// The script as CNF lines: ";@EventHandler", a blank line, then every opened
// event that has actions, in the order the script opened them: its head,
// one line per action and a blank line. Commands between an if-command or
// an else-command and "endif" are indented by two more blanks. Every target
// is written the way the FKiSS parser finds the same target again: an
// object as "#n", a cel line or the cel set of a cel file name as the file
// name in double quotes, a cel group as "!name". Commands the tables do not
// hold (for instance actions on cels whose files are missing) are written
// as they were read, where they stood: inside their event, or between the
// events. Empty when there is nothing to write.
std::string FormatFkissScript(const FkissScript& script, const DollModel& doll);

}  // namespace luma

#endif  // LUMA_CORE_FILES_FKISS_WRITER_H_
