#ifndef LUMA_CORE_RENDER_BMP_FILE_H_
#define LUMA_CORE_RENDER_BMP_FILE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "core/gfx/image.h"
#include "core/host/file_system.h"
#include "core/host/status.h"

namespace luma {

// A Windows bitmap: 24 bits a pixel, rows bottom-up, each padded to four
// bytes. Alpha is dropped.
std::vector<uint8_t> EncodeBmp(const ImageView& image);
// Writes through a temporary file and a rename.
Status WriteBmp(FileSystem& files, const std::string& path, const ImageView& image);

}  // namespace luma

#endif  // LUMA_CORE_RENDER_BMP_FILE_H_
