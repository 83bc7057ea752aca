#include "core/render/scene_picture.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "core/host/text.h"
#include "core/render/view_transform.h"

namespace luma {

int PlayfieldPictureWidth(const Scene& scene, int zoom) {
  return std::max(1, static_cast<int>(std::lround(scene.doll->playfield.width / ZoomScale(zoom))));
}

int PlayfieldPictureHeight(const Scene& scene, int zoom) {
  return std::max(1, static_cast<int>(std::lround(scene.doll->playfield.height / ZoomScale(zoom))));
}

Result<Image> RenderScenePicture(RenderDevice& device, const Scene& scene, int zoom, int width,
                                 int height) {
  if (width <= 0 || height <= 0) {
    width = PlayfieldPictureWidth(scene, zoom);
    height = PlayfieldPictureHeight(scene, zoom);
  }
  const ViewTransform transform =
      ComputeViewTransform(SceneViewGeometry(scene, width, height, ZoomScale(zoom)));
  std::unique_ptr<Surface> target;
  DeviceResult result = device.CreateRenderTarget(transform.width, transform.height,
                                                  TextureFormat::kX8R8G8B8, 0, &target);
  if (result == DeviceResult::kInvalidCall) {
    // The size is the one thing a caller can ask wrongly here: a large
    // playfield at a magnifying zoom level.
    return Status::Error(StringPrintf(
        "The picture would be %d x %d pixels, more than the graphics device draws at once.",
        transform.width, transform.height));
  }
  if (result == DeviceResult::kOk) {
    FrameRenderer renderer(device);
    result = renderer.RenderToTarget(*target, scene, transform);
  }
  if (result != DeviceResult::kOk) return Status::Error(DeviceResultText(result));
  return Image::CopyOf(target->View(), 0, 0, width, height);
}

}  // namespace luma
