#include "core/render/view_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace luma {
namespace {

TEST(ViewTransformTest, ZoomSteps) {
  const float expected[] = {1 / 10.f, 1 / 8.f, 1 / 6.f, 1 / 4.f, 1 / 3.f, 1 / 2.f, 1,
                            2,        3,       4,       6,       8,       10};
  for (int level = -6; level <= 6; ++level) EXPECT_EQ(ZoomScale(level), expected[level + 6]);
  EXPECT_EQ(ZoomScale(-9), ZoomScale(-6));
  EXPECT_EQ(ZoomScale(9), ZoomScale(6));
  EXPECT_EQ(ScrolledSize(447, 1.0f / 3), 1344);  // 448 units at three pixels each
}

TEST(ViewTransformTest, SizesAtTheEndOfIntDoNotWrap) {
  constexpr int kMax = std::numeric_limits<int>::max();
  EXPECT_EQ(RoundUpToEven(kMax), kMax - 1);
  EXPECT_EQ(RoundUpToEven(kMax - 2), kMax - 1);
  EXPECT_EQ(RoundUpToEven(-3), -2);
  EXPECT_EQ(ScrolledSize(kMax, 1.0f), kMax - 1);
  EXPECT_EQ(ScrolledSize(kMax, 0.1f), kMax);  // ten times larger: held at the end
  EXPECT_EQ(ScrolledSize(65536, 0.1f), 655360);
  EXPECT_EQ(ScrolledSize(-5, 1.0f), 0);
  ViewGeometry g;
  g.client_width = kMax;
  g.client_height = kMax;
  g.window_width = kMax;
  g.window_height = kMax;
  g.scale = 0.1f;
  const ViewTransform t = ComputeViewTransform(g);
  EXPECT_EQ(t.width, kMax - 1);
  EXPECT_TRUE(std::isfinite(t.ox) && std::isfinite(t.oy));
}

TEST(ViewTransformTest, SmallDollsAreCentredLargeOnesFollowTheScrollBars) {
  ViewGeometry g;
  g.client_width = 801;  // counts as 802
  g.client_height = 600;
  g.window_width = 448;
  g.window_height = 320;
  ViewTransform t = ComputeViewTransform(g);
  EXPECT_EQ(t.width, 802);
  EXPECT_EQ(t.ox, -224);
  EXPECT_EQ(t.oy, 160);
  EXPECT_EQ(t.projection, Matrix4::OrthoLH(802, 600, 0, 1));

  // A viewport moved by FKiSS shifts the playfield the other way.
  g.viewport_x = 10;
  g.viewport_y = 20;
  t = ComputeViewTransform(g);
  EXPECT_EQ(t.ox, -234);
  EXPECT_EQ(t.oy, 180);

  // Larger than the client at zoom -1: the left and top edges at the
  // client's, then moving with the scroll positions.
  g.viewport_x = g.viewport_y = 0;
  g.client_width = 400;
  g.client_height = 300;
  g.scale = 0.5f;
  g.scroll_range_x = 895;
  g.scroll_range_y = 639;
  t = ComputeViewTransform(g);
  EXPECT_EQ(t.ox, -100);  // world -100 is the client's left edge
  EXPECT_EQ(t.oy, 75);
  // Scrolled to the end (896 - 400 and 640 - 300): the doll's right and
  // bottom edges at the client's.
  g.scroll_x = 496;
  g.scroll_y = 340;
  t = ComputeViewTransform(g);
  EXPECT_EQ(t.ox, -348);  // doll x 248 at the left edge, 448 at the right
  EXPECT_EQ(t.oy, 245);   // doll y 170 at the top, 320 at the bottom
}

TEST(ViewTransformTest, FitPicksTheMostMagnifiedLevelThatShowsTheWholeDollAndItsEdge) {
  // A small doll: 104 x 64 units with its edge; 8 times (832 wide) is too
  // much for 800, 6 times fits. Without the edge 8 times would just fit.
  EXPECT_EQ(FitZoomLevel(100, 60, 800, 600, true), -4);
  EXPECT_EQ(FitZoomLevel(100, 60, 800, 600, false), -5);
  EXPECT_EQ(FitZoomLevel(100, 60, 208, 128, true), -1);
  EXPECT_EQ(FitZoomLevel(100, 60, 207, 128, true), 0);
  // A wide doll (1704 x 404 with its edge): a third in 800 x 600, half in 1000 x 700.
  EXPECT_EQ(FitZoomLevel(1700, 400, 800, 600, true), 2);
  EXPECT_EQ(FitZoomLevel(1700, 400, 1000, 700, true), 1);
  EXPECT_EQ(FitZoomLevel(1700, 400, 1704, 404, true), 0);
  // A tall one (304 x 1204): half needs 602 rows.
  EXPECT_EQ(FitZoomLevel(300, 1200, 800, 600, true), 2);
  EXPECT_EQ(FitZoomLevel(300, 1200, 800, 602, true), 1);
  // Odd sizes count as the next even one; a part pixel needs a whole one.
  EXPECT_EQ(FitZoomLevel(447, 320, 452, 324, true), 0);
  EXPECT_EQ(FitZoomLevel(451, 320, 152, 400, true), 2);  // 456 units: 152 pixels at a third
  EXPECT_EQ(FitZoomLevel(451, 320, 151, 400, true), 3);
  // Nothing fits: the smallest picture there is.
  EXPECT_EQ(FitZoomLevel(1700, 400, 10, 10, true), 6);
  EXPECT_EQ(FitZoomLevel(1700, 400, 0, 0, true), 6);
}

TEST(ViewTransformTest, ZoomLevelsReadAsRatios) {
  EXPECT_EQ(ZoomRatioText(0), "1:1");
  EXPECT_EQ(ZoomRatioText(-1), "2:1");
  EXPECT_EQ(ZoomRatioText(-6), "10:1");
  EXPECT_EQ(ZoomRatioText(2), "1:3");
  EXPECT_EQ(ZoomRatioText(6), "1:10");
}

}  // namespace
}  // namespace luma
