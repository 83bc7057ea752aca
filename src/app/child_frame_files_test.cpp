// Saving a doll's CNF under a new name and building an archive of it from
// the doll window, with the dialogs answered by the test.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <filesystem>

#include "app/additional_files_dialog.h"
#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/main_frame.h"
#include "app/main_window_fixture.h"
#include "app/qt_dialog_runner.h"
#include "app/save_cnf_dialog.h"
#include "core/fkiss/fkiss_script.h"
#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"
#include "core/testing/doll_description.h"

namespace luma::app {
namespace {

constexpr char kCnf[] =
    "(120,80)\n"
    "%colors.kcf\n"
    "#0 a.cel *0 :0 1\n"
    "#1 b.cel *0 :0 1 ; the shirt\n"
    "$0 10,10 40,20\n"
    "$0 5,5 30,30\n";

QString Q(const std::string& path) { return QString::fromStdString(path); }

std::string Describe(CKissCnfDoc& doc) { return testing::DescribeDoll(doc.model(), doc.fkiss()); }

class DollFileCommandsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    files_.Write("colors.kcf", testing::TestKcf(16));
    files_.Write("a.cel", testing::TestCel(20, 10, 4, 3));
    files_.Write("b.cel", testing::TestCel(10, 10, 4, 5));
    files_.Write("doll.cnf", kCnf);
    files_.Write("readme.txt", "About this doll.\n");
    dialogs_.answer = Answer::kOk;
    // Save dialogs choose `destination_`.
    dialogs_.on_file = [this](QFileDialog&) {
      return QFile::decodeName(QByteArray::fromStdString(destination_));
    };
    frame_->resize(800, 600);
  }

  CChildFrame* Open(const std::string& name) { return OpenPath(Q(files_.Path(name))); }

  // The files of the doll's folder whose names end in `suffix`.
  std::vector<std::string> FilesEndingIn(const std::string& suffix) {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(files_.dir().path())) {
      const std::string name = entry.path().filename().string();
      if (name.size() >= suffix.size() && name.ends_with(suffix)) found.push_back(name);
    }
    return found;
  }

  testing::DiskDoll files_;
  std::vector<std::string>& said_ = dialogs_.said;
  std::vector<std::string>& asked_ = dialogs_.file_dialogs;  // their titles
  Answer& answer_ = dialogs_.answer;
  std::string destination_;
};

TEST_F(DollFileCommandsTest, SaveAsWritesTheDollAndOffersTheLastChoicesAgain) {
  frame_->UpdateCommandUi();
  EXPECT_FALSE(frame_->action(kIdFileSaveAs)->isEnabled()) << "no doll open";
  EXPECT_FALSE(frame_->action(kIdBuildLzh)->isEnabled());
  CChildFrame* child = Open("doll.cnf");
  ASSERT_NE(child, nullptr);
  frame_->UpdateCommandUi();
  EXPECT_TRUE(frame_->action(kIdFileSaveAs)->isEnabled());
  EXPECT_TRUE(frame_->action(kIdBuildLzh)->isEnabled());
  child->doc().set_loading(true);
  frame_->UpdateCommandUi();
  EXPECT_FALSE(frame_->action(kIdFileSaveAs)->isEnabled()) << "a doll being loaded";
  child->doc().set_loading(false);

  // The shirt was dragged: saving with current positions writes where it is.
  child->doc().model().FindObject(1, false)->position[0] = Position{60, 44};
  const std::string saved = files_.Path("saved.cnf");
  int offers = 0;
  dialogs_.on_save_cnf = [&](SaveCnfDialog& dialog) {
    ++offers;
    for (int i = 0; i < SaveCnfDialog::kOptionCount; ++i) {
      EXPECT_FALSE(dialog.box(SaveCnfDialog::Option(i))->isChecked()) << i;
      EXPECT_TRUE(dialog.box(SaveCnfDialog::Option(i))->isEnabled()) << i;
    }
    dialog.box(SaveCnfDialog::kPositions)->setChecked(true);
    dialog.box(SaveCnfDialog::kMaxfixHint)->setChecked(true);
    return saved;
  };
  frame_->RunCommand(kIdFileSaveAs);
  EXPECT_EQ(offers, 1);
  EXPECT_TRUE(said_.empty()) << said_.front();

  // The file is the same doll, moved shirt and all; the window is that file now.
  auto reopened = files_.OpenPath(saved);
  ASSERT_NE(reopened, nullptr);
  EXPECT_EQ(reopened->model().FindObject(1, false)->initial_position[0], (Position{60, 44}));
  std::string expected = Describe(child->doc());
  const size_t hint = expected.find("maxfix 100 ");
  ASSERT_NE(hint, std::string::npos) << expected;
  expected.replace(hint, 11, "maxfix 100! ");  // the hint is new in the file
  EXPECT_EQ(Describe(*reopened), expected);
  reopened->Close();
  EXPECT_EQ(child->windowTitle(), "saved.cnf");
  EXPECT_EQ(child->doc().path(), saved);
  EXPECT_EQ(frame_->recent_files().files().value(0), Q(saved));

  // The next Save As starts with those choices; Cancel writes nothing and
  // remembers nothing.
  dialogs_.on_save_cnf = [&](SaveCnfDialog& dialog) {
    ++offers;
    const CnfSaveOptions shown = dialog.options();
    EXPECT_TRUE(shown.positions);
    EXPECT_TRUE(shown.maxfix_hint);
    EXPECT_FALSE(shown.transparencies || shown.mapping || shown.stack_hint || shown.bounds_hint ||
                 shown.reformat);
    dialog.box(SaveCnfDialog::kPositions)->setChecked(false);
    return std::string();
  };
  frame_->RunCommand(kIdFileSaveAs);
  EXPECT_EQ(offers, 2);
  EXPECT_TRUE(child->doc().save_options().positions);
  EXPECT_EQ(FilesEndingIn(".cnf").size(), 2u);
  EXPECT_EQ(child->windowTitle(), "saved.cnf");
}

