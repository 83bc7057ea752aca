// The doll's tool windows (snap-to wizard, variable watch, Find Object or
// Cel) as the user drives them, and the open-file dialog's preview.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFontMetrics>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTreeView>
#include <algorithm>

#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/locate_dialog.h"
#include "app/main_frame.h"
#include "app/main_window_fixture.h"
#include "app/preview_file_dialog.h"
#include "app/snap_to_wizard_window.h"
#include "app/variable_watch_window.h"
#include "core/fkiss/fkiss_script.h"
#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"

namespace luma::app {
namespace {

// #0 (a.cel) and #1 (b.cel) in sets 0 and 1, #2 (c.cel) only in set 1;
// every cel 10 x 10.
constexpr char kCnf[] =
    "(200,100)\n"
    "%colors.kcf\n"
    "#0 a.cel *0 :0 1\n"
    "#1 b.cel *0 :0 1\n"
    "#2 c.cel *0 :1\n"
    "$0 10,10 100,50 *\n"
    "$0 10,10 100,50 150,10\n";

QString Q(const std::string& path) { return QString::fromStdString(path); }

class ToolWindowsTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    files_.Write("colors.kcf", testing::TestKcf(16));
    for (const char* name : {"a.cel", "b.cel", "c.cel"}) {
      files_.Write(name, testing::TestCel(10, 10, 4, 3));
    }
    frame_->resize(800, 600);
  }

  CChildFrame* Open(const std::string& script = "") {
    files_.Write("doll.cnf", std::string(kCnf) + script);
    return OpenPath(Q(files_.Path("doll.cnf")));
  }
  // A left click on a doll point, as the view gets it from the window.
  static void Click(CChildFrame* child, int x, int y) {
    child->view().LeftButtonDown(PlayPoint{x, y});
    child->view().LeftButtonUp(PlayPoint{x, y});
  }

  testing::DiskDoll files_;
  std::vector<std::string>& said_ = dialogs_.said;
  Answer& answer_ = dialogs_.answer;
};

TEST_F(ToolWindowsTest, SnapToWizardPicksClickedObjectsAddsAndRemoves) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  frame_->RunCommand(kIdSnapToWizard);
  SnapToWizardWindow* wizard = child->snap_to_window();
  ASSERT_NE(wizard, nullptr);
  EXPECT_TRUE(wizard->isVisible());
  EXPECT_EQ(wizard->windowTitle(), "Snap-To Wizard - doll.cnf");
  EXPECT_EQ(wizard->status_label()->text(), "Child and Parent are not selected.");
  EXPECT_FALSE(wizard->add_button()->isEnabled());
  EXPECT_FALSE(wizard->find_button()->isEnabled());

  Click(child, 12, 12);
  wizard->parent_button()->click();
  Click(child, 12, 12);
  wizard->child_button()->click();
  EXPECT_EQ(wizard->status_label()->text(), "Child and Parent are the same object.");
  EXPECT_FALSE(wizard->add_button()->isEnabled() || wizard->remove_button()->isEnabled());

  Click(child, 102, 52);
  wizard->child_button()->click();
  EXPECT_EQ(wizard->parent_label()->text(), "#0 (a.cel)");
  EXPECT_EQ(wizard->child_label()->text(), "#1 (b.cel)");
  EXPECT_EQ(wizard->find_button()->text(), "&Find Snap-To for #0");
  EXPECT_EQ(wizard->status_label()->text(), "Ready to add Snap-To\n(90, 40)");
  ASSERT_TRUE(wizard->add_button()->isEnabled());
  wizard->stillin_box()->setChecked(true);
  wizard->add_button()->click();
  EXPECT_EQ(wizard->status_label()->text(), "Snap-To exists for this child and parent.");
  EXPECT_EQ(child->doc().fkiss()->added_text,
            ";@stillin(#1, #0) movebyx(#1, #0, 90) movebyy(#1, #0, 40)\n\n");
  EXPECT_EQ(child->doc().model().fkiss_level, kFkissLevel2);
  EXPECT_TRUE(child->view().runtime()->running());

  // Closed and opened again, the wizard still has its picks.
  wizard->close();
  QApplication::processEvents();
  EXPECT_EQ(child->snap_to_window(), nullptr);
  frame_->RunCommand(kIdSnapToWizard);
  wizard = child->snap_to_window();
  ASSERT_NE(wizard, nullptr);
  ASSERT_TRUE(wizard->remove_button()->isEnabled());
  answer_ = Answer::kNo;
  wizard->remove_button()->click();
  EXPECT_TRUE(wizard->remove_button()->isEnabled());
  answer_ = Answer::kYes;
  wizard->remove_button()->click();
  ASSERT_EQ(said_.size(), 2u);
  EXPECT_EQ(said_[1].rfind("Snap-To Removal Warning: Removal of snap-to FKiSS effects", 0), 0u);
  EXPECT_TRUE(child->doc().fkiss()->reformat_on_save);
  EXPECT_TRUE(wizard->add_button()->isEnabled());

  // The wizard goes with its doll.
  child->close();
  QApplication::processEvents();
  EXPECT_EQ(frame_->ActiveChild(), nullptr);
}

