#include "core/render/bmp_file.h"

#include "core/host/file_io.h"

namespace luma {
namespace {

void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = static_cast<uint8_t>(v);
  out[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  Put16(out, at, v & 0xFFFF);
  Put16(out, at + 2, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBmp(const ImageView& image) {
  constexpr size_t kHeaders = 14 + 40;
  const size_t row = (static_cast<size_t>(image.width) * 3 + 3) & ~size_t{3};
  const size_t pixels = row * image.height;
  std::vector<uint8_t> out(kHeaders + pixels, 0);
  out[0] = 'B';
  out[1] = 'M';
  Put32(out, 2, static_cast<uint32_t>(out.size()));
  Put32(out, 10, kHeaders);
  Put32(out, 14, 40);
  Put32(out, 18, static_cast<uint32_t>(image.width));
  Put32(out, 22, static_cast<uint32_t>(image.height));
  Put16(out, 26, 1);   // planes
  Put16(out, 28, 24);  // bits a pixel
  Put32(out, 34, static_cast<uint32_t>(pixels));
  Put32(out, 38, 2835);  // 72 dots per inch
  Put32(out, 42, 2835);
  for (int y = 0; y < image.height; ++y) {
    uint8_t* dst = out.data() + kHeaders + (image.height - 1 - y) * row;
    for (int x = 0; x < image.width; ++x) {
      const uint32_t c = image.at(x, y);
      dst[3 * x] = static_cast<uint8_t>(c);
      dst[3 * x + 1] = static_cast<uint8_t>(c >> 8);
      dst[3 * x + 2] = static_cast<uint8_t>(c >> 16);
    }
  }
  return out;
}

Status WriteBmp(FileSystem& files, const std::string& path, const ImageView& image) {
  return ReplaceFile(files, path, EncodeBmp(image));
}

}  // namespace luma
