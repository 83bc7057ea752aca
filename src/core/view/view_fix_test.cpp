// How fix values hold objects against drags.
#include <gtest/gtest.h>

#include "core/testing/played_doll.h"

namespace luma {
namespace {

using testing::PlayedDoll;

TEST(ViewFixTest, FixValuesResistSpringBackAndWiggle) {
  PlayedDoll doll;
  // #0 fix 3, #1 fix 100 (immovable at the default threshold), #2 fix 98
  // with #3 and #4 placed so that a tug of one unit down and right reaches
  // #4 but not #3.
  ASSERT_TRUE(doll.Open(doll.Write(
      "(100,60)\n#0.3 a.cel :0\n#1.100 b.cel :0\n#2.98 c.cel :0\n#3 d.cel :0\n#4 e.cel :0\n"
      "$0 10,10 30,10 50,10 55,10 50,14\n"
      ";@EventHandler\n;@in(#2, #4) let(touch, 1)\n;@in(#2, #3) let(reach, 1)\n"
      ";@unfix(#0) add(unfixed, unfixed, 1)\n",
      {{"a.cel", PlayedDoll::Block(4, 4)},
       {"b.cel", PlayedDoll::Block(4, 4)},
       {"c.cel", PlayedDoll::Block(4, 4)},
       {"d.cel", PlayedDoll::Block(4, 4)},
       {"e.cel", PlayedDoll::Block(4, 4)}})));
  std::string seen;
  doll.Press(11, 11);
  doll.Move(40, 40);
  seen += doll.Fix(0) + doll.Positions();  // sprang back
  doll.Release();
  seen += doll.Fix(0) + doll.Var("unfixed");
  doll.Press(11, 11);
  doll.Move(40, 40);
  seen += doll.Var("unfixed");
  doll.Move(41, 41);
  doll.Release();
  seen += doll.Fix(0);
  doll.Press(31, 11);
  doll.Move(60, 50);
  doll.Release();
  seen += doll.Fix(1);
  doll.Press(51, 11);
  doll.Move(90, 50);
  doll.Release();
  seen += doll.Fix(2) + doll.Var("touch") + doll.Var("reach") + doll.Positions();
  EXPECT_EQ(seen,
            "#0 fix 1\n#0 10,10\n#1 30,10\n#2 50,10\n#3 55,10\n#4 50,14\n"
            "#0 fix 1\nunfixed = 0\n"
            "unfixed = 1\n#0 fix 0\n"
            "#1 fix 100\n"
            "#2 fix 96\n"
            "touch = 1\nreach = 0\n"
            "#0 40,40\n#1 30,10\n#2 50,10\n#3 55,10\n#4 50,14\n");
}

}  // namespace
}  // namespace luma
