#include "core/render/render_targets.h"

namespace luma {

std::string TargetFailureText(DeviceResult result) {
  switch (result) {
    case DeviceResult::kOutOfMemory:
      return "Graphics device out of memory";
    case DeviceResult::kOutOfVideoMemory:
      return "Graphics device out of video memory";
    case DeviceResult::kInvalidCall:
      return "Graphics device invalid call";
    default:
      return DeviceResultText(result);
  }
}

int PowerOfTwoAtLeast(int v) {
  int p = 64;
  while (p < v && p < (1 << 30)) p *= 2;
  return p;
}

TextureFormat PictureFormat(const RenderDevice& device) {
  return device.flags().sixteen_bit_texels ? TextureFormat::kA4R4G4B4 : TextureFormat::kA8R8G8B8;
}

}  // namespace luma