TEST_F(ToolWindowsTest, WatchShowsWatchedVariablesAsTheScriptWritesThem) {
  CChildFrame* child = Open(
      ";@EventHandler\n"
      ";@initialize() let(lives, 3) let(score, 0)\n"
      ";@press(#0) add(score, score, 5) let(other, 9)\n"
      ";@press(#1) let(lives, 1)\n");
  ASSERT_NE(child, nullptr);
  frame_->RunCommand(kIdVariables);
  VariableWatchWindow* watch = child->watch_window();
  ASSERT_NE(watch, nullptr);
  EXPECT_EQ(watch->windowTitle(), "Variables - doll.cnf");
  EXPECT_TRUE(watch->isSizeGripEnabled());
  EXPECT_EQ(watch->minimumSize(), QSize(350, 290));
  ASSERT_EQ(watch->names()->count(), 3);
  EXPECT_EQ(watch->names()->item(1)->text(), "score");
  EXPECT_FALSE(watch->toggle_button()->isEnabled());

  watch->names()->setCurrentRow(1);
  EXPECT_TRUE(watch->toggle_button()->isEnabled());
  EXPECT_EQ(watch->toggle_button()->text(), "&Watch");
  watch->toggle_button()->click();
  EXPECT_EQ(watch->toggle_button()->text(), "&Stop Watching");
  EXPECT_EQ(watch->display()->toPlainText(), "score = 0");
  watch->names()->setCurrentRow(0);
  EXPECT_EQ(watch->toggle_button()->text(), "&Watch");
  watch->toggle_button()->click();
  EXPECT_EQ(watch->display()->toPlainText(), "score = 0\nlives = 3");

  Click(child, 12, 12);
  Click(child, 12, 12);
  EXPECT_EQ(watch->display()->toPlainText(), "score = 10\nlives = 3");
  Click(child, 102, 52);
  EXPECT_EQ(watch->display()->toPlainText(), "score = 10\nlives = 1");

  watch->names()->clearSelection();
  EXPECT_FALSE(watch->toggle_button()->isEnabled());

  child->close();
  QApplication::processEvents();
  EXPECT_EQ(frame_->ActiveChild(), nullptr);
}

TEST_F(ToolWindowsTest, LocateFindsObjectsAndCelsOfTheShownSet) {
  CChildFrame* child = Open();
  ASSERT_NE(child, nullptr);
  frame_->RunCommand(kIdLocate);
  LocateDialog* locate = child->locate_dialog();
  ASSERT_NE(locate, nullptr);
  EXPECT_EQ(locate->windowTitle(), "Find Object or Cel - doll.cnf");
  ASSERT_EQ(locate->objects()->count(), 3);
  EXPECT_EQ(locate->objects()->item(2)->text(), "#2");
  ASSERT_EQ(locate->cels()->count(), 3);
  EXPECT_EQ(locate->cels()->item(1)->text(), "b.cel");

  EXPECT_FALSE(locate->FindObject());  // nothing selected
  locate->objects()->setCurrentRow(1);
  EXPECT_TRUE(locate->FindObject());
  EXPECT_NE(frame_->statusBar()->currentMessage().indexOf("b.cel"), -1);
  locate->objects()->setCurrentRow(2);
  EXPECT_FALSE(locate->FindObject());
  locate->cels()->setCurrentRow(2);
  EXPECT_FALSE(locate->FindCel());
  EXPECT_EQ(said_,
            (std::vector<std::string>{"Find Object or Cel: #2 is not present on this page.",
                                      "Find Object or Cel: c.cel is not present on this page."}));
  frame_->RunCommand(kIdSet0 + 1);
  said_.clear();
  EXPECT_TRUE(locate->FindCel());
  EXPECT_TRUE(said_.empty());
}

