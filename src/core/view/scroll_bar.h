#ifndef LUMA_CORE_VIEW_SCROLL_BAR_H_
#define LUMA_CORE_VIEW_SCROLL_BAR_H_

#include <cstdint>

namespace luma {

// What the user did to a scroll bar.
enum class ScrollAction {
  kLineUp,
  kLineDown,
  kPageUp,
  kPageDown,
  kThumbPosition,
  kThumbTrack,
  kTop,
  kBottom,
};

// One scroll bar of the view: the scrolled content (the doll window at the
// zoom level) against the client, in pixels.
struct ScrollBar {
  int content = 0;
  int client = 0;
  int position = 0;

  // The bar shows only when the content does not fit.
  bool active() const { return content > client; }
  int max_position() const { return active() ? content - client : 0; }
  // The bar's maximum minus its minimum (content - 1): the view transform
  // turns a position into a fraction of it.
  int range() const { return active() ? content - 1 : 0; }
  // Held within the bar; takes wide values so that a sum never wraps first.
  int Clamp(int64_t position) const;
};

// The position after `action`: a line is a tenth of the client, a page the
// client; the thumb actions take `thumb`. Held within the bar.
int ScrolledPosition(const ScrollBar& bar, ScrollAction action, int thumb);

// How far one wheel message scrolls (positive: down or right): the view
// passes twice the wheel's delta on, and the standard handling scrolls
// three lines per notch of 120, at most a page. `rest` carries the part of
// a pixel left over from earlier messages in and out, so that small deltas
// add up instead of being lost; it starts afresh when the direction turns.
int WheelScrollDistance(const ScrollBar& bar, int delta, int* rest);
inline int WheelScrollDistance(const ScrollBar& bar, int delta) {
  int rest = 0;
  return WheelScrollDistance(bar, delta, &rest);
}

}  // namespace luma

#endif  // LUMA_CORE_VIEW_SCROLL_BAR_H_
