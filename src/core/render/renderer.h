#ifndef LUMA_CORE_RENDER_RENDERER_H_
#define LUMA_CORE_RENDER_RENDERER_H_

#include <cstdint>
#include <memory>

#include "core/gfx/render_device.h"
#include "core/gfx/texture_pool.h"
#include "core/model/doll_model.h"
#include "core/render/border_geometry.h"
#include "core/render/view_transform.h"

namespace luma {

// The desktop's colours for the border of a doll without palettes: button
// face, 3D light and 3D dark shadow.
struct SystemBorderColors {
  uint32_t face = 0xFFD4D0C8;
  uint32_t light = 0xFFFFFFFF;
  uint32_t dark = 0xFF404040;
};

// What one frame shows: a doll in one of its sets.
struct Scene {
  DollModel* doll = nullptr;
  int set = 0;
  int palette_group = -1;  // -1: the set's own palette group
  // The doll window: its origin in the playfield and its size (0: the playfield's).
  int viewport_x = 0;
  int viewport_y = 0;
  int window_width = 0;
  int window_height = 0;
  bool edged_border = true;  // "Edged Border"
  SystemBorderColors system_colors;

  int group() const;
  int doll_window_width() const;
  int doll_window_height() const;
};

// The view geometry of a scene at a zoom level in a client of the given
// size, not scrolled (a doll larger than the client shows its top-left part).
ViewGeometry SceneViewGeometry(const Scene& scene, int client_width, int client_height,
                               float scale);

// Draws scenes for one view. It keeps the view's border buffer, remade when
// the window, playfield or colours change.
class FrameRenderer {
 public:
  explicit FrameRenderer(RenderDevice& device) : device_(device) {}

  // The frame: clear to the set's background colour, the border under the
  // cels, the instances of the set from the last to the first (so the first
  // cel line lies on top), the border over them, then present. The back
  // buffer should have the transform's (even) size; a window shows its
  // left and top part when the client is odd.
  DeviceResult DrawFrame(SwapChain& chain, const Scene& scene, const ViewTransform& transform);
  // The same scene into another target, without presenting.
  DeviceResult RenderToTarget(Surface& target, const Scene& scene, const ViewTransform& transform);

 private:
  DeviceResult UpdateBorder(const Scene& scene);

  RenderDevice& device_;
  std::unique_ptr<VertexBuffer> border_;
  BorderGeometry border_geometry_;
};

// One instance, all its tile rows, at the object's place in `set`;
// (ox, oy) is the playfield origin in world units.
DeviceResult DrawInstance(RenderDevice& device, const CelInstance& instance, int set,
                          int palette_group, float ox, float oy);
// An instance drawn again over a finished frame, fully opaque whatever its
// transparency and with its colours inverted: how located objects flash.
DeviceResult DrawInstanceHighlighted(RenderDevice& device, const CelInstance& instance, int set,
                                     int palette_group, float ox, float oy);
// One 16 x 16 tile of an instance, with the same rules.
DeviceResult DrawTile(RenderDevice& device, const CelQuad& quad, int set, int palette_group,
                      float ox, float oy);
// One instance centred in a target of width x height (cel export), always
// with the texture's own alpha. Sets its own transforms; like DrawInstance it runs
// between BeginScene and EndScene and does not clear.
DeviceResult DrawCelCentred(RenderDevice& device, const CelInstance& instance, int width,
                            int height, int palette_group);

// The statistics of a document's render data.
struct RenderCounters {
  int quads = 0;     // visible tiles over all instances
  int textures = 0;  // texture pages
  uint64_t texture_bytes = 0;
  int used_blocks = 0;
  int total_blocks = 0;
};
RenderCounters CountRenderResources(const DollModel& doll, const TexturePool& pool);

}  // namespace luma

#endif  // LUMA_CORE_RENDER_RENDERER_H_
