// Taking the user's drags back and making them again.
#include <gtest/gtest.h>

#include <string>

#include "core/view/view_test_doll.h"

namespace luma {
namespace {

// #0 at 10,10 and #1 at 100,50 on a 200 x 100 playfield in set 0, #2 at
// 150,80 in sets 0 and 1; every cel is 8 x 8.
class ViewHistoryTest : public testing::ViewTestDoll {
 protected:
  void OpenThree(const std::string& script, const std::string& fix = "") {
    OpenCnf("(200,100)\n%p.kcf\n#0" + fix +
            " a.cel *0 :0\n#1 b.cel *0 :0\n#2 c.cel *0 :0 1\n"
            "$0 10,10 100,50 150,80\n$1 * * 150,80\n;@EventHandler\n" +
            script);
    view_->StartDoll();
  }
  Position At(int number, int set = 0) { return Object(number).position[set]; }
};

TEST_F(ViewHistoryTest, UndoTakesBackADropThatSnappedAndRedoSnapsAgain) {
  OpenThree(
      ";@in(#0, #1) movebyx(#0, #1, 2) movebyy(#0, #1, 3) add(ins, ins, 1)\n"
      ";@out(#0, #1) add(outs, outs, 1)\n"
      ";@press(#0) add(presses, presses, 1)\n;@release(#0) add(releases, releases, 1)\n"
      ";@drop(#0) add(drops, drops, 1)\n");
  Drag(PlayPoint{12, 12}, PlayPoint{96, 46});
  ASSERT_EQ(At(0), (Position{102, 53}));  // snapped onto #1
  const int ins = Var("ins");
  ASSERT_GT(ins, 0);
  EXPECT_EQ(Var("outs"), 0);
  ASSERT_TRUE(view_->CanUndo());
  EXPECT_FALSE(view_->CanRedo());

  // Back to where the drag began, snap and all; leaving #1 raises its out
  // event as a move does, but nothing is pressed, released or dropped.
  EXPECT_TRUE(view_->Undo());
  EXPECT_EQ(At(0), (Position{10, 10}));
  EXPECT_EQ(Var("outs"), 1);
  EXPECT_EQ(Var("ins"), ins);
  EXPECT_EQ(Var("presses"), 1);
  EXPECT_EQ(Var("releases"), 1);
  EXPECT_EQ(Var("drops"), 1);
  EXPECT_FALSE(view_->CanUndo());
  EXPECT_TRUE(view_->redraw_pending());

  // Again onto #1: its in event runs and the snap leaves it where it was.
  EXPECT_TRUE(view_->Redo());
  EXPECT_EQ(At(0), (Position{102, 53}));
  EXPECT_EQ(Var("ins"), ins + 1);
  EXPECT_FALSE(view_->CanRedo());
  EXPECT_FALSE(view_->Redo());
}

TEST_F(ViewHistoryTest, AParentAndItsChildrenGoBackExactlyWhereTheyStood) {
  // Pressing #2 attaches #1 to #0, twenty units to its right.
  OpenThree(";@initialize() move(#1, -70, -40)\n;@press(#2) attach(#1, #0)\n");
  view_->LeftButtonDown(PlayPoint{151, 81});
  view_->LeftButtonUp(PlayPoint{151, 81});
  ASSERT_EQ(At(1), (Position{30, 10}));
  // Dragged to the right edge the child stops at the edge before its parent does.
  Drag(PlayPoint{12, 12}, PlayPoint{182, 62});
  ASSERT_EQ(At(0), (Position{180, 60}));
  ASSERT_EQ(At(1), (Position{192, 60}));

  // Moving the parent back by the same amount would leave the child at 12.
  ASSERT_TRUE(view_->Undo());
  EXPECT_EQ(At(0), (Position{10, 10}));
  EXPECT_EQ(At(1), (Position{30, 10}));
  ASSERT_TRUE(view_->Redo());
  EXPECT_EQ(At(0), (Position{180, 60}));
  EXPECT_EQ(At(1), (Position{192, 60}));

  // Still attached after both: the next drag carries the child along.
  Drag(PlayPoint{182, 62}, PlayPoint{172, 62});
  EXPECT_EQ(At(1), (Position{182, 60}));
}

TEST_F(ViewHistoryTest, OnlyTheUsersOwnDragsAreStepsAndAStartForgetsThem) {
  // A press on #2 moves #0 by script: no step. A plain click is none either.
  OpenThree(";@press(#2) move(#0, 5, 0)\n");
  view_->LeftButtonDown(PlayPoint{151, 81});
  view_->LeftButtonUp(PlayPoint{151, 81});
  EXPECT_EQ(At(0), (Position{15, 10}));
  EXPECT_FALSE(view_->CanUndo());

  // Steps go back newest first; a new drag forgets what was taken back.
  Drag(PlayPoint{16, 12}, PlayPoint{26, 12});
  Drag(PlayPoint{102, 52}, PlayPoint{102, 62});
  Drag(PlayPoint{26, 12}, PlayPoint{26, 32});
  ASSERT_EQ(view_->move_history().undo_count(), 3u);
  view_->Undo();
  view_->Undo();
  EXPECT_EQ(At(0), (Position{25, 10}));
  EXPECT_EQ(At(1), (Position{100, 50}));
  EXPECT_TRUE(view_->CanRedo());
  Drag(PlayPoint{26, 12}, PlayPoint{46, 12});
  EXPECT_FALSE(view_->CanRedo());
  EXPECT_EQ(view_->move_history().undo_count(), 2u);

  // Not while an object is held.
  view_->LeftButtonDown(PlayPoint{46, 12});
  EXPECT_FALSE(view_->CanUndo());
  EXPECT_FALSE(view_->Undo());
  view_->LeftButtonUp(PlayPoint{46, 12});

  // Reset starts the doll over without its history.
  host_.QueueAnswer(Answer::kYes);
  ASSERT_TRUE(view_->ResetDoll());
  EXPECT_FALSE(view_->CanUndo());
  EXPECT_FALSE(view_->CanRedo());
  EXPECT_EQ(At(0), (Position{10, 10}));

  // So does loading the CNF again.
  Drag(PlayPoint{12, 12}, PlayPoint{22, 12});
  ASSERT_TRUE(view_->CanUndo());
  ASSERT_TRUE(doc_->ReloadCnf());
  view_->StartDoll();
  EXPECT_FALSE(view_->CanUndo());
}

TEST_F(ViewHistoryTest, UndoShowsTheSetOfTheStepAndKeepsAFixWornOff) {
  OpenThree(";@set(1) add(ones, ones, 1)\n", ".2");
  // The first tug wears the fix off, the second drag moves #0.
  Drag(PlayPoint{12, 12}, PlayPoint{14, 14});
  ASSERT_EQ(Object(0).fix, 0u);
  EXPECT_FALSE(view_->CanUndo());
  Drag(PlayPoint{12, 12}, PlayPoint{32, 12});
  view_->SelectSet(1);
  Drag(PlayPoint{152, 82}, PlayPoint{132, 82});
  EXPECT_EQ(At(2, 1), (Position{130, 80}));
  EXPECT_EQ(Var("ones"), 1);

  ASSERT_TRUE(view_->Undo());
  EXPECT_EQ(At(2, 1), (Position{150, 80}));
  ASSERT_TRUE(view_->Undo());
  // Back in set 0, where that drag was made, and the object stays loose.
  EXPECT_EQ(view_->CurrentSet(), 0);
  EXPECT_EQ(At(0), (Position{10, 10}));
  EXPECT_EQ(Object(0).fix, 0u);
  ASSERT_TRUE(view_->Redo());
  ASSERT_TRUE(view_->Redo());
  EXPECT_EQ(view_->CurrentSet(), 1);
  EXPECT_EQ(Var("ones"), 2);
  EXPECT_EQ(At(2, 1), (Position{130, 80}));
  EXPECT_EQ(At(0), (Position{30, 10}));
}

TEST_F(ViewHistoryTest, AHundredAndFiftyDragsAllComeBack) {
  OpenThree("");
  for (int i = 0; i < 150; ++i) {
    const Position p = At(0);
    const PlayPoint from{p.x + 2, p.y + 2};
    Drag(from, i % 2 ? PlayPoint{from.x, from.y + 1} : PlayPoint{from.x + 1, from.y});
  }
  ASSERT_EQ(At(0), (Position{85, 85}));
  EXPECT_EQ(view_->move_history().undo_count(), 150u);
  while (view_->Undo()) {
  }
  EXPECT_EQ(At(0), (Position{10, 10}));
  EXPECT_EQ(view_->move_history().redo_count(), 150u);
}

}  // namespace
}  // namespace luma
