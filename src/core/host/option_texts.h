#ifndef LUMA_CORE_HOST_OPTION_TEXTS_H_
#define LUMA_CORE_HOST_OPTION_TEXTS_H_

#include <string>

namespace luma {

// What the options dialog writes beside its controls.

// "Easy-Click: Off", or the radius in pixels.
std::string EasyClickLabel(int radius);

// The thumbnail size as "64x48".
std::string ThumbnailSizeLabel(int width, int height);

// Whether the device draws indexed cels with palettes of its own.
const char* PalettedTextureStatus(bool supported);

// A rectangle inside a frame, in the frame's pixels.
struct PreviewRect {
  int left = 0, top = 0, width = 0, height = 0;
};

// The thumbnail preview: the size scaled to the frame as the largest
// thumbnail fills it, centred.
PreviewRect ThumbnailPreviewRect(int width, int height, int frame_width, int frame_height);

// How far a page click moves a slider: a tenth of its range, at least 1.
int SliderPageStep(int minimum, int maximum);

}  // namespace luma

#endif  // LUMA_CORE_HOST_OPTION_TEXTS_H_