TEST_F(DollFileCommandsTest, ADollThatMustBeReformattedCannotBeSavedOtherwise) {
  CChildFrame* child = Open("doll.cnf");
  ASSERT_NE(child, nullptr);
  ASSERT_NE(child->doc().fkiss(), nullptr);
  child->doc().fkiss()->reformat_on_save = true;
  dialogs_.on_save_cnf = [&](SaveCnfDialog& dialog) {
    EXPECT_TRUE(dialog.box(SaveCnfDialog::kReformat)->isChecked());
    EXPECT_FALSE(dialog.box(SaveCnfDialog::kReformat)->isEnabled());
    EXPECT_TRUE(dialog.options().reformat);
    return files_.Path("fresh.cnf");
  };
  frame_->RunCommand(kIdFileSaveAs);
  const std::string text = testing::ReadFile(files_.Path("fresh.cnf"));
  EXPECT_EQ(text.rfind(";; This CNF file was written by Lumadoll", 0), 0u) << text;
  EXPECT_EQ(text.find("the shirt") != std::string::npos, true) << "comments survive";
}

TEST_F(DollFileCommandsTest, TheRealSaveDialogAddsTheExtensionToATypedName) {
  CChildFrame* child = Open("doll.cnf");
  ASSERT_NE(child, nullptr);
  // The dialog runs as the user sees it.
  dialogs_.on_save_cnf = [](SaveCnfDialog& dialog) {
    return QtDialogRunner().RunSaveCnfDialog(dialog);
  };
  bool shown = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = dynamic_cast<SaveCnfDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    shown = true;
    dialog->selectFile(Q(files_.Path("typed")));
    QMetaObject::invokeMethod(dialog, "accept");  // as the Save button does
  });
  frame_->RunCommand(kIdFileSaveAs);
  EXPECT_TRUE(shown);
  EXPECT_TRUE(std::filesystem::exists(files_.Path("typed.cnf")));
  EXPECT_EQ(child->windowTitle(), "typed.cnf");
}

TEST_F(DollFileCommandsTest, BuildLzhStopsAtEveryCancelWithoutWritingAnything) {
  CChildFrame* child = Open("doll.cnf");
  ASSERT_NE(child, nullptr);
  int save_dialogs = 0;
  int file_dialogs = 0;
  dialogs_.on_save_cnf = [&](SaveCnfDialog&) {
    ++save_dialogs;
    EXPECT_EQ(frame_->alarm_loop().client(), nullptr) << "the script waits for the dialogs";
    return std::string();
  };
  bool files_ok = false;
  dialogs_.on_additional_files = [&](AdditionalFilesDialog& dialog) {
    ++file_dialogs;
    EXPECT_EQ(dialog.list()->count(), 0) << "the list starts empty every time";
    dialog.AddFiles({Q(files_.Path("readme.txt"))});
    return files_ok;
  };
  destination_ = files_.Path("out.lzh");

  answer_ = Answer::kCancel;  // "Save CNF?"
  frame_->RunCommand(kIdBuildLzh);
  EXPECT_EQ(save_dialogs + file_dialogs, 0);

  answer_ = Answer::kYes;  // then the CNF's save dialog is cancelled
  frame_->RunCommand(kIdBuildLzh);
  EXPECT_EQ(save_dialogs, 1);
  EXPECT_EQ(file_dialogs, 0);

  answer_ = Answer::kNo;  // Additional Files cancelled
  frame_->RunCommand(kIdBuildLzh);
  EXPECT_EQ(file_dialogs, 1);
  EXPECT_TRUE(asked_.empty()) << "no destination asked for";

  files_ok = true;  // the destination dialog cancelled
  destination_.clear();
  frame_->RunCommand(kIdBuildLzh);
  EXPECT_EQ(file_dialogs, 2);
  ASSERT_EQ(asked_.size(), 1u);
  EXPECT_EQ(asked_[0], "Build LZH Archive");

  EXPECT_TRUE(FilesEndingIn(".lzh").empty());
  EXPECT_EQ(FilesEndingIn(".cnf").size(), 1u);
  EXPECT_EQ(frame_->recent_files().files().size(), 1);
  EXPECT_EQ(said_.size(), 4u) << "only the questions";
  EXPECT_EQ(frame_->alarm_loop().client(), child);
}

