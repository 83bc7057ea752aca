#include "app/window_arrangement.h"

#include <algorithm>

namespace luma::app {
namespace {

// What a window keeps on screen at least: its title and a corner of the doll.
constexpr int kMinimumShown = 120;

}  // namespace

std::vector<QRect> CascadeGeometry(const QRect& area, const std::vector<QSize>& fitted, int step) {
  std::vector<QRect> out;
  step = std::max(1, step);
  int offset = 0;
  for (const QSize& size : fitted) {
    if (offset > 0 &&
        (area.width() - offset < kMinimumShown || area.height() - offset < kMinimumShown)) {
      offset = 0;
    }
    const QPoint at = area.topLeft() + QPoint(offset, offset);
    out.emplace_back(at, QSize(std::min(size.width(), area.right() + 1 - at.x()),
                               std::min(size.height(), area.bottom() + 1 - at.y())));
    offset += step;
  }
  return out;
}

std::vector<QRect> TileGeometry(const QRect& area, const std::vector<QSize>& fitted,
                                Qt::Orientation orientation) {
  std::vector<QRect> out;
  const int n = static_cast<int>(fitted.size());
  for (int i = 0; i < n; ++i) {
    QRect band;
    if (orientation == Qt::Vertical) {
      const int h = area.height() / n;
      band = QRect(area.left(), area.top() + i * h, area.width(),
                   i == n - 1 ? area.height() - i * h : h);
    } else {
      const int w = area.width() / n;
      band = QRect(area.left() + i * w, area.top(), i == n - 1 ? area.width() - i * w : w,
                   area.height());
    }
    out.emplace_back(band.topLeft(), fitted[i].boundedTo(band.size()));
  }
  return out;
}

}  // namespace luma::app
