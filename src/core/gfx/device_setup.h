#ifndef LUMA_CORE_GFX_DEVICE_SETUP_H_
#define LUMA_CORE_GFX_DEVICE_SETUP_H_

#include <memory>
#include <string>

#include "core/gfx/render_device.h"
#include "core/gfx/software_device.h"
#include "core/host/host.h"
#include "core/host/settings.h"

namespace luma {

inline constexpr char kDeviceErrorCaption[] = "Graphics Device Error";

// Options of the one device a program makes.
struct DeviceSetupOptions {
  SoftwareDeviceOptions software;
  // Emulate palettes even though the device offers them (as "Force Palette").
  bool emulate_palettes = false;
};

// Makes the graphics device, runs the capability checks with their messages
// and fixes the flags that shape the renderer. Null when the device is unfit
// (the reason has been shown).
std::unique_ptr<RenderDevice> CreateRenderDevice(const Settings& settings,
                                                 const DeviceSetupOptions& options, Host& host);

// The capability checks in their order, each failure shown with the adapter
// text. Sets texel adjust, alpha palette supported, paletted textures in use
// and the palette warning flag. False when the device cannot be used.
bool CheckCapabilities(RenderDevice& device, const Settings& settings, bool emulate_palettes,
                       Host& host);

// Some drivers claim alpha in texture palettes but draw it wrongly.
bool DriverMisdrawsPaletteAlpha(const AdapterInfo& adapter);

// "Resolution: ...\nAdapter: ...\nDriver: ...\n", as the system report and
// the device messages show it.
std::string DescribeAdapter(const AdapterInfo& adapter);

}  // namespace luma

#endif  // LUMA_CORE_GFX_DEVICE_SETUP_H_
