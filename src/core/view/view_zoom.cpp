// The view's window: client size, swap chain, zoom, scroll bars, the wheel
// and the mapping between client pixels and doll units.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "core/model/doll_limits.h"
#include "core/view/kiss_cnf_view.h"

namespace luma {

void CKissCnfView::SetPresenter(PresentFunction present) {
  present_ = std::move(present);
  Resize(client_width_, client_height_);
}

void CKissCnfView::Resize(int client_width, int client_height) {
  client_width_ = std::max(0, client_width);
  client_height_ = std::max(0, client_height);
  chain_.reset();
  if (present_ && client_width_ > 0 && client_height_ > 0) {
    // The back buffer has the even size the projection assumes; an odd
    // client shows its left and top part.
    if (doc_.device().CreateSwapChain(RoundUpToEven(client_width_), RoundUpToEven(client_height_),
                                      present_, &chain_) != DeviceResult::kOk) {
      chain_.reset();
    }
  }
  SetZoom(zoom_level_);
}

void CKissCnfView::SetZoom(int level) {
  zoom_level_ = std::clamp(level, kMinZoomLevel, kMaxZoomLevel);
  const float scale = ZoomScale(zoom_level_);
  bars_[0].content = ScrolledSize(window_.x, scale);
  bars_[1].content = ScrolledSize(window_.y, scale);
  bars_[0].client = client_width_;
  bars_[1].client = client_height_;
  for (ScrollBar& bar : bars_) bar.position = bar.Clamp(bar.position);
  front().SetScrollSize(bars_[0].content, bars_[1].content);
  UpdateTransform();
}

void CKissCnfView::ChangeZoom(int level) {
  SetZoom(level);
  Redraw();
}

void CKissCnfView::UpdateTransform() {
  ViewGeometry g;
  g.client_width = client_width_;
  g.client_height = client_height_;
  g.scroll_x = bars_[0].position;
  g.scroll_y = bars_[1].position;
  g.scroll_range_x = bars_[0].range();
  g.scroll_range_y = bars_[1].range();
  g.scale = ZoomScale(zoom_level_);
  g.window_width = window_.x;
  g.window_height = window_.y;
  g.viewport_x = viewport_.x;
  g.viewport_y = viewport_.y;
  transform_ = ComputeViewTransform(g);
}

void CKissCnfView::FitWindow() {
  front().FitWindow(bars_[0].content, bars_[1].content, false);
  Redraw();
}

void CKissCnfView::Scroll(bool vertical, ScrollAction action, int thumb) {
  ScrollBar& bar = bars_[vertical ? 1 : 0];
  bar.position = ScrolledPosition(bar, action, thumb);
  front().SetScrollPosition(bars_[0].position, bars_[1].position);
  UpdateTransform();
  Redraw();
}

void CKissCnfView::SetScrollPositions(int x, int y) {
  bars_[0].position = bars_[0].Clamp(x);
  bars_[1].position = bars_[1].Clamp(y);
  UpdateTransform();
  Redraw();
}

void CKissCnfView::ZoomToFit(int area_width, int area_height) {
  ChangeZoom(FitZoomLevel(window_.x, window_.y, area_width, area_height, settings_.edged_border));
}

void CKissCnfView::Wheel(const WheelInput& input) {
  int vertical = input.delta_y;
  int sideways = input.delta_x;
  if (input.shift && sideways == 0) std::swap(vertical, sideways);
  if (vertical != 0) {
    const bool zooms = settings_.scroll_type == 0 ? !input.ctrl : input.ctrl;
    if (zooms) {
      WheelZoom(vertical);
    } else {
      // The vertical bar when there is one, else the horizontal.
      WheelScroll(bars_[1].active() || !bars_[0].active() ? 1 : 0, vertical);
    }
  }
  if (sideways != 0) WheelScroll(0, sideways);
}

void CKissCnfView::WheelZoom(int delta) {
  constexpr int kNotch = 120;
  // A turn of direction starts afresh, so the wheel answers at once.
  const bool turned = (delta < 0) != (wheel_zoom_rest_ < 0) && wheel_zoom_rest_ != 0;
  const int64_t total = int64_t{delta} + (turned ? 0 : wheel_zoom_rest_);
  const int64_t steps = total / kNotch;
  wheel_zoom_rest_ = static_cast<int>(total % kNotch);
  if (steps == 0) return;
  // Up the wheel magnifies: a lower level.
  const int64_t wanted = zoom_level_ - steps;
  const int level = static_cast<int>(std::clamp<int64_t>(wanted, kMinZoomLevel, kMaxZoomLevel));
  // Nothing is kept for beyond the last level.
  if (level != wanted) wheel_zoom_rest_ = 0;
  if (level != zoom_level_) ChangeZoom(level);
}

void CKissCnfView::WheelScroll(int axis, int delta) {
  ScrollBar& bar = bars_[axis];
  const int distance = WheelScrollDistance(bar, delta, &wheel_scroll_rest_[axis]);
  if (distance == 0) return;
  const int position = bar.Clamp(int64_t{bar.position} + distance);
  if (position == bar.position) {
    wheel_scroll_rest_[axis] = 0;
    return;
  }
  bar.position = position;
  front().SetScrollPosition(bars_[0].position, bars_[1].position);
  UpdateTransform();
  Redraw();
}

namespace {

// Rounds and holds a converted coordinate inside [-limit, limit].
int RoundWithin(double v, double limit) {
  return static_cast<int>(std::clamp(std::round(v), -limit, limit));
}

}  // namespace

PlayPoint CKissCnfView::ScreenToDoll(ClientPoint point) const {
  const double scale = ZoomScale(zoom_level_);
  const double world_x = point.x * scale - transform_.width * scale / 2 - transform_.ox;
  const double world_y = transform_.height * scale / 2 - point.y * scale - transform_.oy;
  return PlayPoint{RoundWithin(world_x, kMaxCoordinate), -RoundWithin(world_y, kMaxCoordinate)};
}

ClientPoint CKissCnfView::DollToScreen(PlayPoint point) const {
  const double scale = ZoomScale(zoom_level_);
  const double x = (point.x + transform_.ox + transform_.width * scale / 2) / scale;
  const double y = (point.y - transform_.oy + transform_.height * scale / 2) / scale;
  constexpr double kIntLimit = std::numeric_limits<int>::max();
  return ClientPoint{RoundWithin(x, kIntLimit), RoundWithin(y, kIntLimit)};
}

ClientRect CKissCnfView::DollToScreen(int left, int top, int right, int bottom) const {
  const ClientPoint a = DollToScreen(PlayPoint{left, top});
  const ClientPoint b = DollToScreen(PlayPoint{right, bottom});
  return ClientRect{a.x, a.y, b.x, b.y};
}

}  // namespace luma
