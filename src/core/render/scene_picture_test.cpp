#include "core/render/scene_picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/gfx/software_device.h"
#include "core/testing/doll_loader.h"
#include "core/testing/fake_host.h"
#include "core/testing/image_files.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

// The largest playfield magnified ten times asks for a picture no device
// makes: the failure names the size asked for, not the device's arguments.
TEST(ScenePictureTest, APictureTooLargeToDrawNamesItsSize) {
  SoftwareDevice device;
  FakeHost host;
  testing::TestDoll doll(device, host);
  testing::TempDir source;
  ASSERT_TRUE(doll.Open(
      testing::WriteTestDoll(source.path(), "(8192,8192)\n%p.kcf\n#0 a.cel\n$0 0,0\n",
                             {{"p.kcf", testing::MakeKcf({std::vector<uint32_t>(16, 0xFF0000)})},
                              {"a.cel", testing::MakeCel(8, 3, 2, {1, 1, 1, 1, 1, 1})}})));
  Scene scene;
  scene.doll = &doll.model();

  const Result<Image> too_large = RenderScenePicture(device, scene, -6, 0, 0);
  ASSERT_FALSE(too_large.ok());
  EXPECT_EQ(too_large.status().message(),
            "The picture would be 81920 x 81920 pixels, more than the graphics device draws at "
            "once.");

  const Result<Image> tenth = RenderScenePicture(device, scene, 6, 0, 0);
  ASSERT_TRUE(tenth.ok()) << tenth.status().message();
  EXPECT_EQ(tenth->width, 819);
  EXPECT_EQ(tenth->height, 819);
}

}  // namespace
}  // namespace luma
