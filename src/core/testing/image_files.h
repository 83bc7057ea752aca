#ifndef LUMA_CORE_TESTING_IMAGE_FILES_H_
#define LUMA_CORE_TESTING_IMAGE_FILES_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/gfx/image.h"

// Builders of tiny palette and cel files for tests.
namespace luma::testing {

// A header-form cel: 4 or 8 bits a pixel (`pixels` holds one index per
// pixel) or 32 (`pixels` holds ARGB values).
std::vector<uint8_t> MakeCel(int bits, int width, int height, const std::vector<uint32_t>& pixels,
                             int x_offset = 0, int y_offset = 0);

// A header-form 24-bit palette; `groups[g][i]` is colour i of group g as RGB.
std::vector<uint8_t> MakeKcf(const std::vector<std::vector<uint32_t>>& groups);

// The pixels of a 24-bit BMP file as opaque colours; an empty image when the
// bytes are not one.
Image ReadBmp(const std::string& bytes);

}  // namespace luma::testing

#endif  // LUMA_CORE_TESTING_IMAGE_FILES_H_
