// CEL images from outside, decoded in each texture mode of the device: no
// read or write outside the data, the texture or the index buffer, and a cel
// that decodes writes back to the same pixels.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/gfx/software_device.h"
#include "core/model/cel_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (int mode = 0; mode < 3; ++mode) {
    luma::SoftwareDeviceOptions options;
    options.texture_memory_bytes = 256u << 20;
    options.row_padding = 4;
    luma::SoftwareDevice device(options);
    device.mutable_flags().paletted_textures = mode == 0;
    device.mutable_flags().sixteen_bit_texels = mode == 2;
    luma::TexturePool pool;
    const luma::CelTextureSource source{&device, &pool, true};
    luma::KissCel cel;
    if (!luma::DecodeCel(cel, std::span(data, size), source)) continue;
    luma::ApplyPalette(cel, luma::KissPalette::DefaultTable(), false);
    for (int y = -1; y <= cel.height; y += 7) {
      for (int x = -1; x <= cel.width; x += 5) luma::IsOpaque(cel, x, y);
    }
    luma::KissCel clone;
    clone.base = &cel;
    if (!luma::MakeClone(clone, source)) std::abort();
    luma::Result<std::vector<uint8_t>> written = luma::EncodeCel(cel);
    if (!written.ok()) std::abort();
    luma::KissCel again;
    if (!luma::DecodeCel(again, *written, source)) std::abort();
    luma::Result<std::vector<uint8_t>> rewritten = luma::EncodeCel(again);
    if (!rewritten.ok() || *rewritten != *written) std::abort();
  }
  return 0;
}
