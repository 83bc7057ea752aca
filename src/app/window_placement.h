#ifndef LUMA_APP_WINDOW_PLACEMENT_H_
#define LUMA_APP_WINDOW_PLACEMENT_H_

#include <optional>
#include <string>
#include <string_view>

namespace luma::app {

// The main window's placement as kept in "Settings"/"WindowPos":
// "flags,show,minX,minY,maxX,maxY,left,top,right,bottom". Flag 2 means the
// window opens maximised; the rectangle is the normal (restored) geometry
// with right and bottom exclusive.
struct WindowPlacement {
  static constexpr unsigned kRestoreToMaximized = 2;
  static constexpr unsigned kShowNormal = 1;
  static constexpr unsigned kShowMaximized = 3;

  unsigned flags = 0;
  unsigned show_command = kShowNormal;
  int min_x = -1, min_y = -1;
  int max_x = -1, max_y = -1;
  int left = 0, top = 0, right = 0, bottom = 0;

  bool maximized() const { return (flags & kRestoreToMaximized) != 0; }
};

// Nullopt unless the text holds exactly ten comma-separated numbers.
std::optional<WindowPlacement> ParseWindowPlacement(std::string_view text);
std::string FormatWindowPlacement(const WindowPlacement& placement);

}  // namespace luma::app

#endif  // LUMA_APP_WINDOW_PLACEMENT_H_
