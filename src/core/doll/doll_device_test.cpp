#include "core/doll/doll_device.h"

#include <gtest/gtest.h>

#include "core/testing/fake_host.h"

namespace luma {
namespace {

TEST(DollDeviceTest, TheDevicesNoticeIsShownOnceUnderItsCaption) {
  Settings settings;
  DeviceSetupOptions options;
  FakeHost host;
  ASSERT_TRUE(CreateRenderDevice(settings, options, host));
  EXPECT_TRUE(host.messages().empty());

  options.software.palette_alpha = false;
  ASSERT_TRUE(CreateRenderDevice(settings, options, host));
  ASSERT_EQ(host.messages().size(), 1u);
  EXPECT_EQ(host.messages()[0].caption, "Lumadoll");
  EXPECT_EQ(host.messages()[0].icon, MessageIcon::kInformation);
  EXPECT_TRUE(host.messages()[0].text.starts_with("Please Note:"));
}

}  // namespace
}  // namespace luma
