#include "core/gfx/texture_pool.h"

#include <gtest/gtest.h>

#include "core/gfx/software_device.h"

namespace luma {
namespace {

constexpr int kCelKey = 1;
constexpr TextureFormat kFormat = TextureFormat::kP8;

TextureRegion Place(TexturePool& pool, RenderDevice& device, int w, int h, bool recycle = true,
                    TextureFormat format = kFormat) {
  TextureRegion region;
  EXPECT_EQ(pool.Allocate(device, recycle, kCelKey, w, h, format, &region), DeviceResult::kOk);
  return region;
}

TEST(TexturePoolTest, SmallImagesShareAPageFirstFit) {
  SoftwareDevice device;
  TexturePool pool;
  const TextureRegion dot = Place(pool, device, 1, 1);
  EXPECT_FALSE(dot.in_existing_page);
  EXPECT_EQ(dot.texture_width, 16);
  EXPECT_EQ(dot.texture_height, 16);
  ASSERT_EQ(pool.texture_count(), 1);
  EXPECT_EQ(pool.used_blocks(), 1);

  // A 100 x 40 image gets a 128 x 64 page (8 x 4 blocks, 7 x 3 used).
  const TextureRegion wide = Place(pool, device, 100, 40);
  EXPECT_FALSE(wide.in_existing_page);
  EXPECT_EQ(wide.texture_width, 128);
  EXPECT_EQ(wide.texture_height, 64);
  // The next 16 x 16 goes beside it: first free column of the top row.
  const TextureRegion beside = Place(pool, device, 16, 16);
  EXPECT_TRUE(beside.in_existing_page);
  EXPECT_EQ(beside.texture, wide.texture);
  EXPECT_EQ(beside.x, 112);
  EXPECT_EQ(beside.y, 0);
  // 32 x 16 no longer fits in rows 0-2; it lands on the free bottom row.
  const TextureRegion below = Place(pool, device, 20, 10);
  EXPECT_EQ(below.texture, wide.texture);
  EXPECT_EQ(below.x, 0);
  EXPECT_EQ(below.y, 48);
  EXPECT_EQ(pool.texture_count(), 2);
  EXPECT_EQ(pool.used_blocks(), 1 + 21 + 1 + 2);
  EXPECT_EQ(pool.total_blocks(), 1 + 32);
  EXPECT_EQ(pool.texture_bytes(), 16u * 16 + 128u * 64);
}

TEST(TexturePoolTest, LargeImagesGetAnUnshareablePage) {
  SoftwareDevice device;
  TexturePool pool;
  const TextureRegion big = Place(pool, device, 600, 100);
  EXPECT_EQ(big.texture_width, 1024);
  EXPECT_EQ(big.texture_height, 128);
  ASSERT_EQ(pool.texture_count(), 1);
  EXPECT_TRUE(pool.pages()[0].unshareable);
  const TextureRegion small = Place(pool, device, 16, 16);
  EXPECT_NE(small.texture, big.texture);
  EXPECT_FALSE(small.in_existing_page);
}

TEST(TexturePoolTest, WithoutRecyclingEveryImageGetsItsOwnPage) {
  SoftwareDevice device;
  TexturePool pool;
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(Place(pool, device, 10, 10, /*recycle=*/false).in_existing_page);
  }
  EXPECT_EQ(pool.texture_count(), 3);
}

TEST(TexturePoolTest, PagesAreSharedOnlyWithinOneOwnerAndFormat) {
  SoftwareDevice device;
  TexturePool first, second;
  const TextureRegion a = Place(first, device, 10, 10);
  const TextureRegion b = Place(second, device, 10, 10);
  EXPECT_NE(a.texture, b.texture);
  EXPECT_FALSE(b.in_existing_page);

  const TextureRegion other_format = Place(first, device, 10, 10, true, TextureFormat::kA8R8G8B8);
  EXPECT_FALSE(other_format.in_existing_page);
  TextureRegion other_key;
  ASSERT_EQ(first.Allocate(device, true, kCelKey + 1, 10, 10, kFormat, &other_key),
            DeviceResult::kOk);
  EXPECT_FALSE(other_key.in_existing_page);
  EXPECT_EQ(first.texture_count(), 3);
}

TEST(TexturePoolTest, DeviceErrorsAddNothing) {
  SoftwareDeviceOptions options;
  options.texture_memory_bytes = 1000;
  SoftwareDevice device(options);
  device.mutable_flags().memory_saver = true;
  TexturePool pool;
  TextureRegion region;
  EXPECT_EQ(pool.Allocate(device, true, kCelKey, 40, 40, kFormat, &region),
            DeviceResult::kOutOfVideoMemory);
  EXPECT_EQ(region.texture, nullptr);
  EXPECT_EQ(pool.texture_count(), 0);
  // The memory saver evicts before every new page.
  EXPECT_EQ(device.discard_count(), 1);
}

TEST(TexturePoolTest, BlocksGivenBackAreReusedAndAnEmptyPageGoes) {
  SoftwareDevice device;
  const uint64_t free_at_start = device.AvailableTextureMemory();
  TexturePool pool;
  const TextureRegion wide = Place(pool, device, 100, 40);
  const TextureRegion beside = Place(pool, device, 16, 16);
  ASSERT_EQ(beside.texture, wide.texture);
  EXPECT_EQ(pool.used_blocks(), 22);
  pool.Free(beside.texture, beside.x, beside.y, 16, 16);
  EXPECT_EQ(pool.used_blocks(), 21);
  // The place is free again: the next image of its size takes it.
  const TextureRegion again = Place(pool, device, 10, 10);
  EXPECT_EQ(again.texture, wide.texture);
  EXPECT_EQ(again.x, 112);
  pool.Free(again.texture, again.x, again.y, 10, 10);
  pool.Free(wide.texture, wide.x, wide.y, 100, 40);
  EXPECT_EQ(pool.texture_count(), 0);
  EXPECT_EQ(device.AvailableTextureMemory(), free_at_start) << "the page's memory is back";

  // Without recycling each image has its own page, which goes with it.
  const TextureRegion own = Place(pool, device, 20, 20, false);
  Place(pool, device, 20, 20, false);
  pool.Free(own.texture, own.x, own.y, 20, 20);
  EXPECT_EQ(pool.texture_count(), 1);
  pool.Free(nullptr, 0, 0, 16, 16);
  pool.Free(own.texture, 0, 0, 16, 16);  // gone already: nothing happens
  EXPECT_EQ(pool.texture_count(), 1);
}

}  // namespace
}  // namespace luma
