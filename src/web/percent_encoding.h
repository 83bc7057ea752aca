#ifndef LUMA_WEB_PERCENT_ENCODING_H_
#define LUMA_WEB_PERCENT_ENCODING_H_

#include <optional>
#include <string>
#include <string_view>

namespace luma::web {

// `bytes` with every byte but letters, digits, "-._~" and "/" written %XX:
// paths cross between the page's script and the engine this way, since the
// names a doll brings along need not be UTF-8, and go into URLs this way.
std::string PercentEncode(std::string_view bytes);
// The bytes back; nullopt when a "%" is not followed by two hex digits.
std::optional<std::string> PercentDecode(std::string_view text);

}  // namespace luma::web

#endif  // LUMA_WEB_PERCENT_ENCODING_H_
