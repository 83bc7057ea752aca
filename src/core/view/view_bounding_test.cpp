// How the bounding modes keep drags and script moves on the playfield.
#include <gtest/gtest.h>

#include <optional>

#include "core/testing/played_doll.h"

namespace luma {
namespace {

using testing::PlayedDoll;

TEST(ViewBoundingTest, BoundingModesLimitDragsAndScriptMovesApart) {
  // #0 is 4 x 4 at (10, 10); pressing #1 or #2 makes the script throw #0
  // towards either corner.
  const std::string cnf =
      "(100,60)\n#0 a.cel :0\n#1 b.cel :0\n#2 c.cel :0\n#3 wide.cel :0\n$0 10,10 90,50 80,50 "
      "0,30\n;@EventHandler\n;@press(#1) moveto(#0, 500, 500)\n;@press(#2) moveto(#0, -50, -50)\n";
  const std::map<std::string, std::vector<uint8_t>> cels = {{"a.cel", PlayedDoll::Block(4, 4)},
                                                            {"b.cel", PlayedDoll::Block(2, 2)},
                                                            {"c.cel", PlayedDoll::Block(2, 2)},
                                                            {"wide.cel", PlayedDoll::Block(40, 2)}};
  // Each step starts from the doll's own positions.
  auto play = [&](int boundary_enforcement) {
    PlayedDoll doll;
    doll.settings().boundary_enforcement = boundary_enforcement;
    if (!doll.Open(doll.Write(cnf, cels))) return std::string("not opened");
    std::string seen;
    const std::vector<std::pair<PlayPoint, std::optional<PlayPoint>>> steps = {
        {{11, 11}, PlayPoint{100, 60}},
        {{11, 11}, PlayPoint{0, 0}},
        {{91, 51}, std::nullopt},
        {{81, 51}, std::nullopt},
        {{39, 31}, PlayPoint{0, 31}}};
    for (const auto& [from, to] : steps) {
      doll.Press(from.x, from.y);
      if (to) doll.Move(to->x, to->y);
      doll.Release();
      seen += doll.Positions();
      doll.Reset();
    }
    return seen;
  };
  auto positions = [](const std::string& a, const std::string& wide) {
    return "#0 " + a + "\n#1 90,50\n#2 80,50\n#3 " + wide + "\n";
  };

  // All: drags end at the edge, scripts one unit further right and down.
  EXPECT_EQ(play(0), positions("96,56", "0,30") + positions("0,0", "0,30") +
                         positions("97,57", "0,30") + positions("0,0", "0,30") +
                         positions("10,10", "0,30"));

  // FKiSS: the user drags past every edge, the script still stops at them.
  EXPECT_EQ(play(1), positions("99,59", "0,30") + positions("-1,-1", "0,30") +
                         positions("97,57", "0,30") + positions("0,0", "0,30") +
                         positions("10,10", "-39,30"));
}

TEST(ViewBoundingTest, VisibleBoundingLetsACelOffsetReachPastTheLeftEdge) {
  PlayedDoll doll;
  doll.settings().boundary_enforcement = 3;
  ASSERT_TRUE(doll.Open(
      doll.Write("(100,60)\n#0 a.cel :0 ;%x20\n$0 30,10\n", {{"a.cel", PlayedDoll::Block(4, 4)}})));
  doll.Press(51, 11);
  doll.Move(0, 11);
  doll.Release();
  EXPECT_EQ(doll.Positions(), "#0 -20,10\n");
}

}  // namespace
}  // namespace luma
