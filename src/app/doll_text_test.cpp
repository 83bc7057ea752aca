// Doll text on screen: Japanese (Shift-JIS) and accented (Windows-1252)
// dolls show their own words in message boxes, report and script windows,
// and follow a change of the "Text Encoding" setting.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTimer>

#include "app/child_frame.h"
#include "app/command_table.h"
#include "app/doll_view_widget.h"
#include "app/info_windows.h"
#include "app/main_frame.h"
#include "app/main_window_fixture.h"
#include "app/options_dialog.h"
#include "core/testing/doll_builder.h"

namespace luma::app {
namespace {

// Shift-JIS: a comment (日本語のドール), こんにちは, and ソフト whose second
// bytes are '\', 't' and 'g'.
const std::string kComment = "; \x93\xfa\x96\x7b\x8c\xea\x82\xcc\x83\x68\x81\x5b\x83\x8b\n";
const std::string kHello = "\x82\xb1\x82\xf1\x82\xc9\x82\xbf\x82\xcd";
const std::string kSoft = "\x83\x5c\x83\x74\x83\x67";

// a.cel (20 x 10) as object #0 at 10,10; pressing it writes a debug line.
std::string Cnf(const std::string& script) {
  return kComment + "(200,100)\n%colors.kcf\n#0 a.cel *0 :0\n#1 " + kSoft +
         ".cel *0 :0\n$0 10,10 0,0\n;@EventHandler\n" + script;
}

class DollTextWindowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    Write("colors.kcf", testing::TestKcf(16));
    Write("a.cel", testing::TestCel(20, 10, 4, 3));
    dialogs_.answer = Answer::kOk;
  }
};

TEST_F(DollTextWindowTest, AShiftJisNotifyShowsJapaneseInTheMessageBox) {
  Write("doll.cnf", Cnf(";@initialize() notify(\"" + kHello + "\")\n"));
  // The real message box, read while it is up, then closed.
  frame_->close();
  frame_ = std::make_unique<CMainFrame>(*store_, &audio_);
  frame_->show();
  QString shown;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    shown = box->text();
    box->accept();
  });
  poll.start();
  ASSERT_TRUE(frame_->OpenDocumentFile(PathOf("doll.cnf")));
  poll.stop();
  EXPECT_EQ(shown, QString::fromUtf8("こんにちは"));
}

TEST_F(DollTextWindowTest, ReportAndScriptWindowsFollowTheTextEncodingSetting) {
  Write("doll.cnf", Cnf(";@press(#0) debug(\"" + kHello + "\")\n"));
  ASSERT_TRUE(frame_->OpenDocumentFile(PathOf("doll.cnf")));
  Settle();
  CChildFrame* child = frame_->ActiveChild();
  ASSERT_NE(child, nullptr);
  InfoWindows& info = child->info_windows();
  frame_->RunCommand(kIdErrorReport);
  ASSERT_NE(info.error_report(), nullptr);
  EXPECT_TRUE(info.error_report()->errors()->toPlainText().contains(
      QString::fromUtf8("ソフト.cel file not found")))
      << info.error_report()->errors()->toPlainText().toStdString();

  frame_->RunCommand(kIdTraceFkiss);
  Click(child, 15, 12);
  ASSERT_NE(info.debug_window(), nullptr);
  EXPECT_EQ(info.debug_window()->edit()->toPlainText(), QString::fromUtf8("こんにちは"));
  EXPECT_TRUE(info.trace_window()->edit()->toPlainText().contains(
      QString::fromUtf8("debug(\"こんにちは\")")));

  // Read as Windows-1252 the same bytes are other characters, everywhere.
  Settings latin = frame_->settings();
  latin.text_encoding = static_cast<int>(TextEncoding::kWindows1252);
  frame_->ApplySettings(latin);
  const QString latin_hello = QString::fromUtf8(DecodeText(kHello, TextEncoding::kWindows1252));
  EXPECT_EQ(info.debug_window()->edit()->toPlainText(), latin_hello);
  EXPECT_FALSE(info.error_report()->errors()->toPlainText().contains(QString::fromUtf8("ソフト")));

  // Back to the automatic choice: the doll's own decision again.
  frame_->ApplySettings(Settings());
  EXPECT_EQ(info.debug_window()->edit()->toPlainText(), QString::fromUtf8("こんにちは"));
  EXPECT_TRUE(
      info.error_report()->errors()->toPlainText().contains(QString::fromUtf8("ソフト.cel")));
}

TEST_F(DollTextWindowTest, TheOptionsDialogChoosesTheTextEncoding) {
  Settings settings;
  OptionsDialog dialog(settings, false, frame_->host(), frame_.get());
  QComboBox* box = dialog.text_encoding_box();
  ASSERT_NE(box, nullptr);
  ASSERT_EQ(box->count(), 4);
  EXPECT_EQ(box->currentText(), "Automatic");
  EXPECT_EQ(box->itemText(1), "Japanese (Shift-JIS)");
  EXPECT_EQ(box->itemText(2), "Western (Windows-1252)");
  EXPECT_EQ(box->itemText(3), "Unicode (UTF-8)");
  box->setCurrentIndex(1);
  EXPECT_EQ(dialog.settings().text_encoding_choice(), TextEncoding::kShiftJis);
}

}  // namespace
}  // namespace luma::app
