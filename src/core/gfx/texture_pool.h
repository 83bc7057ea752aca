#ifndef LUMA_CORE_GFX_TEXTURE_POOL_H_
#define LUMA_CORE_GFX_TEXTURE_POOL_H_

#include <cstdint>
#include <memory>
#include <vector>

#include "core/gfx/render_device.h"

namespace luma {

// One texture that several small images may share, handed out in 16 x 16
// blocks. A page whose blocks have all been given back is released.
struct TexturePage {
  std::unique_ptr<Texture> texture;
  int owner_key = 0;
  TextureFormat format = TextureFormat::kA8R8G8B8;
  int width = 0;  // real size as the device made it
  int height = 0;
  int block_columns = 0;
  int block_rows = 0;
  std::vector<uint8_t> occupancy;  // one byte per block, row by row: 1 = used
  // Made for an image wider or taller than 512; nothing else goes in.
  bool unshareable = false;
};

// Where an image was placed.
struct TextureRegion {
  Texture* texture = nullptr;
  int x = 0;  // origin in texels, multiples of 16
  int y = 0;
  int texture_width = 0;
  int texture_height = 0;
  bool in_existing_page = false;  // false when a page was made for it
};

// The texture pages of one document. Images up to 512 x 512 may share pages
// of the same owner key and format (first fit, top to bottom, left to right)
// when recycling is on; otherwise each image gets a page of its own, sized
// to the next power of two of at least 16.
class TexturePool {
 public:
  static constexpr int kBlockSize = 16;
  static constexpr int kShareLimit = 512;

  TexturePool() = default;
  TexturePool(const TexturePool&) = delete;
  TexturePool& operator=(const TexturePool&) = delete;

  // On a device error nothing is added and the error is handed back.
  DeviceResult Allocate(RenderDevice& device, bool recycle, int owner_key, int width, int height,
                        TextureFormat format, TextureRegion* out);

  const std::vector<TexturePage>& pages() const { return pages_; }
  int texture_count() const { return static_cast<int>(pages_.size()); }
  uint64_t texture_bytes() const;
  int used_blocks() const;
  int total_blocks() const;

  // Gives back the blocks of an image `width` x `height` placed at (x, y) of
  // `texture`; the page goes when nothing is left in it. Unknown textures
  // are ignored.
  void Free(const Texture* texture, int x, int y, int width, int height);

  // Frees every page.
  void Release() { pages_.clear(); }

 private:
  bool PlaceInPage(TexturePage& page, int need_columns, int need_rows, TextureRegion* out);
  std::vector<TexturePage> pages_;
};

}  // namespace luma

#endif  // LUMA_CORE_GFX_TEXTURE_POOL_H_
