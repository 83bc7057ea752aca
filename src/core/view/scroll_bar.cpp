#include "core/view/scroll_bar.h"

#include <algorithm>
#include <cstdint>

namespace luma {
namespace {

constexpr int kWheelNotch = 120;
constexpr int kLinesPerNotch = 3;

int LineSize(const ScrollBar& bar) { return std::max(1, bar.client / 10); }

}  // namespace

int ScrollBar::Clamp(int64_t p) const {
  return static_cast<int>(std::clamp<int64_t>(p, 0, max_position()));
}

int ScrolledPosition(const ScrollBar& bar, ScrollAction action, int thumb) {
  int64_t p = bar.position;
  switch (action) {
    case ScrollAction::kLineUp:
      p -= LineSize(bar);
      break;
    case ScrollAction::kLineDown:
      p += LineSize(bar);
      break;
    case ScrollAction::kPageUp:
      p -= bar.client;
      break;
    case ScrollAction::kPageDown:
      p += bar.client;
      break;
    case ScrollAction::kThumbPosition:
    case ScrollAction::kThumbTrack:
      p = thumb;
      break;
    case ScrollAction::kTop:
      p = 0;
      break;
    case ScrollAction::kBottom:
      p = bar.max_position();
      break;
  }
  return static_cast<int>(std::clamp<int64_t>(p, 0, bar.max_position()));
}

int WheelScrollDistance(const ScrollBar& bar, int delta, int* rest) {
  if (!bar.active() || delta == 0) {
    *rest = 0;
    return 0;
  }
  // In pixels times a notch: the rest stays below one pixel.
  const int64_t step = -2 * int64_t{delta} * kLinesPerNotch * LineSize(bar);
  const bool turned = (step < 0) != (*rest < 0) && *rest != 0;
  const int64_t total = step + (turned ? 0 : *rest);
  const int64_t pixels = total / kWheelNotch;
  *rest = static_cast<int>(total % kWheelNotch);
  if (pixels < -bar.client || pixels > bar.client) *rest = 0;
  return static_cast<int>(std::clamp<int64_t>(pixels, -bar.client, bar.client));
}

}  // namespace luma
