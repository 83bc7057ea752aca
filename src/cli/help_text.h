#ifndef LUMA_CLI_HELP_TEXT_H_
#define LUMA_CLI_HELP_TEXT_H_

#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"

namespace luma::cli {

// Fills lines of at most 79 columns with the words of `text`, each line
// indented by `indent` blanks and ended by a newline. Words are split at
// blanks only; a bracketed group such as "[--set N]" stays on one line.
std::string WrapText(std::string_view text, size_t indent);

// Wraps each paragraph of `text` (paragraphs are separated by blank lines),
// keeping one blank line between them.
std::string WrapParagraphs(std::string_view text);

// Two columns: each term indented by two blanks, its text beside it from
// column 24 (or under it when the term is too long).
std::string FormatItems(const std::vector<HelpItem>& items);

}  // namespace luma::cli

#endif  // LUMA_CLI_HELP_TEXT_H_
