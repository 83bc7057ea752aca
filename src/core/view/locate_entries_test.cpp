#include "core/view/locate_entries.h"

#include <gtest/gtest.h>

#include "core/view/view_test_doll.h"

namespace luma {
namespace {

using LocateEntriesTest = testing::ViewTestDoll;

TEST_F(LocateEntriesTest, ObjectsByNumberAndCelsInCnfOrderWithSharedNamesTold) {
  OpenCnf(
      "(200,100)\n%p.kcf\n#3 b.cel *0 :0\n#0 a.cel *0 :0\n#3 c.cel *0 :0\n"
      "#5 B.CEL *0 :0\n$0 10,10 * * 20,20 * 30,30\n");
  const LocateEntries entries = ListLocateEntries(doc_->model());
  ASSERT_EQ(entries.objects.size(), 3u);
  EXPECT_EQ(entries.objects[0].label, "#0");
  EXPECT_EQ(entries.objects[2].label, "#5");
  EXPECT_EQ(entries.objects[2].number, 5);
  ASSERT_EQ(entries.cels.size(), 4u);
  EXPECT_EQ(entries.cels[0].label, "b.cel #3");
  EXPECT_EQ(entries.cels[1].label, "a.cel");
  EXPECT_EQ(entries.cels[2].label, "c.cel");
  EXPECT_EQ(entries.cels[3].label, "B.CEL #5");
  EXPECT_EQ(entries.cels[3].cel->object_number, 5);
}

}  // namespace
}  // namespace luma
