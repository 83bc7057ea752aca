// Which cel a click finds: visible texels, ghosts, transparency and the
// easy-click radius.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/testing/image_files.h"
#include "core/testing/played_doll.h"

namespace luma {
namespace {

using testing::PlayedDoll;

std::string Info(const std::string& cel, int object) {
  return "Cel: \"" + cel + "\"  Object: #" + std::to_string(object) +
         "  Fix: 0  Transparency: " + (cel == "clear.cel" ? "255" : "0") + "  FKiSS: no\n";
}

TEST(ViewPickingTest, PickingFollowsVisibleTexelsGhostsAndEasyClick) {
  PlayedDoll doll;
  doll.settings().easy_click = 3;
  // top.cel is 12 x 4 with only its right 4 columns opaque: more than the
  // easy-click radius of clear texels lies over below.cel.
  std::vector<uint32_t> holed(48, 0);
  for (int y = 0; y < 4; ++y) {
    for (int x = 8; x < 12; ++x) holed[y * 12 + x] = 1;
  }
  ASSERT_TRUE(doll.Open(doll.Write(
      "(100,60)\n#0 top.cel :0\n#1 below.cel :0\n#2 ghost.cel :0 ;%g\n#3 clear.cel :0 ;%t255\n"
      "#4 far.cel :0\n$0 10,10 10,10 40,10 60,10 80,10\n",
      {{"top.cel", testing::MakeCel(4, 12, 4, holed)},
       {"below.cel", PlayedDoll::Block(4, 4)},
       {"ghost.cel", PlayedDoll::Block(4, 4)},
       {"clear.cel", PlayedDoll::Block(4, 4)},
       {"far.cel", PlayedDoll::Block(2, 2)}})));
  // What the status bar says while the button is down at (x, y).
  auto pressed = [&doll](int x, int y) {
    doll.Press(x, y);
    const std::string status = doll.Status();
    doll.Release();
    return status;
  };
  auto right_clicked = [&doll](int x, int y) {
    doll.RightClick(x, y);
    return doll.Status();
  };
  using Points = std::vector<std::pair<int, int>>;
  // The top cel is clear over below.cel.
  std::string seen;
  for (const auto& [x, y] : Points{{10, 10}, {19, 10}, {41, 11}}) seen += pressed(x, y);
  seen += right_clicked(41, 11);
  doll.Press(61, 11);
  seen += doll.Status();
  doll.Move(61, 31);
  doll.Release();
  seen += right_clicked(61, 31);
  for (const auto& [x, y] : Points{{77, 10}, {76, 10}}) seen += pressed(x, y);
  seen += doll.Positions();
  EXPECT_EQ(seen, Info("below.cel", 1) + Info("top.cel", 0) + "\n" + Info("ghost.cel", 2) +
                      Info("clear.cel", 3) + "\n" + Info("far.cel", 4) + "\n" +
                      "#0 10,10\n#1 10,10\n#2 40,10\n#3 60,30\n#4 80,10\n");
}

}  // namespace
}  // namespace luma