TEST_F(DollFileCommandsTest, BuildLzhPacksTheSavedDollAndItsDocuments) {
  CChildFrame* child = Open("doll.cnf");
  ASSERT_NE(child, nullptr);
  answer_ = Answer::kYes;
  dialogs_.on_save_cnf = [&](SaveCnfDialog& dialog) {
    dialog.box(SaveCnfDialog::kReformat)->setChecked(true);
    return files_.Path("packed.cnf");
  };
  dialogs_.on_additional_files = [&](AdditionalFilesDialog& dialog) {
    const QString readme = Q(files_.Path("readme.txt"));
    dialog.AddFiles({readme, readme});
    return true;
  };
  destination_ = files_.Path("out.lzh");
  frame_->RunCommand(kIdBuildLzh);

  ASSERT_FALSE(said_.empty());
  EXPECT_EQ(said_.back(), "LZH Creation Complete: " + destination_ + " has been created.");
  EXPECT_EQ(child->windowTitle(), "packed.cnf") << "the doll became the CNF it saved";
  EXPECT_EQ(frame_->recent_files().files().value(0), Q(destination_));
  EXPECT_EQ(frame_->current_folder(), QFileInfo(Q(destination_)).absolutePath())
      << "file dialogs go on where the archive went";
  EXPECT_EQ(FilesEndingIn(".lzh"), std::vector<std::string>{"out.lzh"}) << "no temporary left";

  auto packed = files_.OpenPath(destination_);
  ASSERT_NE(packed, nullptr);
  EXPECT_EQ(packed->cnf_name(), "packed.cnf");
  EXPECT_EQ(Describe(*packed), Describe(child->doc()));
  ASSERT_EQ(packed->document_files().size(), 1u);
  EXPECT_EQ(packed->document_files()[0].name, "readme.txt");
  packed->Close();

  // Saving the CNF of the archived doll leaves the window the archive's.
  CChildFrame* archived = Open("out.lzh");
  ASSERT_NE(archived, nullptr);
  dialogs_.on_save_cnf = [&](SaveCnfDialog&) { return files_.Path("loose.cnf"); };
  frame_->RunCommand(kIdFileSaveAs);
  EXPECT_TRUE(std::filesystem::exists(files_.Path("loose.cnf")));
  EXPECT_EQ(archived->windowTitle(), "out.lzh");
  EXPECT_EQ(archived->doc().path(), destination_);
  EXPECT_EQ(frame_->recent_files().files().value(0), Q(destination_));
}

std::vector<std::string> Paths(const std::vector<AdditionalFile>& files) {
  std::vector<std::string> paths;
  for (const AdditionalFile& file : files) paths.push_back(file.path);
  return paths;
}

TEST(AdditionalFilesDialogTest, AddSkipsListedFilesAndRemoveFollowsTheSelection) {
  AdditionalFilesDialog dialog(nullptr);
  EXPECT_EQ(dialog.add_button()->text(), "&Add...");
  EXPECT_FALSE(dialog.remove_button()->isEnabled());

  QStringList chosen = {"/docs/a.txt", "/docs/b.txt", "/docs/a.txt"};
  dialog.set_chooser([&] { return chosen; });
  dialog.add_button()->click();
  chosen = {"/docs/b.txt", "/other/a.txt", "/docs/A.txt"};
  dialog.add_button()->click();
  EXPECT_EQ(Paths(dialog.files()), (std::vector<std::string>{"/docs/a.txt", "/docs/b.txt",
                                                             "/other/a.txt", "/docs/A.txt"}));
  EXPECT_FALSE(dialog.remove_button()->isEnabled()) << "adding selects nothing";

  dialog.list()->setCurrentRow(1);
  EXPECT_TRUE(dialog.remove_button()->isEnabled());
  dialog.remove_button()->click();
  EXPECT_EQ(Paths(dialog.files()),
            (std::vector<std::string>{"/docs/a.txt", "/other/a.txt", "/docs/A.txt"}));
  EXPECT_FALSE(dialog.remove_button()->isEnabled());
  EXPECT_TRUE(dialog.list()->selectedItems().isEmpty());
  dialog.remove_button()->click();
  EXPECT_EQ(dialog.files().size(), 3u) << "nothing selected, nothing removed";

  dialog.list()->setCurrentRow(0);
  dialog.list()->clearSelection();
  EXPECT_FALSE(dialog.remove_button()->isEnabled());

  // Members of the doll's own archive are named with it and come back as members.
  AdditionalFilesDialog listed(nullptr);
  listed.ListMembers({{"readme.txt", true}, {"docs/guide.doc", true}}, "doll.lzh");
  listed.AddFiles({"/docs/a.txt"});
  EXPECT_EQ(listed.list()->item(1)->text(), "doll.lzh: docs/guide.doc");
  EXPECT_EQ(listed.files(),
            (std::vector<AdditionalFile>{
                {"readme.txt", true}, {"docs/guide.doc", true}, {"/docs/a.txt", false}}));
}

}  // namespace
}  // namespace luma::app