TEST_F(ToolWindowsTest, OpenDialogPreviewsThumbnailsWhenThumbShowIsOn) {
  files_.Write("doll.cnf", kCnf);
  files_.Write("bad.cnf", kCnf);
  files_.Write("bad.KTN", "not a bitmap");
  QImage thumb(16, 12, QImage::Format_RGB32);
  thumb.fill(Qt::red);
  ASSERT_TRUE(thumb.save(Q(files_.Path("doll.KTN")), "BMP"));
  QDir::setCurrent(Q(files_.dir().str()));

  bool previewed = false;
  dialogs_.on_file = [&](QFileDialog& dialog) {
    auto* preview = dynamic_cast<PreviewFileDialog*>(&dialog);
    if (!preview) return QString();
    previewed = true;
    EXPECT_EQ(preview->preview()->text(), "no preview");
    // The pane holds a thumbnail of the size the settings make (64 x 48),
    // and the dialog its filter names whole.
    const int frame = 2 * preview->preview()->frameWidth();
    const QFontMetrics metrics(preview->font());
    EXPECT_EQ(preview->preview()->height(), 48 + frame);
    EXPECT_EQ(preview->preview()->width(),
              std::max(64, metrics.horizontalAdvance("no preview")) + frame);
    EXPECT_GT(preview->width(),
              metrics.horizontalAdvance(preview->nameFilters().first()) + 64 + frame);
    // The list's size, type and date columns hold what they show.
    const auto* list = preview->findChild<QTreeView*>("treeView");
    if (!list) {
      ADD_FAILURE() << "no file list";
      return QString();
    }
    EXPECT_GE(list->header()->sectionSize(1), metrics.horizontalAdvance("123.45 KiB"));
    EXPECT_GE(list->header()->sectionSize(3),
              metrics.horizontalAdvance(
                  QLocale().toString(QDateTime::currentDateTime(), QLocale::ShortFormat)));
    preview->ShowPreview(Q(files_.Path("doll.cnf")));
    EXPECT_EQ(preview->shown_thumbnail(), Q(files_.Path("doll.KTN")));
    EXPECT_EQ(preview->preview()->pixmap().size(), QSize(16, 12));
    // One made with larger settings is shown whole, at its own size.
    QImage large(100, 70, QImage::Format_RGB32);
    large.fill(Qt::blue);
    EXPECT_TRUE(large.save(Q(files_.Path("big.KTN")), "BMP"));
    preview->ShowPreview(Q(files_.Path("big.cnf")));
    EXPECT_EQ(preview->preview()->pixmap().size(), QSize(100, 70));
    EXPECT_EQ(preview->preview()->size(), QSize(100 + frame, 70 + frame));
    preview->ShowPreview(QString());
    preview->selectFile(Q(files_.Path("doll.cnf")));  // as a typed name
    EXPECT_EQ(preview->shown_thumbnail(), Q(files_.Path("doll.KTN")));
    preview->ShowPreview(Q(files_.Path("bad.cnf")));
    EXPECT_TRUE(preview->shown_thumbnail().isEmpty());
    EXPECT_EQ(preview->preview()->text(), "no preview");
    return Q(files_.Path("doll.cnf"));
  };
  frame_->RunCommand(kIdFileOpen);
  EXPECT_TRUE(previewed);
  ASSERT_NE(frame_->ActiveChild(), nullptr);

  // Without "Thumb Show" the dialog is the plain one.
  frame_->settings().thumb_show = false;
  previewed = false;
  bool asked = false;
  dialogs_.on_file = [&](QFileDialog& dialog) {
    asked = true;
    previewed = dynamic_cast<PreviewFileDialog*>(&dialog) != nullptr;
    return QString();
  };
  frame_->RunCommand(kIdFileOpen);
  EXPECT_TRUE(asked);
  EXPECT_FALSE(previewed);
}

}  // namespace
}  // namespace luma::app
