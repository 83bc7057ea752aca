#include "core/gfx/device_setup.h"

#include "core/host/text.h"

namespace luma {

constexpr int kMemorySaverThresholdMb = 16;

bool DriverMisdrawsPaletteAlpha(const AdapterInfo& adapter) {
  const int build = static_cast<int>(adapter.driver_version_low & 0xFFFF);
  return adapter.driver.size() >= 10 && StartsWithIgnoreCase(adapter.driver, "NVDD32.DLL") &&
         build >= 4345 && build <= 5304;
}

std::string DescribeAdapter(const AdapterInfo& adapter) {
  std::string text =
      StringPrintf("Resolution: %d x %d x ", adapter.desktop_width, adapter.desktop_height);
  text += adapter.desktop_format.empty() ? "Undocumented" : adapter.desktop_format;
  text += "\nAdapter: " + adapter.description + "\n";
  text += StringPrintf("Driver: %s v%d.%d (build %d, prod %d)\n", adapter.driver.c_str(),
                       static_cast<int>(adapter.driver_version_high & 0xFFFF),
                       static_cast<int>(adapter.driver_version_low >> 16),
                       static_cast<int>(adapter.driver_version_low & 0xFFFF),
                       static_cast<int>(adapter.driver_version_high >> 16));
  return text;
}

bool CheckCapabilities(RenderDevice& device, const Settings& settings, bool emulate_palettes,
                       Host& host) {
  const DeviceCaps caps = device.Caps();
  const AdapterInfo adapter = device.Adapter();
  DeviceFlags& flags = device.mutable_flags();
  if (!caps.windowed) {
    host.ShowMessage(kDeviceErrorCaption,
                     "Drawing in a window is not supported by the graphics device on this "
                     "video card.\n\n" +
                         DescribeAdapter(adapter),
                     MessageIcon::kError);
    return false;
  }
  if (!caps.texture_alpha) {
    host.ShowMessage(kDeviceErrorCaption,
                     "Alpha in texture pixels is not supported on this video card.\n\n" +
                         DescribeAdapter(adapter),
                     MessageIcon::kError);
    return false;
  }
  flags.texel_adjust = settings.texel_adjust;
  flags.palette_warning_on = settings.warn_palette;
  if (caps.palette_alpha && !DriverMisdrawsPaletteAlpha(adapter)) {
    flags.alpha_palette_supported = true;
    flags.paletted_textures = !settings.force_palette && !emulate_palettes;
    return true;
  }
  if (settings.warn_palette) {
    host.ShowMessage("Lumadoll",
                     "Please Note:\n\nAlpha in texture palettes is not supported by this video "
                     "card and driver.\n\nPalette support will be simulated using extra system "
                     "memory.\n",
                     MessageIcon::kInformation);
  } else {
    flags.palette_warning_on = false;
  }
  flags.alpha_palette_supported = false;
  flags.paletted_textures = false;
  return true;
}

std::unique_ptr<RenderDevice> CreateRenderDevice(const Settings& settings,
                                                 const DeviceSetupOptions& options, Host& host) {
  auto device = std::make_unique<SoftwareDevice>(options.software);
  device->mutable_flags().sixteen_bit_texels = device->Adapter().desktop_16_bit;
  if (!CheckCapabilities(*device, settings, options.emulate_palettes, host)) return nullptr;
  SetFixedRenderStates(*device);
  DeviceFlags& flags = device->mutable_flags();
  flags.hardware_vertex_processing = !flags.software_device;
  flags.initial_video_memory_mb = static_cast<int>(device->AvailableTextureMemory() >> 20);
  flags.memory_saver =
      settings.video_memory_saver || flags.initial_video_memory_mb < kMemorySaverThresholdMb;
  return device;
}

}  // namespace luma
