#include "core/gfx/render_device.h"

#include <algorithm>

namespace luma {

unsigned RenderDevice::AllocatePaletteBase() {
  for (unsigned base = 0; base < kPaletteNumberLimit; base += kPaletteBlockSize) {
    if (std::find(palette_bases_.begin(), palette_bases_.end(), base) == palette_bases_.end()) {
      palette_bases_.push_back(base);
      return base;
    }
  }
  return 0;
}

void RenderDevice::FreePaletteBase(unsigned base) {
  auto it = std::find(palette_bases_.begin(), palette_bases_.end(), base);
  if (it != palette_bases_.end()) palette_bases_.erase(it);
}

void SetFixedRenderStates(RenderDevice& device) {
  device.SetRenderState(RenderState::kLighting, 0);
  device.SetRenderState(RenderState::kDitherEnable, 0);
  device.SetRenderState(RenderState::kMultisampleAntialias, 0);
  device.SetRenderState(RenderState::kEdgeAntialias, 0);
  device.SetRenderState(RenderState::kAlphaBlendEnable, 1);
  device.SetRenderState(RenderState::kSrcBlend, static_cast<uint32_t>(Blend::kSrcAlpha));
  device.SetRenderState(RenderState::kDestBlend, static_cast<uint32_t>(Blend::kInvSrcAlpha));
  device.SetTextureStageState(0, TextureStageState::kAlphaOp,
                              static_cast<uint32_t>(TextureOp::kModulate));
  device.SetTextureStageState(0, TextureStageState::kMagFilter,
                              static_cast<uint32_t>(TextureFilter::kPoint));
  device.SetTextureStageState(0, TextureStageState::kMinFilter,
                              static_cast<uint32_t>(TextureFilter::kPoint));
  device.SetTextureStageState(0, TextureStageState::kMipFilter,
                              static_cast<uint32_t>(TextureFilter::kNone));
}

}  // namespace luma
