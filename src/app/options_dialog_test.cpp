// The options dialog driven through the main window: values going back
// with OK, the page texts that follow their controls, the thumbnail folder,
// open dolls following changed settings, and the value pool lists.
#include "app/options_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTabWidget>
#include <QWheelEvent>

#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/doll_view_widget.h"
#include "app/main_frame.h"
#include "app/main_window_fixture.h"
#include "app/thumbnail_options_page.h"
#include "app/value_pools_page.h"
#include "core/pools/pool_directory.h"
#include "core/testing/doll_builder.h"

namespace luma::app {
namespace {

// The control of type T whose text is `text`; fails the test when the
// dialog has none or several.
template <typename T>
T* Control(QWidget* dialog, const QString& text) {
  T* found = nullptr;
  int count = 0;
  for (T* widget : dialog->findChildren<T*>()) {
    if (widget->text() == text) {
      found = widget;
      ++count;
    }
  }
  EXPECT_EQ(count, 1) << text.toStdString();
  return found;
}

class OptionsDialogTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    frame_->resize(800, 600);
  }
  void TearDown() override {
    QDir(PoolFolder()).removeRecursively();
    MainWindowTest::TearDown();
  }

  // Opens "Options" and lets `edit` work the pages; true from `edit` is OK.
  void RunOptions(std::function<bool(OptionsDialog&)> edit) {
    bool ran = false;
    dialogs_.on_options = [&](OptionsDialog& dialog) {
      ran = true;
      return edit(dialog);
    };
    frame_->RunCommand(kIdOptions);
    dialogs_.on_options = nullptr;
    EXPECT_TRUE(ran);
  }

  CChildFrame* OpenDoll() {
    Write("p.kcf", testing::TestKcf(16));
    Write("a.cel", testing::TestCel(8, 8, 4));
    Write("doll.cnf", "(300,200)\n%p.kcf\n#0 a.cel *0 :0\n$0 10,10\n");
    return OpenPath(PathOf("doll.cnf"));
  }
  QString PoolFolder() {
    return QFile::decodeName(QByteArray::fromStdString(PoolDirectory(frame_->host())));
  }

  std::vector<std::string>& said_ = dialogs_.said;
};

TEST_F(OptionsDialogTest, PagesStartFromTheSettingsAndOkTakesThemBackInRange) {
  Settings& settings = frame_->settings();
  settings.mouse_type = 2;
  settings.quick_timer = 99;  // set by hand beyond its range
  settings.pool_expire = 0;
  RunOptions([](OptionsDialog& dialog) {
    QTabWidget* tabs = dialog.tabs();
    EXPECT_EQ(tabs->count(), 7);
    EXPECT_EQ(tabs->tabText(3), "Shell()");
    EXPECT_EQ(tabs->tabText(5), "Value Pools");
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(Control<QRadioButton>(&dialog, "&Dot")->isChecked());
    EXPECT_TRUE(
        Control<QRadioButton>(&dialog, "&Visible (enforce visible boundaries)")->isChecked());

    Control<QRadioButton>(&dialog, "&None")->setChecked(true);
    Control<QRadioButton>(&dialog, "Always allow Shell()")->setChecked(true);
    Control<QCheckBox>(&dialog, "&Hide on Drag")->setChecked(true);
    Control<QCheckBox>(&dialog, "Show &Tips at Startup")->setChecked(false);
    // "...but only for LZH files" only means something with the box above it.
    QCheckBox* errors_lzh = Control<QCheckBox>(
        &dialog, "...&but only for LZH files.\nKeep showing warnings for uncompressed dolls");
    EXPECT_FALSE(errors_lzh->isEnabled());
    Control<QCheckBox>(&dialog, "Don't Display &Error Report if there are Warnings but no Errors")
        ->setChecked(true);
    EXPECT_TRUE(errors_lzh->isEnabled());

    // The Easy-Click label follows its slider.
    QSlider* easy = dialog.easy_click_slider();
    easy->setValue(0);
    EXPECT_EQ(dialog.easy_click_label()->text(), "Easy-Click: Off");
    easy->setValue(4);
    EXPECT_EQ(dialog.easy_click_label()->text(), "Easy-Click: 4 pixel radius");
    // So does the thumbnail size label, with page clicks of a tenth.
    ThumbnailOptionsPage* thumbs = dialog.thumbnail_page();
    thumbs->width_slider()->triggerAction(QAbstractSlider::SliderPageStepAdd);
    thumbs->height_slider()->setValue(200);
    EXPECT_EQ(thumbs->size_label()->text(), "83x200");
    return true;
  });
  EXPECT_EQ(settings.boundary_enforcement, 4);
  EXPECT_EQ(settings.shell_permission, 2);
  EXPECT_TRUE(settings.mouse_hide);
  EXPECT_FALSE(settings.show_tips);
  EXPECT_TRUE(settings.errors_only);
  EXPECT_EQ(settings.easy_click, 4);
  EXPECT_EQ(settings.thumb_width, 83);
  EXPECT_EQ(settings.thumb_height, 200);
  EXPECT_EQ(settings.quick_timer, 50);
  EXPECT_EQ(settings.pool_expire, 1);
  EXPECT_EQ(settings.mouse_type, 2) << "untouched values stay";

  // Closed without OK, edits are dropped.
  RunOptions([](OptionsDialog& dialog) {
    Control<QRadioButton>(&dialog, "&Normal")->setChecked(true);
    return false;
  });
  EXPECT_EQ(settings.mouse_type, 2);
}

