#include "core/host/option_texts.h"

#include <gtest/gtest.h>

namespace luma {
namespace {

TEST(OptionTextsTest, EasyClickIsOffAtZeroAndARadiusAbove) {
  EXPECT_EQ(EasyClickLabel(0), "Easy-Click: Off");
  EXPECT_EQ(EasyClickLabel(1), "Easy-Click: 1 pixel radius");
  EXPECT_EQ(EasyClickLabel(5), "Easy-Click: 5 pixel radius");
}

TEST(OptionTextsTest, ThePreviewScalesToTheFrameAndStaysCentred) {
  // The largest thumbnail fills the frame.
  const PreviewRect full = ThumbnailPreviewRect(256, 200, 128, 100);
  EXPECT_EQ(full.left, 0);
  EXPECT_EQ(full.top, 0);
  EXPECT_EQ(full.width, 128);
  EXPECT_EQ(full.height, 100);
  // The smallest is a quarter wide and 48/200 high, in the middle.
  const PreviewRect small = ThumbnailPreviewRect(64, 48, 128, 100);
  EXPECT_EQ(small.width, 32);
  EXPECT_EQ(small.height, 24);
  EXPECT_EQ(small.left, 48);
  EXPECT_EQ(small.top, 38);
  // Sizes beyond the sliders never leave the frame.
  const PreviewRect wild = ThumbnailPreviewRect(100000, -5, 128, 100);
  EXPECT_EQ(wild.width, 128);
  EXPECT_EQ(wild.height, 0);
  EXPECT_EQ(wild.top, 50);
}

TEST(OptionTextsTest, PageClicksMoveATenthOfTheRange) {
  EXPECT_EQ(SliderPageStep(64, 256), 19);
  EXPECT_EQ(SliderPageStep(48, 200), 15);
  EXPECT_EQ(SliderPageStep(0, 5), 1);
}

}  // namespace
}  // namespace luma
