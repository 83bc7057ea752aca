#include "core/gfx/device_types.h"

namespace luma {

const char* DeviceResultText(DeviceResult result) {
  switch (result) {
    case DeviceResult::kOk:
      return "No error.";
    case DeviceResult::kNotAvailable:
      return "This format or feature is not available on the graphics device.";
    case DeviceResult::kInvalidCall:
      return "The graphics device was called with invalid arguments.";
    case DeviceResult::kOutOfMemory:
      return "Not enough memory.";
    case DeviceResult::kOutOfVideoMemory:
      return "Not enough texture memory.";
    case DeviceResult::kDeviceError:
      break;
  }
  return "The graphics device failed.";
}

int BytesPerTexel(TextureFormat format) {
  switch (format) {
    case TextureFormat::kP8:
      return 1;
    case TextureFormat::kA4R4G4B4:
      return 2;
    case TextureFormat::kA8R8G8B8:
    case TextureFormat::kX8R8G8B8:
      return 4;
  }
  return 4;
}

const char* TextureFormatName(TextureFormat format) {
  switch (format) {
    case TextureFormat::kP8:
      return "P8";
    case TextureFormat::kA4R4G4B4:
      return "A4R4G4B4";
    case TextureFormat::kA8R8G8B8:
      return "A8R8G8B8";
    case TextureFormat::kX8R8G8B8:
      return "X8R8G8B8";
  }
  return "Undocumented";
}

}  // namespace luma
