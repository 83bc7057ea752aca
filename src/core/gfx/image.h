#ifndef LUMA_CORE_GFX_IMAGE_H_
#define LUMA_CORE_GFX_IMAGE_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace luma {

// A read-only look at 32-bit ARGB pixels, rows `stride` pixels apart.
struct ImageView {
  const uint32_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;

  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * stride + x]; }
};

// An owned 32-bit ARGB picture: frames read back from the device, screenshots.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;  // width * height, row by row, top row first

  Image() = default;
  Image(int w, int h, uint32_t fill = 0)
      : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

  uint32_t& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  ImageView view() const { return {pixels.data(), width, height, width}; }

  // A copy of the rectangle at (x, y), clipped to both images.
  static Image CopyOf(const ImageView& source, int x, int y, int width, int height);
};

}  // namespace luma

#endif  // LUMA_CORE_GFX_IMAGE_H_
