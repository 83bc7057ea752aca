#include "core/fkiss/trace_log.h"

namespace luma {

void TraceLog::AddLine(std::string_view line) {
  if (listener_) listener_(line);
  text_.append(line);
  text_.append("\r\n");
  while (text_.size() >= kLimit) {
    const size_t end = text_.find('\n', kCut - 1);
    text_.erase(0, end == std::string::npos ? kCut : end + 1);
  }
}

}  // namespace luma
