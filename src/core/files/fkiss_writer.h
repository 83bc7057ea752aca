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
// name in double quotes, a cel group as "!name". Empty when no event has
// actions.
std::string FormatFkissScript(const FkissScript& script, const DollModel& doll);

// Whether a rewritten CNF must carry the script lines as they were read (and
// the text added since) rather than the script written from its tables: the
// tables lack commands the lines hold, such as actions on cels whose files
// are missing, and no edit of the tables forces a rewrite from them.
bool ScriptKeptAsRead(const FkissScript& script);

// The doll's script lines as read, each as ";@" and its text, then the
// script text added since, then a blank line. Empty without script lines.
std::string FormatScriptAsRead(const FkissScript& script, const DollModel& doll);

}  // namespace luma

#endif  // LUMA_CORE_FILES_FKISS_WRITER_H_
