// The snap-to wizard over a doll on disk: its status lines, what the picks
// allow, and effects that are added, snap on a drop, and are removed.
#include "core/view/snap_to_wizard.h"

#include <gtest/gtest.h>

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/snap_to.h"
#include "core/view/view_test_doll.h"

namespace luma {
namespace {

// Three 8 x 8 objects in set 0 and no script at all.
constexpr char kPlainDoll[] =
    "(200,100)\n%p.kcf\n#0 a.cel *0 :0\n#1 b.cel *0 :0\n#2 c.cel *0 :0\n"
    "$0 10,10 100,50 150,20\n";

class SnapToWizardTest : public testing::ViewTestDoll {
 protected:
  void Start(const std::string& cnf = kPlainDoll) {
    OpenCnf(cnf);
    view_->StartDoll();
    wizard_ = std::make_unique<SnapToWizard>(*view_);
  }
  void Pick(int parent, int child) {
    wizard_->PickParent(parent, "p.cel");
    wizard_->PickChild(child, "c.cel");
  }
  std::unique_ptr<SnapToWizard> wizard_;
};

TEST_F(SnapToWizardTest, StatusFollowsThePicksInOrder) {
  Start();
  SnapToWizard& w = *wizard_;
  EXPECT_EQ(w.status(), "Child and Parent are not selected.");
  EXPECT_EQ(w.FindLabel(), "&Find Snap-To");
  w.PickChild(1, "b.cel");
  EXPECT_EQ(w.status(), "Parent is not selected.");
  EXPECT_FALSE(w.can_add() || w.can_remove());

  SnapToWizard parent_only(*view_);
  parent_only.PickParent(0, "a.cel");
  EXPECT_EQ(parent_only.status(), "Child is not selected.");
  EXPECT_EQ(parent_only.FindLabel(), "&Find Snap-To for #0");

  w.PickParent(1, "b.cel");
  EXPECT_EQ(w.status(), "Child and Parent are the same object.");
  EXPECT_FALSE(w.can_add() || w.can_remove());
  EXPECT_FALSE(w.Add());

  w.PickParent(0, "a.cel");
  EXPECT_EQ(w.ParentText(), "#0 (a.cel)");
  EXPECT_EQ(w.ChildText(), "#1 (b.cel)");
  EXPECT_EQ(w.status(), "Ready to add Snap-To\n(90, 40)");
  EXPECT_TRUE(w.can_add());
  EXPECT_FALSE(w.can_remove());

  // An object number the doll does not have counts as no pick.
  w.PickChild(7, "x.cel");
  EXPECT_EQ(w.status(), "Child is not selected.");
}

TEST_F(SnapToWizardTest, PicksComeFromTheLastClickedCel) {
  Start();
  EXPECT_FALSE(wizard_->PickParentFromView());  // nothing clicked yet
  view_->RightButtonDown(PlayPoint{152, 22});
  ASSERT_TRUE(wizard_->PickParentFromView());
  view_->LeftButtonDown(PlayPoint{12, 12});
  view_->LeftButtonUp(PlayPoint{12, 12});
  ASSERT_TRUE(wizard_->PickChildFromView());
  EXPECT_EQ(wizard_->ParentText(), "#2 (c.cel)");
  EXPECT_EQ(wizard_->ChildText(), "#0 (a.cel)");
  EXPECT_EQ(wizard_->status(), "Ready to add Snap-To\n(-140, -10)");
}

TEST_F(SnapToWizardTest, AddingToADollWithoutScriptRunsItAndSnapsOnADrop) {
  Start();
  ASSERT_NE(doc_->fkiss(), nullptr);
  ASSERT_FALSE(view_->runtime()->running());
  Pick(0, 1);
  ASSERT_TRUE(wizard_->Add());
  EXPECT_EQ(doc_->fkiss()->added_text, ";@in(#1, #0) movebyx(#1, #0, 90) movebyy(#1, #0, 40)\n\n");
  EXPECT_EQ(doc_->model().fkiss_level, kFkissLevel2);
  EXPECT_TRUE(view_->runtime()->running());
  EXPECT_EQ(wizard_->status(), "Snap-To exists for this child and parent.");
  EXPECT_FALSE(wizard_->can_add());
  EXPECT_TRUE(wizard_->can_remove());

  // The roles exchanged are the reversed case, which may be removed too.
  Pick(1, 0);
  EXPECT_EQ(wizard_->status(), "Snap-To already exists with child and parent reversed.");
  EXPECT_TRUE(wizard_->can_remove());

  // Move the parent, then drop the child onto it: it jumps to the offset
  // it had when the effect was made.
  Drag(PlayPoint{12, 12}, PlayPoint{32, 22});  // parent #0 to 30,20
  ASSERT_EQ(Object(0).position[0], (Position{30, 20}));
  EXPECT_EQ(Object(1).position[0], (Position{100, 50}));
  Drag(PlayPoint{102, 52}, PlayPoint{34, 24});
  EXPECT_EQ(Object(1).position[0], (Position{120, 60}));
  // Dropped anywhere else it stays where it was put.
  Drag(PlayPoint{122, 62}, PlayPoint{172, 52});
  EXPECT_EQ(Object(1).position[0], (Position{170, 50}));
}

TEST_F(SnapToWizardTest, StillinChoiceAndTheOtherParentOfAChild) {
  Start();
  wizard_->set_use_stillin(true);
  Pick(2, 1);
  ASSERT_TRUE(wizard_->Add());
  Pick(0, 1);
  EXPECT_EQ(wizard_->status(), "Ready to add Snap-To\n(90, 40)");
  wizard_->set_use_stillin(false);
  ASSERT_TRUE(wizard_->Add());
  EXPECT_EQ(doc_->fkiss()->added_text,
            ";@stillin(#1, #2) movebyx(#1, #2, -50) movebyy(#1, #2, 30)\n\n"
            ";@in(#1, #0) movebyx(#1, #0, 90) movebyy(#1, #0, 40)\n\n");

  // Finding the children of a parent walks through those snapped to it.
  wizard_->PickParent(2, "c.cel");
  wizard_->PickChild(0, "a.cel");
  ASSERT_TRUE(wizard_->FindSnapChild());
  EXPECT_EQ(wizard_->ChildText(), "#1 (b.cel)");
  wizard_->PickParent(1, "b.cel");
  EXPECT_FALSE(wizard_->FindSnapChild());
}

TEST_F(SnapToWizardTest, RemovalAsksAndMarksTheDollForRewriting) {
  Start(std::string(kPlainDoll) +
        ";@EventHandler\n;@in(#1, #0) movebyx(#1, #0, 5) movebyy(#1, #0, 6)\n");
  FkissScript& script = *doc_->fkiss();
  Pick(1, 0);  // reversed: removal takes either role
  ASSERT_TRUE(wizard_->can_remove());
  host_.QueueAnswer(Answer::kNo);
  EXPECT_FALSE(wizard_->Remove());
  ASSERT_EQ(host_.questions().size(), 1u);
  EXPECT_TRUE(host_.Logged("ask: Snap-To Removal Warning: Removal of snap-to FKiSS effects"));
  EXPECT_TRUE(FindSnapTo(script, &Object(0), &Object(1)));
  EXPECT_FALSE(script.reformat_on_save);

  host_.QueueAnswer(Answer::kYes);
  EXPECT_TRUE(wizard_->Remove());
  EXPECT_FALSE(FindSnapTo(script, &Object(0), &Object(1)));
  EXPECT_TRUE(script.reformat_on_save);
  EXPECT_EQ(wizard_->status(), "Ready to add Snap-To\n(-90, -40)");

  // Once the CNF will be rewritten from the model, an added effect is not
  // also kept as text to append.
  ASSERT_TRUE(wizard_->Add());
  EXPECT_TRUE(script.added_text.empty());
  EXPECT_TRUE(FindSnapTo(script, &Object(1), &Object(0)));
  EXPECT_FALSE(FindSnapTo(script, &Object(0), &Object(1)));
  EXPECT_EQ(wizard_->status(), "Snap-To exists for this child and parent.");
}

}  // namespace
}  // namespace luma
