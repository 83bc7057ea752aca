#ifndef LUMA_CORE_DOLL_DOLL_DEVICE_H_
#define LUMA_CORE_DOLL_DOLL_DEVICE_H_

#include <memory>

#include "core/gfx/device_setup.h"
#include "core/gfx/render_device.h"
#include "core/host/host.h"
#include "core/host/settings.h"

namespace luma {

// The graphics device dolls are drawn with, as SetUpRenderDevice makes it;
// why it is unfit, or what to know about it, is shown through `host`. Null
// when the device cannot be used.
std::unique_ptr<RenderDevice> CreateRenderDevice(const Settings& settings,
                                                 const DeviceSetupOptions& options, Host& host);

}  // namespace luma

#endif  // LUMA_CORE_DOLL_DOLL_DEVICE_H_
