#include "core/files/cnf_save.h"

#include <gtest/gtest.h>

#include "core/fkiss/fkiss_script.h"
#include "core/fkiss/snap_to.h"
#include "core/model/kiss_object.h"
#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"
#include "core/testing/doll_description.h"

namespace luma {
namespace {

namespace fs = std::filesystem;
using testing::DiskDoll;

class CnfSaveTest : public ::testing::Test {
 protected:
  CnfSaveTest() {
    doll_.Write("a.cel", testing::TestCel(4, 4, 32));
    doll_.Write("b.cel", testing::TestCel(4, 4, 32));
    doll_.Write("doll.cnf", "; mine\n#0 a.cel\n#1 b.cel\n$0 1,2 3,4\n");
    doc_ = doll_.Open("doll.cnf");
  }

  DiskDoll doll_;
  std::unique_ptr<CKissCnfDoc> doc_;
};

TEST_F(CnfSaveTest, AFailedWriteIsReportedAndChangesNothing) {
  ASSERT_TRUE(doc_);
  doll_.Write("taken.cnf", "old\n");
  fs::create_directory(doll_.dir() / "folder.cnf");
  for (const std::string& target : {doll_.Path("folder.cnf"), doll_.Path("missing/x.cnf")}) {
    doll_.host().ClearLog();
    CnfSaveOptions options;
    options.positions = true;
    doc_->model().objects()[0]->position[0] = Position{9, 9};
    const Status saved = SaveToNewCnf(*doc_, target, options);
    EXPECT_EQ(saved.message(), "Unable to write to file " + target);
    EXPECT_TRUE(doll_.host().messages().empty());
    EXPECT_EQ(doc_->path(), doll_.Path("doll.cnf"));
    EXPECT_EQ(doc_->model().cnf_lines[0], "; mine");
    EXPECT_EQ(doc_->model().objects()[0]->initial_position[0], (Position{1, 2}));
    EXPECT_FALSE(doc_->save_options().positions);
  }
  EXPECT_TRUE(fs::is_directory(doll_.dir() / "folder.cnf"));
  EXPECT_EQ(doll_.Read("taken.cnf"), "old\n");
}

TEST_F(CnfSaveTest, ADiskDollBecomesTheSavedFile) {
  ASSERT_TRUE(doc_);
  CnfSaveOptions options;
  options.mapping = true;
  ASSERT_TRUE(SaveToNewCnf(*doc_, doll_.Path("new.cnf"), options));
  EXPECT_EQ(doc_->path(), doll_.Path("new.cnf"));
  EXPECT_EQ(doc_->cnf_path(), doll_.Path("new.cnf"));
  EXPECT_EQ(doc_->cnf_name(), "new.cnf");
  EXPECT_EQ(doc_->title(), "new.cnf");
  EXPECT_TRUE(doc_->save_options().mapping);
  EXPECT_EQ(doll_.Read("new.cnf"),
            "; mine\n#0 a.cel\n#1 b.cel\n$0 1,2 3,4\n"
            "$0 0,0 0,0\n\n$0 0,0 0,0\n\n$0 0,0 0,0\n\n$0 0,0 0,0\n\n$0 0,0 0,0\n\n"
            "$0 0,0 0,0\n\n$0 0,0 0,0\n\n$0 0,0 0,0\n\n$0 0,0 0,0\n\n");
  EXPECT_TRUE(doc_->ReloadCnf());
}

TEST_F(CnfSaveTest, AnArchivedDollKeepsItsArchive) {
  const std::vector<uint8_t> image =
      testing::TestDollArchive({{"doll.cnf", "#0 a.cel\n"}, {"a.cel", testing::TestCel(4, 4, 32)}});
  doll_.Write("doll.lzh", image);
  auto doc = doll_.Open("doll.lzh");
  ASSERT_TRUE(doc);
  ASSERT_TRUE(SaveToNewCnf(*doc, doll_.Path("out.cnf"), CnfSaveOptions{}));
  EXPECT_EQ(doc->path(), doll_.Path("doll.lzh"));
  EXPECT_EQ(doc->title(), "doll.lzh");
  EXPECT_TRUE(doc->is_archive());
}

TEST_F(CnfSaveTest, SavedPositionsAreWhereResetReturns) {
  ASSERT_TRUE(doc_);
  DollModel& doll = doc_->model();
  doll.objects()[1]->position[0] = Position{30, 40};
  ASSERT_TRUE(SaveToNewCnf(*doc_, doll_.Path("kept.cnf"), CnfSaveOptions{}));
  doll.Reset(false);
  EXPECT_EQ(doll.objects()[1]->position[0], (Position{3, 4}));

  doll.objects()[1]->position[0] = Position{30, 40};
  CnfSaveOptions options;
  options.positions = true;
  ASSERT_TRUE(SaveToNewCnf(*doc_, doll_.Path("moved.cnf"), options));
  doll.objects()[1]->position[0] = Position{0, 0};
  doll.Reset(false);
  EXPECT_EQ(doll.objects()[1]->position[0], (Position{30, 40}));
  EXPECT_NE(doll_.Read("moved.cnf").find("$0 1,2 30,40\n"), std::string::npos);
}

// After the reformatting writer the document's lines are the new file's, so
// a later preserving save edits the right lines.
TEST_F(CnfSaveTest, LaterSavesEditTheLinesOfTheSavedFile) {
  ASSERT_TRUE(doc_);
  CnfSaveOptions reformat;
  reformat.reformat = true;
  ASSERT_TRUE(SaveToNewCnf(*doc_, doll_.Path("one.cnf"), reformat));
  doc_->model().instances()[1]->mapped = false;
  CnfSaveOptions mapping;
  mapping.mapping = true;
  ASSERT_TRUE(SaveToNewCnf(*doc_, doll_.Path("two.cnf"), mapping));
  auto again = doll_.Open("two.cnf");
  ASSERT_TRUE(again);
  EXPECT_TRUE(again->model().instances()[0]->mapped);
  EXPECT_FALSE(again->model().instances()[1]->mapped);
  EXPECT_NE(doll_.Read("two.cnf").find("#1 b.cel  :0 1 2 3 4 5 6 7 8 9\t;%u\n"), std::string::npos);
}

TEST_F(CnfSaveTest, RemovedSnapToNeedsTheReformattingWriter) {
  ASSERT_TRUE(doc_);
  DollModel& doll = doc_->model();
  FkissScript& script = *doc_->fkiss();
  AddSnapTo(script, doll, doll.FindObject(0, false), doll.FindObject(1, false), true, 0);
  EXPECT_FALSE(CnfReformatRequired(*doc_));
  ASSERT_TRUE(RemoveSnapTo(script, doll.FindObject(0, false), doll.FindObject(1, false)));
  EXPECT_TRUE(CnfReformatRequired(*doc_));
  ASSERT_TRUE(SaveToNewCnf(*doc_, doll_.Path("out.cnf"), CnfSaveOptions{}));
  const std::string text = doll_.Read("out.cnf");
  EXPECT_EQ(text.rfind(";; This CNF file was written by Lumadoll\n", 0), 0u);
  EXPECT_EQ(text.find("movebyx"), std::string::npos);
  EXPECT_FALSE(CnfReformatRequired(*doc_));
  EXPECT_TRUE(script.added_text.empty());
}

// Script lines the doll cannot use yet (a cel file is missing) survive any
// number of saves, also the rewrite that removing a snap-to forces, and work
// once the file is back.
TEST_F(CnfSaveTest, ScriptLinesForMissingCelsSurviveEverySave) {
  doll_.Write("doll.cnf",
              "#0 a.cel\n#1 b.cel\n#2 gone.cel\n"
              ";@EventHandler\n;@press(#0) map(\"gone.cel\") unmap(#1)\n"
              "$0 1,2 3,4 5,6\n");
  doc_ = doll_.Open("doll.cnf");
  ASSERT_TRUE(doc_);
  DollModel& doll = doc_->model();
  FkissScript& script = *doc_->fkiss();
  KissObject* a = doll.FindObject(0, false);
  KissObject* b = doll.FindObject(1, false);
  AddSnapTo(script, doll, a, b, true, 0);
  CnfSaveOptions reformat;
  reformat.reformat = true;
  ASSERT_TRUE(SaveToNewCnf(*doc_, doll_.Path("one.cnf"), reformat));
  ASSERT_TRUE(RemoveSnapTo(script, a, b));
  ASSERT_TRUE(SaveToNewCnf(*doc_, doll_.Path("two.cnf"), CnfSaveOptions{}));
  ASSERT_TRUE(SaveToNewCnf(*doc_, doll_.Path("three.cnf"), CnfSaveOptions{}));
  for (const char* name : {"one.cnf", "two.cnf", "three.cnf"}) {
    const std::string text = doll_.Read(name);
    EXPECT_NE(text.find("map(\"gone.cel\")"), std::string::npos) << name;
    EXPECT_EQ(text.find("movebyx") != std::string::npos, name == std::string("one.cnf")) << name;
  }

  doll_.Write("gone.cel", testing::TestCel(4, 4, 32));
  auto original = doll_.Open("doll.cnf");
  auto saved = doll_.Open("three.cnf");
  ASSERT_TRUE(original && saved);
  EXPECT_EQ(testing::DescribeDoll(saved->model(), saved->fkiss()),
            testing::DescribeDoll(original->model(), original->fkiss()));
  EXPECT_EQ(saved->fkiss()->action_count, 2);
}

}  // namespace
}  // namespace luma
