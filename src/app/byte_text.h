#ifndef LUMA_APP_BYTE_TEXT_H_
#define LUMA_APP_BYTE_TEXT_H_

#include <QString>
#include <string_view>

namespace luma::app {

// Engine text (bytes in the system's code page) for a widget.
inline QString FromBytes(std::string_view s) {
  return QString::fromLocal8Bit(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace luma::app

#endif  // LUMA_APP_BYTE_TEXT_H_