TEST_F(OptionsDialogTest, ChoosingAThumbnailFolderTicksTheCentralFolderBox) {
  RunOptions([](OptionsDialog& dialog) {
    ThumbnailOptionsPage* page = dialog.thumbnail_page();
    QString asked;
    page->set_folder_hook([&](const QString& title, const QString&) {
      asked = title;
      return QString();
    });
    page->select_button()->click();
    EXPECT_EQ(asked, "Select Thumbnail Folder");
    EXPECT_FALSE(page->use_folder_box()->isChecked()) << "cancelled";

    page->set_folder_hook([](const QString&, const QString&) { return QString("/srv/thumbs"); });
    page->select_button()->click();
    EXPECT_TRUE(page->use_folder_box()->isChecked());
    EXPECT_EQ(page->folder_edit()->text(), "/srv/thumbs");
    return true;
  });
  EXPECT_TRUE(frame_->settings().thumb_use_directory);
  EXPECT_EQ(frame_->settings().thumb_directory, "/srv/thumbs");
}

TEST_F(OptionsDialogTest, AnOpenDollFollowsChangedMouseSettings) {
  CChildFrame* child = OpenDoll();
  ASSERT_NE(child, nullptr);
  CKissCnfView& view = child->view();
  QWidget* area = child->view_widget()->viewport();
  const auto wheel = [area] {
    QWheelEvent event(QPointF(5, 5), area->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(area, &event);
  };
  wheel();
  EXPECT_EQ(view.zoom_level(), -1) << "the wheel zooms at first";
  view.ZoomHome();

  RunOptions([](OptionsDialog& dialog) {
    Control<QRadioButton>(&dialog, "Mouse wheel &Scrolls, CTRL+wheel Zooms")->setChecked(true);
    Control<QRadioButton>(&dialog, "&Dot")->setChecked(true);
    dialog.easy_click_slider()->setValue(5);
    return true;
  });
  EXPECT_EQ(view.settings().easy_click, 5);
  EXPECT_EQ(view.pointer_cursor(), PointerCursor::kDot);
  wheel();
  EXPECT_EQ(view.zoom_level(), 0) << "now the wheel scrolls";
}

TEST_F(OptionsDialogTest, ThePoolPageListsStoredPoolsAndDeletesThem) {
  const QString folder = PoolFolder();
  ASSERT_FALSE(folder.isEmpty());
  for (const char* name : {"~doll~lzh~doll~cnf.pool", "scores.pool", "shared.pool"}) {
    QFile file(folder + '/' + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  RunOptions([this, &folder](OptionsDialog& dialog) {
    ValuePoolsPage* page = dialog.pool_page();
    QListWidget* shown = page->list(false);
    EXPECT_EQ(shown->count(), 2);
    EXPECT_EQ(page->list(true)->count(), 1);
    if (shown->count() != 2 || page->list(true)->count() != 1) return false;
    EXPECT_EQ(shown->item(0)->text(), "scores");
    EXPECT_EQ(page->list(true)->item(0)->text(), "doll.lzh.doll.cnf");
    EXPECT_TRUE(page->empty_text(false)->isHidden());

    shown->item(1)->setSelected(true);
    page->delete_button(false)->click();
    EXPECT_EQ(said_.back(), "Delete Public Value Pool: Delete the value pool \"shared\"?");
    EXPECT_FALSE(QFile::exists(folder + "/shared.pool"));
    EXPECT_TRUE(QFile::exists(folder + "/scores.pool"));
    EXPECT_EQ(shown->count(), 1);

    page->delete_all_button()->click();
    EXPECT_EQ(said_.back(),
              "Delete All Value Pools: 2 KiSS value pools for all known KiSS dolls have been "
              "deleted.");
    for (bool private_list : {false, true}) {
      EXPECT_TRUE(page->list(private_list)->isHidden());
      EXPECT_FALSE(page->empty_text(private_list)->isHidden());
    }
    EXPECT_EQ(page->empty_text(true)->text(),
              "There are no private value pools currently stored on this computer.");
    return true;
  });
  EXPECT_TRUE(QDir(folder).entryList({"*.pool"}, QDir::Files).isEmpty());
}

}  // namespace
}  // namespace luma::app
