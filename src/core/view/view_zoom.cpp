// The view's window: client size, swap chain, zoom, scroll bars, the wheel
// and the mapping between client pixels and doll units.
#include <algorithm>
#include <cmath>

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

void CKissCnfView::Wheel(int delta, bool ctrl) {
  const bool zooms = settings_.scroll_type == 0 ? !ctrl : ctrl;
  if (zooms) {
    if (delta > 0) ZoomIn();
    if (delta < 0) ZoomOut();
    return;
  }
  // The vertical bar when there is one, else the horizontal.
  const bool vertical = bars_[1].active() || !bars_[0].active();
  ScrollBar& bar = bars_[vertical ? 1 : 0];
  const int distance = WheelScrollDistance(bar, delta);
  if (distance == 0) return;
  bar.position = bar.Clamp(bar.position + distance);
  front().SetScrollPosition(bars_[0].position, bars_[1].position);
  UpdateTransform();
  Redraw();
}

PlayPoint CKissCnfView::ScreenToDoll(ClientPoint point) const {
  const double scale = ZoomScale(zoom_level_);
  const double world_x = point.x * scale - transform_.width * scale / 2 - transform_.ox;
  const double world_y = transform_.height * scale / 2 - point.y * scale - transform_.oy;
  return PlayPoint{static_cast<int>(std::lround(world_x)), -static_cast<int>(std::lround(world_y))};
}

ClientPoint CKissCnfView::DollToScreen(PlayPoint point) const {
  const double scale = ZoomScale(zoom_level_);
  const double x = (point.x + transform_.ox + transform_.width * scale / 2) / scale;
  const double y = (point.y - transform_.oy + transform_.height * scale / 2) / scale;
  return ClientPoint{static_cast<int>(std::lround(x)), static_cast<int>(std::lround(y))};
}

ClientRect CKissCnfView::DollToScreen(int left, int top, int right, int bottom) const {
  const ClientPoint a = DollToScreen(PlayPoint{left, top});
  const ClientPoint b = DollToScreen(PlayPoint{right, bottom});
  return ClientRect{a.x, a.y, b.x, b.y};
}

}  // namespace luma
