#include "core/render/cel_export.h"

#include <algorithm>
#include <cstdint>
#include <memory>

#include "core/host/text.h"
#include "core/host/text_encoding.h"
#include "core/model/kiss_cel.h"
#include "core/render/bmp_file.h"
#include "core/render/render_targets.h"
#include "core/render/renderer.h"

namespace luma {

std::string ProposedCelBitmapName(std::string_view cel_file_name, TextEncoding encoding) {
  const size_t dot = cel_file_name.find('.');
  std::string name = FoldNameCase(cel_file_name.substr(0, dot), encoding);
  return name + ".bmp";
}

Result<bool> ExportCelBitmap(
    RenderDevice& device, const CelInstance& cel, int palette_group, TextEncoding names,
    FileSystem& files, const std::function<std::string(const std::string& proposed)>& ask_path) {
  if (cel.cel == nullptr) return false;
  // Offsets may be far larger than any picture. Cutting the size to 16 bits
  // would save a wrongly sized piece of the cel; a size no device can make
  // is refused like any other target that cannot be created.
  constexpr int64_t kLargestSide = int64_t{1} << 20;
  const int width =
      static_cast<int>(std::min(int64_t{cel.cel->width} + cel.x_offset, kLargestSide));
  const int height =
      static_cast<int>(std::min(int64_t{cel.cel->height} + cel.y_offset, kLargestSide));
  const TextureFormat first = PictureFormat(device);
  struct Attempt {
    int width, height;
    TextureFormat format;
  };
  const Attempt attempts[] = {
      {width, height, first},
      {width, height, TextureFormat::kX8R8G8B8},
      {PowerOfTwoAtLeast(width), PowerOfTwoAtLeast(height), first},
  };
  std::unique_ptr<Surface> target;
  DeviceResult result = DeviceResult::kInvalidCall;
  for (const Attempt& a : attempts) {
    if (a.width <= 0 || a.height <= 0) continue;
    result = device.CreateRenderTarget(a.width, a.height, a.format, 0, &target);
    if (result == DeviceResult::kOk) break;
  }
  if (!target) return Status::Error("Unable to create render target\n" + TargetFailureText(result));
  const std::string path = ask_path(ProposedCelBitmapName(cel.cel->file_name, names));
  if (path.empty()) return false;

  Surface* previous = device.GetRenderTarget();
  device.SetRenderTarget(target.get());
  SetFixedRenderStates(device);
  device.Clear(0xFF000000);
  if (device.BeginScene() == DeviceResult::kOk) {
    DrawCelCentred(device, cel, target->width(), target->height(), palette_group);
    device.EndScene();
  }
  device.SetRenderTarget(previous);
  const Status saved = WriteBmp(files, path, target->View());
  if (!saved.ok()) {
    return Status::Error("Unable to save " + DecodePath(path, TextEncoding::kAutomatic) + ":\n" +
                         saved.message());
  }
  return true;
}

}  // namespace luma
