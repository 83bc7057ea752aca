#include "core/doll/doll_device.h"

#include <utility>

namespace luma {

std::unique_ptr<RenderDevice> CreateRenderDevice(const Settings& settings,
                                                 const DeviceSetupOptions& options, Host& host) {
  Result<DeviceSetup> setup = SetUpRenderDevice(settings, options);
  if (!setup.ok()) {
    host.ShowMessage(kDeviceErrorCaption, setup.status().message(), MessageIcon::kError);
    return nullptr;
  }
  if (!setup->notice.empty()) {
    host.ShowMessage(kDeviceNoticeCaption, setup->notice, MessageIcon::kInformation);
  }
  return std::move(setup->device);
}

}  // namespace luma
