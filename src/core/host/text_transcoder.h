#ifndef LUMA_CORE_HOST_TEXT_TRANSCODER_H_
#define LUMA_CORE_HOST_TEXT_TRANSCODER_H_

#include <string>
#include <string_view>

#include "core/host/text_encoding.h"

namespace luma {

// The platform's converter behind DecodeText: `bytes` in `encoding`
// (kShiftJis, kWindows1252 or kUtf8) as UTF-8, each byte that does not start
// a valid sequence as U+FFFD. It knows the code pages; nothing else here
// does. The desktop build links text_transcoder_iconv.cpp (glibc's iconv); a
// build without iconv links its own definition.
std::string TranscodeToUtf8(std::string_view bytes, TextEncoding encoding);

}  // namespace luma

#endif  // LUMA_CORE_HOST_TEXT_TRANSCODER_H_
