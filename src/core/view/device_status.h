#ifndef LUMA_CORE_VIEW_DEVICE_STATUS_H_
#define LUMA_CORE_VIEW_DEVICE_STATUS_H_

#include <array>
#include <string>

#include "core/gfx/render_device.h"

namespace luma {

// The about box's four lines on how the device works: palettes, vertex
// processing, video memory use and texel depth.
std::array<std::string, 4> AboutDeviceLines(const DeviceFlags& flags);

// The report's "DirectX Status" section with the adapter, each line ending
// in "\r\n"; without a device the one line saying so.
std::string DeviceStatusReport(RenderDevice* device);

}  // namespace luma

#endif  // LUMA_CORE_VIEW_DEVICE_STATUS_H_
