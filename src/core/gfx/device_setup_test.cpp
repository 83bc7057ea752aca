#include "core/gfx/device_setup.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

namespace luma {
namespace {

TEST(DeviceSetupTest, DescribesTheAdapterInTheReportLayout) {
  AdapterInfo adapter;
  adapter.desktop_width = 1024;
  adapter.desktop_height = 768;
  adapter.desktop_format = "X8R8G8B8";
  adapter.description = "Test card";
  adapter.driver = "card.drv";
  adapter.driver_version_high = (4u << 16) | 6u;
  adapter.driver_version_low = (14u << 16) | 1234u;
  EXPECT_EQ(DescribeAdapter(adapter),
            "Resolution: 1024 x 768 x X8R8G8B8\nAdapter: Test card\n"
            "Driver: card.drv v6.14 (build 1234, prod 4)\n");
}

TEST(DeviceSetupTest, OneDriverRangeIsTreatedAsWithoutPaletteAlpha) {
  AdapterInfo adapter;
  adapter.driver = "nvdd32.dll";
  for (auto [build, bad] : {std::pair{4344, false}, {4345, true}, {5304, true}, {5305, false}}) {
    adapter.driver_version_low = static_cast<uint32_t>(build);
    EXPECT_EQ(DriverMisdrawsPaletteAlpha(adapter), bad) << build;
  }
  adapter.driver = "other.dll";
  adapter.driver_version_low = 5000;
  EXPECT_FALSE(DriverMisdrawsPaletteAlpha(adapter));
}

// The device of a setup that must succeed.
std::unique_ptr<RenderDevice> Device(const Settings& settings, const DeviceSetupOptions& options,
                                     std::string* notice = nullptr) {
  Result<DeviceSetup> setup = SetUpRenderDevice(settings, options);
  EXPECT_TRUE(setup.ok()) << setup.status().message();
  if (!setup.ok()) return nullptr;
  if (notice) *notice = setup->notice;
  return std::move(setup->device);
}

TEST(DeviceSetupTest, SettingsAndOptionsShapeTheFlags) {
  Settings settings;
  DeviceSetupOptions options;
  std::string notice;
  auto device = Device(settings, options, &notice);
  ASSERT_TRUE(device);
  EXPECT_TRUE(device->flags().paletted_textures);
  EXPECT_FALSE(device->flags().sixteen_bit_texels);
  EXPECT_FALSE(device->flags().memory_saver);
  EXPECT_FALSE(device->flags().texel_adjust);
  EXPECT_EQ(notice, "");

  // "Force Palette" keeps palette alpha supported but emulates palettes.
  settings.force_palette = true;
  settings.texel_adjust = true;
  options.software.desktop_16_bit = true;
  options.software.texture_memory_bytes = 15u << 20;
  device = Device(settings, options);
  ASSERT_TRUE(device);
  EXPECT_TRUE(device->flags().alpha_palette_supported);
  EXPECT_FALSE(device->flags().paletted_textures);
  EXPECT_TRUE(device->flags().sixteen_bit_texels);
  EXPECT_TRUE(device->flags().memory_saver);  // 15 MB of texture memory
  EXPECT_TRUE(device->flags().texel_adjust);

  settings = Settings();
  options = DeviceSetupOptions();
  options.emulate_palettes = true;
  device = Device(settings, options, &notice);
  ASSERT_TRUE(device);
  EXPECT_FALSE(device->flags().paletted_textures);
  EXPECT_EQ(notice, "");
}

TEST(DeviceSetupTest, MissingPaletteAlphaWarnsUnlessTheWarningIsOff) {
  Settings settings;
  DeviceSetupOptions options;
  options.software.palette_alpha = false;
  std::string notice;
  auto device = Device(settings, options, &notice);
  ASSERT_TRUE(device);
  EXPECT_FALSE(device->flags().alpha_palette_supported);
  EXPECT_FALSE(device->flags().paletted_textures);
  EXPECT_TRUE(notice.starts_with("Please Note:\n\nAlpha in texture palettes is not supported"));
  EXPECT_TRUE(device->flags().palette_warning_on);

  settings.warn_palette = false;
  device = Device(settings, options, &notice);
  ASSERT_TRUE(device);
  EXPECT_EQ(notice, "");
  EXPECT_FALSE(device->flags().palette_warning_on);
}

TEST(DeviceSetupTest, PaletteNumbersComeInBlocksOfTen) {
  SoftwareDevice device;
  EXPECT_EQ(device.AllocatePaletteBase(), 0u);
  EXPECT_EQ(device.AllocatePaletteBase(), 10u);
  EXPECT_EQ(device.AllocatePaletteBase(), 20u);
  device.FreePaletteBase(10);
  EXPECT_EQ(device.AllocatePaletteBase(), 10u);
  while (device.palette_bases_in_use() < 1600) device.AllocatePaletteBase();
  // All blocks taken: 0 again, not recorded.
  EXPECT_EQ(device.AllocatePaletteBase(), 0u);
  EXPECT_EQ(device.palette_bases_in_use(), 1600u);
}

}  // namespace
}  // namespace luma
