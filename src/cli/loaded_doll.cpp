#include "cli/loaded_doll.h"

#include "core/doll/doll_device.h"

namespace luma::cli {

LoadedDoll LoadDoll(const std::string& path, Host& host, const Settings& settings) {
  LoadedDoll loaded;
  loaded.device = CreateRenderDevice(settings, DeviceSetupOptions(), host);
  if (!loaded.device) return loaded;
  loaded.doc = std::make_unique<CKissCnfDoc>(host, *loaded.device, settings);
  if (!loaded.doc->OpenDoll(path)) loaded.doc.reset();
  return loaded;
}

}  // namespace luma::cli
