#ifndef LUMA_CORE_RENDER_VIEW_TRANSFORM_H_
#define LUMA_CORE_RENDER_VIEW_TRANSFORM_H_

#include <limits>
#include <string>

#include "core/gfx/matrix.h"
#include "core/gfx/render_device.h"

namespace luma {

inline constexpr int kMinZoomLevel = -6;
inline constexpr int kMaxZoomLevel = 6;

// The magnification (level below 0) or reduction (above 0) of a zoom level:
// 1, 2, 3, 4, 6, 8 or 10 by the level's size, clamped to -6..6.
int ZoomFactor(int level);
// World units (doll pixels) per screen pixel: 1/factor up to level 0, factor above.
float ZoomScale(int level);

// The largest int is odd and has no even value above it: it gives the one below.
inline int RoundUpToEven(int v) {
  return v < std::numeric_limits<int>::max() ? v + (v & 1) : v - 1;
}

// The level as users read it: "1:1", "2:1" (twice as large), "1:2" (half).
std::string ZoomRatioText(int level);

// The width of the sunken edge drawn around the doll window ("Edged Border").
inline constexpr int kEdgeWidth = 2;

// The most magnified level at which a doll window of `window_width` x
// `window_height` units, with its edge around it when `edged`, fits whole
// into a client of `client_width` x `client_height` pixels; the least
// magnified level when even that does not fit.
int FitZoomLevel(int window_width, int window_height, int client_width, int client_height,
                 bool edged);

// What the view transform is computed from.
struct ViewGeometry {
  int client_width = 0;  // pixels
  int client_height = 0;
  int scroll_x = 0;  // scroll bar positions
  int scroll_y = 0;
  int scroll_range_x = 0;  // maximum minus minimum of each bar
  int scroll_range_y = 0;
  float scale = 1;       // ZoomScale of the zoom level
  int window_width = 0;  // the doll window (the playfield unless FKiSS moved it)
  int window_height = 0;
  int viewport_x = 0;  // origin of the doll window in the playfield
  int viewport_y = 0;
};

// A view's projection and the world translation that puts the playfield in
// it: doll point (x, y) lands at world (x + ox, oy - y).
struct ViewTransform {
  int width = 0;  // client size rounded up to even
  int height = 0;
  float ox = 0;
  float oy = 0;
  Matrix4 projection;
  Matrix4 view;
  Matrix4 world;  // translation (ox, oy, 0)

  void Apply(RenderDevice& device) const;
};

// The scroll size: the doll window (rounded up to even) in screen pixels,
// held to the range of int.
int ScrolledSize(int window_size, float scale);

// Centres a doll window smaller than the client; otherwise follows the
// scroll bars. Odd client sizes count as the next even size, so pixel
// centres stay on whole units.
ViewTransform ComputeViewTransform(const ViewGeometry& geometry);

}  // namespace luma

#endif  // LUMA_CORE_RENDER_VIEW_TRANSFORM_H_
