#ifndef LUMA_APP_BYTE_TEXT_H_
#define LUMA_APP_BYTE_TEXT_H_

#include <QString>
#include <string>
#include <string_view>

#include "core/host/text_encoding.h"

namespace luma::app {

// Engine text for a widget: the program's own words, messages handed to the
// Host and the desktop's file paths are UTF-8.
inline QString FromBytes(std::string_view s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// A doll's own bytes (names, comments, script texts, report entries quoting
// them) for a widget, decoded in the doll's text encoding.
inline QString DollText(std::string_view bytes, TextEncoding encoding) {
  return FromBytes(DecodeText(bytes, encoding));
}

}  // namespace luma::app

#endif  // LUMA_APP_BYTE_TEXT_H_
