#include "core/host/option_texts.h"

#include <algorithm>

#include "core/host/settings.h"
#include "core/host/text.h"

namespace luma {

std::string EasyClickLabel(int radius) {
  if (radius <= 0) return "Easy-Click: Off";
  return StringPrintf("Easy-Click: %d pixel radius", radius);
}

std::string ThumbnailSizeLabel(int width, int height) {
  return StringPrintf("%dx%d", width, height);
}

const char* PalettedTextureStatus(bool supported) {
  return supported ? "Current Status: Paletted textures supported by this video card."
                   : "Current Status: Paletted textures not supported by this video card.";
}

PreviewRect ThumbnailPreviewRect(int width, int height, int frame_width, int frame_height) {
  PreviewRect rect;
  rect.width =
      std::clamp(width, 0, Settings::kMaxThumbWidth) * frame_width / Settings::kMaxThumbWidth;
  rect.height =
      std::clamp(height, 0, Settings::kMaxThumbHeight) * frame_height / Settings::kMaxThumbHeight;
  rect.left = (frame_width - rect.width) / 2;
  rect.top = (frame_height - rect.height) / 2;
  return rect;
}

int SliderPageStep(int minimum, int maximum) { return std::max(1, (maximum - minimum) / 10); }

}  // namespace luma
