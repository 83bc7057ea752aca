#ifndef LUMA_CORE_FKISS_TRACE_LOG_H_
#define LUMA_CORE_FKISS_TRACE_LOG_H_

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

namespace luma {

// The text of a trace or debug window: lines ended by "\r\n". When it
// reaches kLimit characters, the first kCut characters and the rest of the
// line they cut into are dropped, so the window never grows without end. A
// listener, when set, sees every line as it is added.
class TraceLog {
 public:
  static constexpr size_t kLimit = 16385;
  static constexpr size_t kCut = 2048;

  void AddLine(std::string_view line);
  const std::string& text() const { return text_; }
  void Clear() { text_.clear(); }
  void set_listener(std::function<void(std::string_view line)> listener) {
    listener_ = std::move(listener);
  }

 private:
  std::string text_;
  std::function<void(std::string_view)> listener_;
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_TRACE_LOG_H_
