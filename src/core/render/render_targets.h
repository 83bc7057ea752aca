#ifndef LUMA_CORE_RENDER_RENDER_TARGETS_H_
#define LUMA_CORE_RENDER_RENDER_TARGETS_H_

#include <string>

#include "core/gfx/render_device.h"

namespace luma {

// What follows "Unable to create render target\n" in a message about an
// off-screen picture that could not be made.
std::string TargetFailureText(DeviceResult result);

// The side of a fallback target: a power of two, at least 64.
int PowerOfTwoAtLeast(int v);

// The texel format pictures are made in first: 16-bit texels when the
// device uses them for textures, else 32-bit.
TextureFormat PictureFormat(const RenderDevice& device);

}  // namespace luma

#endif  // LUMA_CORE_RENDER_RENDER_TARGETS_H_
