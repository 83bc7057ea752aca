#include "core/view/cnf_save_command.h"

#include <gtest/gtest.h>

#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"

namespace luma {
namespace {

TEST(CnfSaveCommandTest, AFailedSaveIsShownOnceAndASavedOneSilently) {
  testing::DiskDoll doll;
  doll.Write("a.cel", testing::TestCel(4, 4, 32));
  auto doc = doll.OpenCnf("#0 a.cel\n$0 1,2\n");
  ASSERT_TRUE(doc);
  doll.host().ClearLog();
  const std::string nowhere = doll.Path("missing/x.cnf");
  EXPECT_FALSE(RunSaveToNewCnf(*doc, nowhere, CnfSaveOptions{}));
  ASSERT_EQ(doll.host().messages().size(), 1u);
  EXPECT_EQ(doll.host().messages()[0].caption, "Save Error");
  EXPECT_EQ(doll.host().messages()[0].text, "Unable to write to file " + nowhere);
  EXPECT_EQ(doll.host().messages()[0].icon, MessageIcon::kWarning);

  EXPECT_TRUE(RunSaveToNewCnf(*doc, doll.Path("new.cnf"), CnfSaveOptions{}));
  EXPECT_EQ(doll.host().messages().size(), 1u);
  EXPECT_EQ(doc->path(), doll.Path("new.cnf"));
}

}  // namespace
}  // namespace luma
