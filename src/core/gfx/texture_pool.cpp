#include "core/gfx/texture_pool.h"

#include <algorithm>
#include <new>

namespace luma {
namespace {

int BlocksFor(int texels) {
  return (texels + TexturePool::kBlockSize - 1) / TexturePool::kBlockSize;
}

int PageSideFor(int texels) {
  int side = TexturePool::kBlockSize;
  while (side < texels) side *= 2;
  return side;
}

void MarkUsed(TexturePage& page, int column, int row, int columns, int rows) {
  for (int y = row; y < row + rows; ++y) {
    std::fill_n(page.occupancy.begin() + y * page.block_columns + column, columns, uint8_t{1});
  }
}

}  // namespace

bool TexturePool::PlaceInPage(TexturePage& page, int need_columns, int need_rows,
                              TextureRegion* out) {
  for (int y = 0; y + need_rows <= page.block_rows; ++y) {
    for (int x = 0; x + need_columns <= page.block_columns; ++x) {
      bool free = true;
      for (int r = y; r < y + need_rows && free; ++r) {
        const uint8_t* row = page.occupancy.data() + r * page.block_columns + x;
        free = std::find(row, row + need_columns, uint8_t{1}) == row + need_columns;
      }
      if (!free) continue;
      MarkUsed(page, x, y, need_columns, need_rows);
      *out = {page.texture.get(), x * kBlockSize, y * kBlockSize, page.width, page.height, true};
      return true;
    }
  }
  return false;
}

DeviceResult TexturePool::Allocate(RenderDevice& device, bool recycle, int owner_key, int width,
                                   int height, TextureFormat format, TextureRegion* out) {
  *out = TextureRegion();
  const int need_columns = BlocksFor(width);
  const int need_rows = BlocksFor(height);
  const bool shareable = width <= kShareLimit && height <= kShareLimit;
  if (recycle && shareable) {
    for (TexturePage& page : pages_) {
      if (page.owner_key != owner_key || page.format != format || page.unshareable ||
          page.width < width || page.height < height) {
        continue;
      }
      if (PlaceInPage(page, need_columns, need_rows, out)) return DeviceResult::kOk;
    }
  }

  if (device.flags().memory_saver) device.DiscardResources();
  std::unique_ptr<Texture> texture;
  const DeviceResult result = device.CreateTexture(PageSideFor(width), PageSideFor(height), format,
                                                   MemoryPool::kManaged, &texture);
  if (result != DeviceResult::kOk) return result;
  try {
    TexturePage page;
    page.owner_key = owner_key;
    page.format = format;
    page.width = texture->width();
    page.height = texture->height();
    page.block_columns = BlocksFor(page.width);
    page.block_rows = BlocksFor(page.height);
    page.occupancy.assign(static_cast<size_t>(page.block_columns) * page.block_rows, 0);
    MarkUsed(page, 0, 0, std::min(need_columns, page.block_columns),
             std::min(need_rows, page.block_rows));
    page.unshareable = !shareable;
    page.texture = std::move(texture);
    pages_.push_back(std::move(page));
  } catch (const std::bad_alloc&) {
    return DeviceResult::kOutOfMemory;
  }
  const TexturePage& page = pages_.back();
  *out = {page.texture.get(), 0, 0, page.width, page.height, false};
  return DeviceResult::kOk;
}

void TexturePool::Free(const Texture* texture, int x, int y, int width, int height) {
  const auto page = std::find_if(pages_.begin(), pages_.end(), [texture](const TexturePage& p) {
    return texture != nullptr && p.texture.get() == texture;
  });
  if (page == pages_.end()) return;
  const int column = x / kBlockSize;
  const int row = y / kBlockSize;
  const int columns = std::min(BlocksFor(width), page->block_columns - column);
  const int rows = std::min(BlocksFor(height), page->block_rows - row);
  for (int r = row; r < row + rows; ++r) {
    std::fill_n(page->occupancy.begin() + r * page->block_columns + column, std::max(columns, 0),
                uint8_t{0});
  }
  if (std::find(page->occupancy.begin(), page->occupancy.end(), 1) == page->occupancy.end()) {
    pages_.erase(page);
  }
}

uint64_t TexturePool::texture_bytes() const {
  uint64_t bytes = 0;
  for (const TexturePage& page : pages_) {
    bytes += static_cast<uint64_t>(page.width) * page.height * BytesPerTexel(page.format);
  }
  return bytes;
}

int TexturePool::used_blocks() const {
  int used = 0;
  for (const TexturePage& page : pages_) {
    used += static_cast<int>(std::count(page.occupancy.begin(), page.occupancy.end(), 1));
  }
  return used;
}

int TexturePool::total_blocks() const {
  int total = 0;
  for (const TexturePage& page : pages_) total += static_cast<int>(page.occupancy.size());
  return total;
}

}  // namespace luma
