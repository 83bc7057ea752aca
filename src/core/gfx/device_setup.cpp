#include "core/gfx/device_setup.h"

#include <utility>

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

Result<std::string> CheckCapabilities(RenderDevice& device, const Settings& settings,
                                      bool emulate_palettes) {
  const DeviceCaps caps = device.Caps();
  const AdapterInfo adapter = device.Adapter();
  DeviceFlags& flags = device.mutable_flags();
  if (!caps.windowed) {
    return Status::Error(
        "Drawing in a window is not supported by the graphics device on this video card.\n\n" +
        DescribeAdapter(adapter));
  }
  if (!caps.texture_alpha) {
    return Status::Error("Alpha in texture pixels is not supported on this video card.\n\n" +
                         DescribeAdapter(adapter));
  }
  flags.texel_adjust = settings.texel_adjust;
  flags.palette_warning_on = settings.warn_palette;
  if (caps.palette_alpha && !DriverMisdrawsPaletteAlpha(adapter)) {
    flags.alpha_palette_supported = true;
    flags.paletted_textures = !settings.force_palette && !emulate_palettes;
    return std::string();
  }
  flags.alpha_palette_supported = false;
  flags.paletted_textures = false;
  if (!settings.warn_palette) {
    flags.palette_warning_on = false;
    return std::string();
  }
  return std::string(
      "Please Note:\n\nAlpha in texture palettes is not supported by this video card and "
      "driver.\n\nPalette support will be simulated using extra system memory.\n");
}

Result<DeviceSetup> SetUpRenderDevice(const Settings& settings, const DeviceSetupOptions& options) {
  auto device = std::make_unique<SoftwareDevice>(options.software);
  device->mutable_flags().sixteen_bit_texels = device->Adapter().desktop_16_bit;
  Result<std::string> notice = CheckCapabilities(*device, settings, options.emulate_palettes);
  if (!notice.ok()) return notice.status();
  SetFixedRenderStates(*device);
  DeviceFlags& flags = device->mutable_flags();
  flags.hardware_vertex_processing = !flags.software_device;
  flags.initial_video_memory_mb = static_cast<int>(device->AvailableTextureMemory() >> 20);
  flags.memory_saver =
      settings.video_memory_saver || flags.initial_video_memory_mb < kMemorySaverThresholdMb;
  return DeviceSetup{std::move(device), std::move(*notice)};
}

}  // namespace luma
