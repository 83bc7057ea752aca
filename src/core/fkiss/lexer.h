#ifndef LUMA_CORE_FKISS_LEXER_H_
#define LUMA_CORE_FKISS_LEXER_H_

#include <string_view>

namespace luma {

class ErrorReport;
class FkissScript;

// Splits one FKiSS line (the CNF comment without its "@") into raw commands
// appended to `script`. Nothing counts until a line starting "EventHandler"
// sets the script flag. `line` is the 1-based CNF line number and `column`
// where the text starts in it. Syntax problems go to `report`; a broken
// command ends the line, commands before it stay.
void LexLine(std::string_view text, int line, int column, FkissScript& script, ErrorReport& report);

}  // namespace luma

#endif  // LUMA_CORE_FKISS_LEXER_H_
