#ifndef LUMA_CLI_PRINTABLE_H_
#define LUMA_CLI_PRINTABLE_H_

#include <string>
#include <string_view>

namespace luma::cli {

// Text from outside (member names) for a terminal: control characters,
// terminal escapes and C1 controls among them, are shown as '?'.
std::string Printable(std::string_view s);

}  // namespace luma::cli

#endif  // LUMA_CLI_PRINTABLE_H_
