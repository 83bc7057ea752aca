#ifndef LUMA_CORE_GFX_DEVICE_SETUP_H_
#define LUMA_CORE_GFX_DEVICE_SETUP_H_

#include <memory>
#include <string>

#include "core/gfx/render_device.h"
#include "core/gfx/software_device.h"
#include "core/host/settings.h"
#include "core/host/status.h"

namespace luma {

inline constexpr char kDeviceErrorCaption[] = "Graphics Device Error";
inline constexpr char kDeviceNoticeCaption[] = "Lumadoll";

// Options of the one device a program makes.
struct DeviceSetupOptions {
  SoftwareDeviceOptions software;
  // Emulate palettes even though the device offers them (as "Force Palette").
  bool emulate_palettes = false;
};

// A device ready for drawing and what the user is to be told about it
// (titled kDeviceNoticeCaption; empty when there is nothing to tell).
struct DeviceSetup {
  std::unique_ptr<RenderDevice> device;
  std::string notice;
};

// Makes the graphics device, runs the capability checks and fixes the flags
// that shape the renderer. Fails, with the reason for a message titled
// kDeviceErrorCaption, when the device is unfit.
Result<DeviceSetup> SetUpRenderDevice(const Settings& settings, const DeviceSetupOptions& options);

// The capability checks in their order, each failure worded with the adapter
// text. Sets texel adjust, alpha palette supported, paletted textures in use
// and the palette warning flag. Returns the notice the user is to see.
Result<std::string> CheckCapabilities(RenderDevice& device, const Settings& settings,
                                      bool emulate_palettes);

// Some drivers claim alpha in texture palettes but draw it wrongly.
bool DriverMisdrawsPaletteAlpha(const AdapterInfo& adapter);

// "Resolution: ...\nAdapter: ...\nDriver: ...\n", as the system report and
// the device messages show it.
std::string DescribeAdapter(const AdapterInfo& adapter);

}  // namespace luma

#endif  // LUMA_CORE_GFX_DEVICE_SETUP_H_
