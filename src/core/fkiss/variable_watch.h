#ifndef LUMA_CORE_FKISS_VARIABLE_WATCH_H_
#define LUMA_CORE_FKISS_VARIABLE_WATCH_H_

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace luma {

class FkissScript;

// The variables a user watches while a doll's script runs, and the text that
// shows them: one "name = value" line per watched variable, in the order
// they were added. The script refreshes the text whenever it writes a
// watched variable; a reset that zeroes every value does not, so the
// display catches up at its next refresh.
class VariableWatch {
 public:
  // Attaches itself to `script` until destroyed.
  explicit VariableWatch(FkissScript& script);
  ~VariableWatch();
  VariableWatch(const VariableWatch&) = delete;
  VariableWatch& operator=(const VariableWatch&) = delete;

  // Called with the new text after every refresh (the window shows it).
  void set_on_refresh(std::function<void(const std::string&)> on_refresh) {
    on_refresh_ = std::move(on_refresh);
  }

  bool IsWatched(int index) const;
  // Watches the named variable, or stops watching it when it is watched
  // already, then refreshes. An unknown name does nothing. Returns whether
  // it is watched now.
  bool Toggle(std::string_view name);
  // The button label for the selected variable name; empty when nothing is
  // selected (the button is disabled then).
  std::string ButtonLabel(std::string_view selected_name) const;
  // Stops watching everything and refreshes.
  void ClearWatch();
  void RefreshWatch();

  const std::vector<int>& watched() const { return watched_; }
  const std::string& text() const { return text_; }

 private:
  FkissScript& script_;
  std::vector<int> watched_;
  std::string text_;
  std::function<void(const std::string&)> on_refresh_;
};

}  // namespace luma

#endif  // LUMA_CORE_FKISS_VARIABLE_WATCH_H_
