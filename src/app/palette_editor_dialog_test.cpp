// The palette editor window of a doll: opened by its command, edited with
// its controls, applied to the doll, and saved when an archive is built.
#include "app/palette_editor_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>

#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/doll_view_widget.h"
#include "app/main_frame.h"
#include "app/main_window_fixture.h"
#include "core/testing/disk_doll.h"
#include "core/testing/doll_builder.h"
#include "core/testing/test_paths.h"

namespace luma::app {
namespace {

QString Q(const std::string& path) { return QString::fromStdString(path); }

class PaletteEditorWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    files_.Write("colors.kcf", testing::TestKcf(16));
    files_.Write("a.cel", testing::TestCel(20, 10, 4, 3));
    files_.Write("doll.cnf", "(60,40)\n%colors.kcf\n#0 a.cel *0 :0\n$0 10,10\n");
    // Saves the palettes, then stops before the CNF question goes on.
    dialogs_.answer_to = [](std::string_view caption) {
      return caption == "KCF Palette Modified" ? Answer::kYes : Answer::kCancel;
    };
    frame_->resize(800, 600);
    child_ = OpenShown(Q(files_.Path("doll.cnf")));
    ASSERT_NE(child_, nullptr);
    ASSERT_GT(child_->frames_presented(), 0);
  }

  QRgb ShownAt(int x, int y) {
    child_->view_widget()->viewport()->repaint();
    const ClientPoint p = child_->view().DollToScreen(PlayPoint{x, y});
    return child_->view_widget()->frame().pixel(p.x, p.y) & 0xFFFFFF;
  }
  void Type(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    emit edit->editingFinished();
  }

  testing::DiskDoll files_;
  CChildFrame* child_ = nullptr;
  std::vector<std::string>& said_ = dialogs_.said;
};

TEST_F(PaletteEditorWindowTest, EditingAColourRecoloursTheDollAndSavingClearsTheMark) {
  const QRgb before = ShownAt(12, 12);
  frame_->RunCommand(kIdPaletteEditor);
  PaletteEditorDialog* dialog = child_->palette_editor_dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_FALSE(dialog->isModal());
  EXPECT_EQ(dialog->windowTitle(), "Palette Editor for doll.cnf");
  EXPECT_EQ(dialog->kcf_box()->currentText(), "colors.kcf");
  EXPECT_EQ(dialog->slider(0)->singleStep(), 8);
  EXPECT_EQ(dialog->slider(3)->pageStep(), 32);

  // The lower-right cell of the 4 x 4 grid, then colour 3, the cel's.
  ColorGridWidget* grid = dialog->grid();
  const QPointF corner(grid->width() - 4, grid->height() - 4);
  QMouseEvent press(QEvent::MouseButtonPress, corner, grid->mapToGlobal(corner), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(grid, &press);
  EXPECT_EQ(dialog->index_button()->text(), "Color Index #15");
  child_->palette_editor()->SelectColor(3);
  dialog->Refresh();
  EXPECT_FALSE(dialog->reset_color_button()->isEnabled());

  // Typed values out of range are refused; a good one waits for Apply.
  const QString green = dialog->edit(1)->text();
  Type(dialog->edit(1), "300");
  EXPECT_EQ(dialog->edit(1)->text(), green);
  Type(dialog->edit(0), "255");
  EXPECT_EQ(dialog->slider(0)->value(), 255);
  EXPECT_TRUE(dialog->reset_color_button()->isEnabled());
  EXPECT_EQ(ShownAt(12, 12), before);
  dialog->apply_button()->click();
  const QRgb edited = ShownAt(12, 12);
  EXPECT_EQ(qRed(edited), 255);
  EXPECT_EQ(qGreen(edited), qGreen(before));

  // Immediately: the slider shows on the doll at once.
  dialog->immediate_box()->setChecked(true);
  dialog->slider(2)->setValue(0);
  EXPECT_EQ(qBlue(ShownAt(12, 12)), 0);
  EXPECT_TRUE(child_->palette_editor()->AnyModified());

  // Building an archive offers to save the palette first; the file then
  // holds the colour and the mark is gone.
  frame_->RunCommand(kIdBuildLzh);
  ASSERT_FALSE(said_.empty());
  EXPECT_EQ(said_.front(),
            "KCF Palette Modified: One or more KCF palettes have been modified. Do you wish to "
            "save these changes before building your LZH?");
  EXPECT_FALSE(child_->palette_editor()->AnyModified());
  const std::string saved = testing::ReadFile(files_.Path("colors.kcf"));
  ASSERT_EQ(saved.size(), 32u + 48u);
  EXPECT_EQ(static_cast<uint8_t>(saved[32 + 9]), 255);  // colour 3, red
  EXPECT_EQ(static_cast<uint8_t>(saved[32 + 11]), 0);   // and blue

  // Cancel keeps what was applied; closing the doll closes the window.
  dialog->reject();
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(qRed(ShownAt(12, 12)), 255);
  frame_->RunCommand(kIdPaletteEditor);
  EXPECT_TRUE(dialog->isVisible());
  child_->close();
  QApplication::processEvents();
  EXPECT_EQ(frame_->ActiveChild(), nullptr);
  EXPECT_TRUE(frame_->findChildren<PaletteEditorDialog*>().isEmpty());
}

}  // namespace
}  // namespace luma::app
