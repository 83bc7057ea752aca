#ifndef LUMA_CORE_RENDER_SCENE_PICTURE_H_
#define LUMA_CORE_RENDER_SCENE_PICTURE_H_

#include "core/gfx/image.h"
#include "core/gfx/render_device.h"
#include "core/host/status.h"
#include "core/render/renderer.h"

namespace luma {

// One frame of `scene` at zoom level `zoom` in a view client of `width` x
// `height` pixels, with the border and the centring the doll window draws;
// 0 x 0 is the whole playfield at the zoom's scale (at zoom 0 the playfield
// pixel for pixel). Every front end that writes or shows a still picture of
// a doll draws it here, so they agree to the pixel. Fails with the device's
// reason when the frame cannot be drawn.
Result<Image> RenderScenePicture(RenderDevice& device, const Scene& scene, int zoom, int width,
                                 int height);

// The client size RenderScenePicture uses for 0 x 0.
int PlayfieldPictureWidth(const Scene& scene, int zoom);
int PlayfieldPictureHeight(const Scene& scene, int zoom);

}  // namespace luma

#endif  // LUMA_CORE_RENDER_SCENE_PICTURE_H_
