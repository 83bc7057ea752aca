#include "core/view/device_status.h"

#include "core/host/text.h"

namespace luma {

namespace {

// The same four lines for a device that draws with the processor: no video
// card, no vertex hardware, a texture memory budget instead of video memory.
std::array<std::string, 4> SoftwareDeviceLines(const DeviceFlags& flags) {
  std::array<std::string, 4> lines;
  lines[0] = flags.paletted_textures
                 ? "Paletted textures drawn by the software device."
                 : "Palettes emulated by Lumadoll in the textures of the software device.";
  lines[1] = "Vertex processing and drawing computed by software on the processor.";
  lines[2] = StringPrintf(flags.memory_saver ? "Texture memory conservation mode on\n"
                                               "Texture memory budget: %d Mb"
                                             : "Normal texture memory use\n"
                                               "Texture memory budget: %d Mb",
                          flags.initial_video_memory_mb);
  lines[3] = flags.sixteen_bit_texels ? "16-bit mode" : "32-bit mode";
  return lines;
}

}  // namespace

std::array<std::string, 4> AboutDeviceLines(const DeviceFlags& flags) {
  if (flags.software_device) return SoftwareDeviceLines(flags);
  std::array<std::string, 4> lines;
  if (flags.paletted_textures) {
    lines[0] = "Paletted textures supported by video card.";
  } else if (flags.alpha_palette_supported) {
    lines[0] =
        "Paletted textures supported by video card but palettes emulated by Lumadoll instead.";
  } else {
    lines[0] = "Paletted textures not supported by video card - palettes emulated by Lumadoll.";
  }
  lines[1] = flags.hardware_vertex_processing ? "Vertex processing being handled by video card."
                                              : "Vertex processing being computed by software.";
  lines[2] = StringPrintf(flags.memory_saver ? "Video memory conservation mode on\n"
                                               "Initial video memory: %d Mb"
                                             : "Normal video memory use\n"
                                               "Initial video memory: %d Mb",
                          flags.initial_video_memory_mb);
  lines[3] = flags.sixteen_bit_texels ? "16-bit mode" : "32-bit mode";
  return lines;
}

std::string DeviceStatusReport(RenderDevice* device) {
  if (!device) return "DirectX support not functioning.\r\n";
  const DeviceFlags& flags = device->flags();
  const AdapterInfo adapter = device->Adapter();
  auto either = [](bool on, const char* yes, const char* no) { return on ? yes : no; };
  std::string text = "DirectX Status:\r\n";
  text += either(flags.alpha_palette_supported, "\tAlpha palette supported\r\n",
                 "\tAlpha palette not supported\r\n");
  text +=
      either(flags.paletted_textures, "\tAlpha palette in use\r\n", "\tAlpha palette not used\r\n");
  text += either(flags.memory_saver, "\tMemory Saver in use\r\n", "\tMemory Saver not in use\r\n");
  text += either(flags.hardware_vertex_processing, "\tVertices processed by hardware\r\n",
                 "\tVertices processed by software\r\n");
  const int available = static_cast<int>(device->AvailableTextureMemory() >> 20);
  if (flags.software_device) {
    text += "\tDrawn by software on the processor\r\n";
    text += StringPrintf("\tTexture memory budget: %d Mb\r\n", flags.initial_video_memory_mb);
    text += StringPrintf("\tTexture memory available: %d Mb\r\n", available);
  } else {
    text +=
        StringPrintf("\tInitial video memory available: %d Mb\r\n", flags.initial_video_memory_mb);
    text += StringPrintf("\tCurrent video memory available: %d Mb\r\n", available);
  }
  text += "\tVideo format: " +
          (adapter.desktop_format.empty() ? std::string("Undocumented") : adapter.desktop_format) +
          "\r\n";
  text += StringPrintf("\tScreen Size: %d x %d\r\n", adapter.desktop_width, adapter.desktop_height);
  text += "\r\nAdapter Info:\r\n";
  text += "\t" + adapter.description + "\r\n";
  // The same fields of the driver version as the device messages show.
  text += StringPrintf("\tDriver: %s v%d.%d\r\n", adapter.driver.c_str(),
                       static_cast<int>(adapter.driver_version_high & 0xFFFF),
                       static_cast<int>(adapter.driver_version_low >> 16));
  text += StringPrintf("\tBuild: %d\r\n", static_cast<int>(adapter.driver_version_low & 0xFFFF));
  text += StringPrintf("\tProduct: %d\r\n", static_cast<int>(adapter.driver_version_high >> 16));
  return text;
}

}  // namespace luma
