// Objects that a script attached or glued to a parent, under the mouse.
#include <gtest/gtest.h>

#include <string>

#include "core/view/view_test_doll.h"

namespace luma {
namespace {

// Parent #0 at 10,10, child #1 at 30,10 and #2 at 100,50 on a 200 x 100
// playfield; every cel is 8 x 8. `link` is what pressing #3 (at 150,80)
// does to #1 and #0.
class ViewFamilyTest : public testing::ViewTestDoll {
 protected:
  void OpenFamily(const std::string& link, const std::string& child_fix = "",
                  const std::string& script = "") {
    testing::WriteFile(dir_ / "d.cel", testing::TestCel(8, 8, 4));
    OpenCnf("(200,100)\n%p.kcf\n#0 a.cel *0 :0\n#1" + child_fix + " b.cel *0 :0\n" +
            "#2 c.cel *0 :0\n#3 d.cel *0 :0\n$0 10,10 30,10 100,50 150,80\n;@EventHandler\n"
            ";@press(#3) " +
            link + "\n;@detached(#1) add(detached, detached, 1)\n" + script);
    view_->StartDoll();
    view_->LeftButtonDown(PlayPoint{151, 81});
    view_->LeftButtonUp(PlayPoint{151, 81});
  }
};

TEST_F(ViewFamilyTest, DraggingAParentCarriesItsChildrenIntoTheirCollisions) {
  OpenFamily("attach(#1, #0)", "", ";@in(#1, #2) add(met, met, 1)\n");
  // #1 lands on #2: its in event runs as it arrives and again when the
  // drop is judged from where the drag began.
  Drag(PlayPoint{12, 12}, PlayPoint{82, 52});
  EXPECT_EQ(Object(0).position[0], (Position{80, 50}));
  EXPECT_EQ(Object(1).position[0], (Position{100, 50}));
  EXPECT_EQ(Var("met"), 2);
  EXPECT_EQ(Var("detached"), 0);

  // Patrol Bounds brings the parent back inside; the child comes along
  // with it rather than being moved on its own.
  Object(0).position[0] = Position{195, 10};
  Object(1).position[0] = Position{215, 10};
  EXPECT_EQ(view_->PatrolBounds(), 1);
  EXPECT_EQ(Object(0).position[0], (Position{192, 10}));
  EXPECT_EQ(Object(1).position[0], (Position{192, 10}));

  // A reset forgets every link.
  host_.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(view_->ResetDoll());
  Drag(PlayPoint{12, 12}, PlayPoint{22, 22});
  EXPECT_EQ(Object(0).position[0], (Position{20, 20}));
  EXPECT_EQ(Object(1).position[0], (Position{30, 10}));
}

TEST_F(ViewFamilyTest, DraggingAnAttachedChildPullsItOffItsParent) {
  OpenFamily("attach(#1, #0)");
  Drag(PlayPoint{32, 12}, PlayPoint{42, 32});
  EXPECT_EQ(Object(1).position[0], (Position{40, 30}));
  EXPECT_EQ(Object(0).position[0], (Position{10, 10}));
  EXPECT_EQ(Var("detached"), 1);
  // Loose now: the parent moves alone.
  Drag(PlayPoint{12, 12}, PlayPoint{22, 12});
  EXPECT_EQ(Object(1).position[0], (Position{40, 30}));
  EXPECT_EQ(Var("detached"), 1);
}

TEST_F(ViewFamilyTest, AFixedChildStaysOnItsParentUntilItsFixWearsOff) {
  // Its unfix event runs before its detached event.
  OpenFamily(
      "attach(#1, #0)", ".2",
      ";@unfix(#1) let(order, 1)\n;@detached(#1) mul(order, order, 10) add(order, order, 1)\n");
  // The first tug costs the move and the release: fix 0, still attached.
  Drag(PlayPoint{32, 12}, PlayPoint{35, 15});
  EXPECT_EQ(Object(1).fix, 0u);
  EXPECT_EQ(Object(1).position[0], (Position{30, 10}));
  EXPECT_EQ(Var("detached"), 0);
  // The next drag takes it off.
  Drag(PlayPoint{32, 12}, PlayPoint{42, 32});
  EXPECT_EQ(Object(1).position[0], (Position{40, 30}));
  EXPECT_EQ(Var("detached"), 1);
  EXPECT_EQ(Var("order"), 11);

  // Fix 1 comes loose on the first step of the tug: unfixed, then detached.
  OpenFamily(
      "attach(#1, #0)", ".1",
      ";@unfix(#1) let(order, 1)\n;@detached(#1) mul(order, order, 10) add(order, order, 1)\n");
  Drag(PlayPoint{32, 12}, PlayPoint{42, 32});
  EXPECT_EQ(Object(1).position[0], (Position{40, 30}));
  EXPECT_EQ(Object(0).position[0], (Position{10, 10}));
  EXPECT_EQ(Var("order"), 11);
}

TEST_F(ViewFamilyTest, AGluedChildDragsItsParentAndStaysGlued) {
  OpenFamily("glue(#1, #0)");
  Drag(PlayPoint{32, 12}, PlayPoint{42, 32});
  EXPECT_EQ(Object(0).position[0], (Position{20, 30}));
  EXPECT_EQ(Object(1).position[0], (Position{40, 30}));
  EXPECT_EQ(Var("detached"), 0);
  Drag(PlayPoint{22, 32}, PlayPoint{32, 32});
  EXPECT_EQ(Object(0).position[0], (Position{30, 30}));
  EXPECT_EQ(Object(1).position[0], (Position{50, 30}));

  // When the parent is itself attached, pulling the glued child pulls the
  // parent off its own parent.
  OpenFamily("glue(#1, #0) attach(#0, #2)", "", ";@detached(#0) add(parent_off, parent_off, 1)\n");
  Drag(PlayPoint{32, 12}, PlayPoint{42, 32});
  EXPECT_EQ(Object(0).position[0], (Position{20, 30}));
  EXPECT_EQ(Object(1).position[0], (Position{40, 30}));
  EXPECT_EQ(Var("parent_off"), 1);
  EXPECT_EQ(Var("detached"), 0);
  Drag(PlayPoint{102, 52}, PlayPoint{92, 52});
  EXPECT_EQ(Object(0).position[0], (Position{20, 30}));
}

}  // namespace
}  // namespace luma
