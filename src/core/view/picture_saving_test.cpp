#include "core/view/picture_saving.h"

#include <gtest/gtest.h>

#include "core/gfx/software_device.h"
#include "core/testing/doll_loader.h"
#include "core/testing/fake_host.h"
#include "core/testing/image_files.h"
#include "core/testing/test_paths.h"

namespace luma {
namespace {

using testing::ReadBmp;

class ThumbnailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<uint32_t> colors(32, 0xFF0000);  // a black background, the rest red
    colors[0] = 0;
    // A 6 x 4 doll filled with one colour, a single cel in its corner.
    doll_ = std::make_unique<testing::TestDoll>(device_, host_);
    testing::TempDir source;
    ASSERT_TRUE(doll_->Open(
        testing::WriteTestDoll(source.path(), "(6,4)\n%p.kcf\n#0 a.cel\n$0 0,0\n",
                               {{"p.kcf", testing::MakeKcf({colors})},
                                {"a.cel", testing::MakeCel(8, 3, 2, {1, 1, 1, 1, 1, 1})}})));
    scene_.doll = &doll_->model();
  }

  SoftwareDevice device_;
  FakeHost host_;
  std::unique_ptr<testing::TestDoll> doll_;
  Scene scene_;
  testing::TempDir dir_;
};

TEST_F(ThumbnailTest, ScreenshotIsThePlayfieldPixelForPixel) {
  const std::string path = (dir_ / "shot.bmp").string();
  ASSERT_TRUE(SaveScreenshot(device_, scene_, path, host_));
  ASSERT_EQ(host_.messages().size(), 1u);
  EXPECT_EQ(host_.messages()[0].caption, "Screenshot");
  EXPECT_EQ(host_.messages()[0].text, path + " saved");
  const Image image = ReadBmp(testing::ReadFile(path));
  ASSERT_EQ(image.width, 6);
  ASSERT_EQ(image.height, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) {
      EXPECT_EQ(image.at(x, y), (x < 3 && y < 2) ? 0xFFFF0000u : 0xFF000000u) << x << "," << y;
    }
  }
}

TEST_F(ThumbnailTest, ThumbnailsAreMadeOnceAtTheSettingsSize) {
  Settings settings;
  settings.thumb_create = true;
  settings.thumb_use_directory = true;
  settings.thumb_verbose = false;
  settings.thumb_width = 64;
  settings.thumb_height = 48;
  const std::string doll_path = (dir_ / "doll.lzh").string();
  AutoCreateThumbnail(device_, scene_, doll_path, settings, dir_.str(), host_);
  const std::string thumb = dir_.str() + "/thumb/doll.KTN";
  const Image image = ReadBmp(testing::ReadFile(thumb));
  EXPECT_EQ(image.width, 64);
  EXPECT_EQ(image.height, 42);  // 6 x 4 fitted into 64 x 48
  EXPECT_TRUE(host_.messages().empty());

  // An existing thumbnail is left alone.
  testing::WriteFile(thumb, "mine");
  AutoCreateThumbnail(device_, scene_, doll_path, settings, dir_.str(), host_);
  EXPECT_EQ(testing::ReadFile(thumb), "mine");
}

TEST_F(ThumbnailTest, SixteenBitTargetsFallBackAndFailuresAreShown) {
  device_.mutable_flags().sixteen_bit_texels = true;  // no 16-bit render targets here
  const std::string path = (dir_ / "t.bmp").string();
  ASSERT_TRUE(RenderToFile(device_, scene_, 4, 12, 8, path, host_.Files()).ok());
  EXPECT_EQ(ReadBmp(testing::ReadFile(path)).width, 12);

  const std::string bad = (dir_ / "missing" / "t.bmp").string();
  EXPECT_FALSE(SaveScreenshot(device_, scene_, bad, host_));
  ASSERT_EQ(host_.messages().size(), 1u);
  EXPECT_EQ(host_.messages()[0].caption, "Screenshot");
  EXPECT_EQ(host_.messages()[0].text.rfind("Unable to save " + bad + "\n", 0), 0u);
  EXPECT_EQ(host_.messages()[0].icon, MessageIcon::kError);
}

}  // namespace
}  // namespace luma
