#include "app/window_arrangement.h"

#include <gtest/gtest.h>

namespace luma::app {
namespace {

TEST(WindowArrangementTest, CascadeKeepsFittedSizesAndCutsThemAtTheEdges) {
  const QRect area(0, 0, 800, 600);
  const std::vector<QRect> places =
      CascadeGeometry(area, {QSize(300, 200), QSize(900, 400), QSize(200, 700), QSize(50, 40)}, 24);
  ASSERT_EQ(places.size(), 4u);
  EXPECT_EQ(places[0], QRect(0, 0, 300, 200));
  EXPECT_EQ(places[1], QRect(24, 24, 776, 400));  // too wide: cut at the right edge
  EXPECT_EQ(places[2], QRect(48, 48, 200, 552));  // too tall: cut at the bottom
  EXPECT_EQ(places[3], QRect(72, 72, 50, 40));    // small ones stay small

  // The staircase starts again before a window would show too little.
  const std::vector<QRect> many =
      CascadeGeometry(QRect(10, 20, 300, 200), std::vector(5, QSize(100, 100)), 30);
  EXPECT_EQ(many[0].topLeft(), QPoint(10, 20));
  EXPECT_EQ(many[2].topLeft(), QPoint(70, 80));
  EXPECT_EQ(many[3].topLeft(), QPoint(10, 20));
  EXPECT_EQ(many[2].size(), QSize(100, 100));
  EXPECT_TRUE(CascadeGeometry(area, {}, 24).empty());
}

TEST(WindowArrangementTest, TilesGiveEachWindowABandAndCutItToTheBand) {
  const QRect area(0, 0, 900, 600);
  const std::vector<QSize> fitted = {QSize(200, 100), QSize(500, 400), QSize(100, 50)};
  const std::vector<QRect> rows = TileGeometry(area, fitted, Qt::Vertical);
  EXPECT_EQ(rows[0], QRect(0, 0, 200, 100));
  EXPECT_EQ(rows[1], QRect(0, 200, 500, 200));
  EXPECT_EQ(rows[2], QRect(0, 400, 100, 50));
  const std::vector<QRect> columns = TileGeometry(area, fitted, Qt::Horizontal);
  EXPECT_EQ(columns[0], QRect(0, 0, 200, 100));
  EXPECT_EQ(columns[1], QRect(300, 0, 300, 400));
  EXPECT_EQ(columns[2], QRect(600, 0, 100, 50));
}

}  // namespace
}  // namespace luma::app
