// The FKiSS events a click on a fixed object raises.
#include <gtest/gtest.h>

#include "core/view/view_test_doll.h"

namespace luma {
namespace {

class ViewFixEventsTest : public testing::ViewTestDoll {};

TEST_F(ViewFixEventsTest, AClickOnAFixedObjectRaisesFixcatchAndFixdropTillItComesLoose) {
  // #0 has fix 2: each event appends its digit to `o`.
  OpenCnf(
      "(200,100)\n%p.kcf\n#0.2 a.cel *0 :0\n#1 b.cel *0 :0\n$0 10,10 50,10\n;@EventHandler\n"
      ";@catch(#0) mul(o, o, 10) add(o, o, 1)\n;@fixcatch(#0) mul(o, o, 10) add(o, o, 2)\n"
      ";@fixdrop(#0) mul(o, o, 10) add(o, o, 3)\n;@drop(#0) mul(o, o, 10) add(o, o, 4)\n"
      ";@unfix(#0) mul(o, o, 10) add(o, o, 5)\n;@release(#0) mul(o, o, 10) add(o, o, 6)\n");
  view_->StartDoll();
  // The first click leaves fix 1: the object holds and is dropped fixed.
  view_->LeftButtonDown(PlayPoint{12, 12});
  view_->LeftButtonUp(PlayPoint{12, 12});
  EXPECT_EQ(Object(0).fix, 1u);
  EXPECT_EQ(Var("o"), 1263);
  // The second frees it: unfix instead of fixcatch, and a plain drop.
  view_->LeftButtonDown(PlayPoint{12, 12});
  view_->LeftButtonUp(PlayPoint{12, 12});
  EXPECT_EQ(Object(0).fix, 0u);
  EXPECT_EQ(Var("o") % 10000, 1564);  // catch, unfix, release, drop
}

}  // namespace
}  // namespace luma
