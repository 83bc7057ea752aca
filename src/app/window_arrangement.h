#ifndef LUMA_APP_WINDOW_ARRANGEMENT_H_
#define LUMA_APP_WINDOW_ARRANGEMENT_H_

#include <QRect>
#include <QSize>
#include <vector>

namespace luma::app {

// Where "Cascade" puts windows whose fitted sizes are `fitted`, in order,
// inside `area`: each `step` pixels right of and below the one before, at
// its fitted size where that fits and cut at the area's edges where it does
// not. A window that would start too close to the edges to show anything
// starts the staircase again at the top left.
std::vector<QRect> CascadeGeometry(const QRect& area, const std::vector<QSize>& fitted, int step);

// Where "Tile" puts them: the area cut into equal bands, one above the other
// (Qt::Vertical, "Tile Horizontally") or side by side (Qt::Horizontal,
// "Tile Vertically"); each window at the top left of its band, at its fitted
// size cut to the band.
std::vector<QRect> TileGeometry(const QRect& area, const std::vector<QSize>& fitted,
                                Qt::Orientation orientation);

}  // namespace luma::app

#endif  // LUMA_APP_WINDOW_ARRANGEMENT_H_
