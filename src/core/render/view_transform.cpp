#include "core/render/view_transform.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace luma {

int ZoomFactor(int level) {
  static constexpr int kFactors[] = {1, 2, 3, 4, 6, 8, 10};
  return kFactors[std::abs(std::clamp(level, kMinZoomLevel, kMaxZoomLevel))];
}

float ZoomScale(int level) {
  const int factor = ZoomFactor(level);
  return level <= 0 ? 1.0f / factor : static_cast<float>(factor);
}

std::string ZoomRatioText(int level) {
  const std::string factor = std::to_string(ZoomFactor(level));
  return level <= 0 ? factor + ":1" : "1:" + factor;
}

int FitZoomLevel(int window_width, int window_height, int client_width, int client_height,
                 bool edged) {
  const int64_t edge = edged ? 2 * kEdgeWidth : 0;
  auto even = [](int v) {
    const int64_t u = std::max(0, v);
    return u + (u & 1);
  };
  const int64_t units_w = even(window_width) + edge;
  const int64_t units_h = even(window_height) + edge;
  for (int level = kMinZoomLevel; level < kMaxZoomLevel; ++level) {
    const int64_t factor = ZoomFactor(level);
    // Shown size in pixels, a part pixel counting as a whole one.
    auto pixels = [&](int64_t units) {
      return level <= 0 ? units * factor : (units + factor - 1) / factor;
    };
    if (pixels(units_w) <= client_width && pixels(units_h) <= client_height) return level;
  }
  return kMaxZoomLevel;
}

int ScrolledSize(int window_size, float scale) {
  if (!(scale > 0)) return 0;
  const double size = std::round(RoundUpToEven(window_size) / static_cast<double>(scale));
  return static_cast<int>(
      std::clamp(size, 0.0, static_cast<double>(std::numeric_limits<int>::max())));
}

void ViewTransform::Apply(RenderDevice& device) const {
  device.SetTransform(TransformKind::kProjection, projection);
  device.SetTransform(TransformKind::kView, view);
  device.SetTransform(TransformKind::kWorld, world);
}

ViewTransform ComputeViewTransform(const ViewGeometry& g) {
  ViewTransform t;
  t.width = RoundUpToEven(g.client_width);
  t.height = RoundUpToEven(g.client_height);
  const double scale = g.scale;
  const double w = t.width * scale;
  const double h = t.height * scale;
  const double window_w = RoundUpToEven(g.window_width);
  const double window_h = RoundUpToEven(g.window_height);
  double ox, oy, rx = 0, ry = 0;
  if (ScrolledSize(g.window_width, g.scale) > t.width) {
    ox = -g.viewport_x - w / 2;
    if (g.scroll_range_x > 0) rx = static_cast<double>(g.scroll_x) / g.scroll_range_x;
  } else {
    ox = -g.viewport_x - window_w / 2;
  }
  if (ScrolledSize(g.window_height, g.scale) > t.height) {
    oy = g.viewport_y + h / 2;
    if (g.scroll_range_y > 0) ry = static_cast<double>(g.scroll_y) / g.scroll_range_y;
  } else {
    oy = window_h / 2 + g.viewport_y;
  }
  t.ox = static_cast<float>(std::lround(ox - window_w * rx));
  t.oy = static_cast<float>(std::lround(oy + window_h * ry));
  t.projection = Matrix4::OrthoLH(static_cast<float>(w), static_cast<float>(h), 0, 1);
  t.view = Matrix4::Identity();
  t.world = Matrix4::Translation(t.ox, t.oy, 0);
  return t;
}

}  // namespace luma
